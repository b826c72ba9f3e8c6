#!/usr/bin/python3
"""A stand-in for the mutant runner: what each mutant does to each scenario
comes from the plan in $STAND_IN_PLAN ({"ID": {"NAME.scn": "fail" | "crash" |
"hang"}}); every run is logged as "ID NAME" to $STAND_IN_LOG."""

import json
import os
import sys
import time

mutant = os.environ["TRELVIK_MUTANT"]
scenario = os.path.basename(sys.argv[1])
with open(os.environ["STAND_IN_LOG"], "a") as log:
    log.write(f"{mutant} {scenario}\n")
action = json.load(open(os.environ["STAND_IN_PLAN"])).get(mutant, {}).get(scenario)
if action == "fail":
    print(f"{scenario}:3: expected lamp red on, was off")
    sys.exit(1)
if action == "crash":
    os.abort()
if action == "hang":
    time.sleep(60)
