#!/usr/bin/python3
"""A stand-in for the mutant runner: what each mutant does to each scenario
comes from the plan in $STAND_IN_PLAN ({"ID": {"NAME.scn": "fail" | "crash" |
"hang"}}); every file run is logged as "ID NAME" to $STAND_IN_LOG."""

import json
import os
import sys
import time

mutant = os.environ["TRELVIK_MUTANT"]
plan = json.load(open(os.environ["STAND_IN_PLAN"])).get(mutant, {})
code = 0
for path in sys.argv[1 : sys.argv.index("--quiet")]:
    scenario = os.path.basename(path)
    with open(os.environ["STAND_IN_LOG"], "a") as log:
        log.write(f"{mutant} {scenario}\n")
    action = plan.get(scenario)
    if action == "fail":
        print(f"{path}:3: 40 ms: FAILED: expect lamp red on; seen off")
        code = 1
    elif action == "crash":
        os.abort()
    elif action == "hang":
        time.sleep(60)
sys.exit(code)
