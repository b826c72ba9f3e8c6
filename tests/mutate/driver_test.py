"""trelvik-mutate against a stand-in runner: the selection by the line map,
the first kill ending a mutant, timeouts and crashes counted as killed, the
scores, the JSON against the report schema, shards merged, bad input."""

import json
import os
import subprocess
import sys

import jsonschema
import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
FIXTURE = "tests/mutate/fixture.cpp"
# id, fixture line, what it does (the runner's plan), lines the map lists it under
MUTANTS = [
    (1, 17, {"a.scn": "fail", "b.scn": "fail"}, ["a.scn", "b.scn"]),
    (2, 18, {"b.scn": "crash"}, ["b.scn"]),
    (3, 19, {"a.scn": "hang"}, ["a.scn"]),
    (4, 22, {}, ["a.scn", "b.scn"]),
    (5, 28, {}, []),
    (6, 27, {}, ["a.scn"]),  # not built
    (7, 30, {}, ["a.scn"]),  # equivalent
    (8, 31, {"c.scn": "fail"}, None),  # a line the map does not know: every scenario
]
EXPECTED = {"1": ("Killed", ["a.scn or b.scn"]), "2": ("Killed", ["b.scn"]), "3": ("Timeout", ["a.scn"]),
            "4": ("Survived", None), "5": ("NoCoverage", None), "6": ("CompileError", None),
            "7": ("Ignored", None), "8": ("Killed", ["c.scn"])}


@pytest.fixture
def world(tmp_path):
    suite = tmp_path / "suite"
    suite.mkdir()
    for name in ("a.scn", "b.scn", "c.scn"):
        (suite / name).write_text("wait 10\n")
    listing = []
    for mid, line, _, _ in MUTANTS:
        entry = {"id": mid, "file": FIXTURE, "line": line, "column": 5, "end_line": line, "end_column": 9,
                 "operator": "IntegerLiteral", "replacement": "0", "before": ["old"], "after": ["new"]}
        if mid == 6:
            entry["not_built"] = "a case label must be a constant expression"
        listing.append(entry)
    (tmp_path / "mutants.json").write_text(json.dumps({"root": SOURCE, "mutants": listing}))
    line_map = {f"{FIXTURE}:{line}": [str(suite / s) for s in reached]
                for _, line, _, reached in MUTANTS if reached is not None}
    (tmp_path / "lines.json").write_text(json.dumps(line_map))
    (tmp_path / "plan.json").write_text(json.dumps({str(m): plan for m, _, plan, _ in MUTANTS}))
    (tmp_path / "equivalents.txt").write_text(f"# known\n{FIXTURE}:30:5 | 0 | the lamp is lit again before it is read\n")
    return tmp_path


def mutate(world, *args):
    env = dict(os.environ, STAND_IN_PLAN=str(world / "plan.json"), STAND_IN_LOG=str(world / "log.txt"))
    command = [os.path.join(SOURCE, "scripts/mutate.py"), "--runner", os.path.join(HERE, "stand_in_runner.py"),
               "--mutants", str(world / "mutants.json"), "--line-map", str(world / "lines.json"),
               "--equivalents", str(world / "equivalents.txt"), *args]
    return subprocess.run(command, capture_output=True, text=True, env=env, cwd=world)


def statuses(report):
    """Each mutant's status and killers; mutant 1 dies in whichever of a and b ran first."""
    found = {m["id"]: (m["status"], [os.path.basename(k) for k in m["killedBy"]] if "killedBy" in m else None)
             for f in report["files"].values() for m in f["mutants"]}
    if found["1"][1] in (["a.scn"], ["b.scn"]):
        found["1"] = ("Killed", ["a.scn or b.scn"])
    return found


