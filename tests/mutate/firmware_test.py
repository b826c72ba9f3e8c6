"""trelvik-mutate on the firmware itself, one line only (--only): the beeper's
step that sounds (`code == STEP_BEEP`) turned round sounds half a period late.
The drawer alarm's count of beeps over 18 s misses that; its line that wants
the first beep at once kills it. Needs the default build's mutant runner and
the coverage build (scripts/coverage.sh builds what is missing). And the
known equivalents still name mutants of the build."""

import json
import os
import subprocess
import sys

import jsonschema

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
ALARM = os.path.join(SOURCE, "scenario/examples/drawer_alarm.scn")
BEEP_LINE = "firmware/fw_timers.cpp:62"
KILLING_LINE = "# the alarm sounds at once"


def mutate(tmp_path, scenario):
    out = tmp_path / (os.path.basename(scenario) + ".json")
    done = subprocess.run([os.path.join(SOURCE, "scripts/mutate.py"), scenario, "--only", BEEP_LINE,
                           "--report-json", str(out)], capture_output=True, text=True, cwd=tmp_path)
    assert done.returncode == 0, done.stderr
    report = json.load(open(out))
    jsonschema.validate(report, json.load(open(os.path.join(HERE, "mutation-testing-report-schema.json"))))
    return report["files"]["firmware/fw_timers.cpp"]["mutants"], done.stdout


def test_a_survivor_killed_by_the_line_made_for_it(tmp_path):
    with open(ALARM, encoding="utf-8") as f:
        lines = f.read().splitlines(keepends=True)
    assert any(KILLING_LINE in line for line in lines)
    loose = tmp_path / "drawer_alarm_loose.scn"
    loose.write_text("".join(line for line in lines if KILLING_LINE not in line), encoding="utf-8")

    before, text = mutate(tmp_path, str(loose))
    assert [(m["replacement"], m["status"]) for m in before] == [("code != STEP_BEEP", "Survived")]
    assert "-     if (code == STEP_BEEP)\n    +     if (code != STEP_BEEP)" in text
    assert f"reached by {loose}" in text

    after, _ = mutate(tmp_path, ALARM)
    assert [m["status"] for m in after] == ["Killed"]
    assert after[0]["killedBy"] == [ALARM] and "expect beeps 1; seen 0" in after[0]["statusReason"]


def test_the_known_equivalents_name_built_mutants():
    """mutate/equivalents.txt goes stale when the firmware moves: each line must
    still name a mutant the build switches (the hunt refuses one it does not)."""
    sys.path.insert(0, os.path.join(SOURCE, "mutate"))
    import driver
    listing = json.load(open(os.path.join(SOURCE, "build/default/mutate/schemata/mutants.json")))["mutants"]
    named = driver.read_equivalents(os.path.join(SOURCE, "mutate/equivalents.txt"), listing)
    built = {m["id"] for m in listing if "not_built" not in m}
    assert named and set(named) <= built