def test_a_whole_run_and_its_shards(world):
    done = mutate(world, "suite", "--jobs", "2", "--report-json", "report.json", "--fail-under-score", "90")
    assert done.returncode == 1, done.stderr
    report = json.load(open(world / "report.json"))
    jsonschema.validate(report, json.load(open(os.path.join(HERE, "mutation-testing-report-schema.json"))))
    assert statuses(report) == EXPECTED
    crash = next(m for m in report["files"][FIXTURE]["mutants"] if m["id"] == "2")
    assert crash["statusReason"].startswith("crashed: SIGABRT")
    assert "killed 4 (timeouts 1, crashes 1), survived 1, no coverage 1" in done.stdout
    assert "score killed/(killed+survived): 80.0 %" in done.stdout
    assert "Stryker score detected/valid, no coverage counted: 66.7 %" in done.stdout
    assert f"{FIXTURE}:22:5: IntegerLiteral #4, reached by suite/a.scn, suite/b.scn\n    - old\n    + new" in done.stdout
    runs = {}
    for line in open(world / "log.txt").read().splitlines():
        mutant, scenario = line.split()
        runs.setdefault(mutant, []).append(scenario)
    # Only the files that executed a mutant's line run, the quickest alone
    # first; a kill there ends the mutant.
    assert len(runs["1"]) == 1 and "c.scn" in runs["8"], runs
    assert {k: sorted(v) for k, v in runs.items() if k in "234567"} == {"2": ["b.scn"], "3": ["a.scn"],
                                                                         "4": ["a.scn", "b.scn"]}

    for k in ("1", "2"):
        assert mutate(world, "suite", "--shard", f"{k}/2", "--report-json", f"shard{k}.json").returncode == 0
    assert mutate(world, "--merge", "shard2.json", "--report-json", "merged.json").returncode == 2
    merged = mutate(world, "--merge", "shard1.json", "shard2.json", "--report-json", "merged.json")
    assert merged.returncode == 0 and merged.stdout == done.stdout
    assert statuses(json.load(open(world / "merged.json"))) == EXPECTED


@pytest.mark.parametrize("args, message", [
    (["suite", "--only", f"{FIXTURE}:99"], f"--only {FIXTURE}:99: no mutant on this line"),
    (["suite", "--report-json", "suite"], "suite: exists and is not a regular file"),
    (["missing.scn"], "missing.scn: No such file or directory"),
    (["suite", "--shard", "3/2"], "--shard 3/2: K must be 1 to N"),
])
def test_bad_input_exits_2(world, args, message):
    done = mutate(world, *args)
    assert done.returncode == 2 and message in done.stderr, done.stderr


def test_an_equivalent_that_is_no_mutant(world):
    (world / "equivalents.txt").write_text(f"{FIXTURE}:30:5 | 7 | no such mutant\n")
    done = mutate(world, "suite")
    assert done.returncode == 2 and "equivalents.txt:1: no mutant '7' at" in done.stderr, done.stderr


@pytest.mark.parametrize("line, found", [
    ("f.cpp:3:9 | a || b | the loop reads both alike", {1: "the loop reads both alike"}),
    ("f.cpp:3:9|a || b|x", {1: "x"}),
    ("f.cpp:3:9 | a || b |", "not FILE:LINE:COLUMN | REPLACEMENT | REASON"),
    ("f.cpp:3:9 | a && b | x", "no mutant 'a && b' at f.cpp:3:9"),
])
def test_an_equivalent_replacement_may_hold_a_bar(tmp_path, line, found):
    sys.path.insert(0, os.path.join(SOURCE, "mutate"))
    import driver
    (tmp_path / "eq.txt").write_text(line + "\n")
    listing = [{"id": 1, "file": "f.cpp", "line": 3, "column": 9, "replacement": "a || b"}]
    if isinstance(found, dict):
        assert driver.read_equivalents(str(tmp_path / "eq.txt"), listing) == found
    else:
        with pytest.raises(driver.CUsageError, match=f"eq.txt:1: {found}".replace("|", "\\|")):
            driver.read_equivalents(str(tmp_path / "eq.txt"), listing)
