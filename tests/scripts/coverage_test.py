#!/usr/bin/python3
"""coverage_test.py SOURCE_DIR PLAIN_RUNNER: scripts/coverage.sh end to end on
a short suite (the power key alone, and a whole cycle), which also keeps the
coverage preset building. PLAIN_RUNNER is the default build's runner, which
must carry no coverage counters."""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SOURCE, PLAIN_RUNNER = sys.argv[1], sys.argv[2]
SCRIPT = os.path.join(SOURCE, "scripts/coverage.sh")
POWER_KEY = os.path.join(SOURCE, "tests/scripts/power_key.scn")
CYCLE = os.path.join(SOURCE, "scenario/examples/whole_cycle.scn")
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAILED: " + what)


def run(*args, env=None):
    done = subprocess.run([SCRIPT, *args], capture_output=True, text=True, env=env)
    return done.returncode, done.stdout, done.stderr


def line_of(file, text, after=None):
    """The firmware line holding `text` (the first after the line holding `after`)."""
    with open(os.path.join(SOURCE, file), encoding="utf-8") as f:
        lines = f.read().splitlines()
    start = next(i for i, l in enumerate(lines) if after in l) if after else 0
    return "%s:%d" % (file, next(i for i in range(start, len(lines)) if text in lines[i]) + 1)


def counts(report):
    """Every firmware line's count and branch counts, from gcovr's JSON."""
    with open(report, encoding="utf-8") as f:
        files = json.load(f)["files"]
    return {(e["file"], l["line_number"]): (l["count"], [b["count"] for b in l["branches"]])
            for e in files for l in e["lines"]}


def whole_process_counts(runner_build, jobs, scratch):
    """The runner's counts written by the process and its workers at their exit, no file apart."""
    prefix = os.path.join(scratch, "whole-%d" % jobs)
    strip = os.path.realpath(runner_build).count("/")
    env = dict(os.environ, GCOV_PREFIX=prefix, GCOV_PREFIX_STRIP=str(strip), QT_QPA_PLATFORM="offscreen")
    subprocess.run([os.path.join(runner_build, "scenario/trelvik-scenario"), POWER_KEY, CYCLE, "--quiet",
                    "--jobs", str(jobs)], env=env, check=True, capture_output=True)
    for folder, _, names in os.walk(os.path.join(runner_build, "CMakeFiles")):
        for name in names:
            if name.endswith(".gcno"):
                target = os.path.join(prefix, os.path.relpath(folder, runner_build))
                os.makedirs(target, exist_ok=True)
                shutil.copy(os.path.join(folder, name), target)
    report = os.path.join(scratch, "whole-%d.json" % jobs)
    subprocess.run(["gcovr", "--root", SOURCE, "--filter", os.path.join(SOURCE, "firmware/"), "--json", report,
                    prefix], check=True, capture_output=True)
    return counts(report)


def main():
    scratch = tempfile.mkdtemp()
    serial, parallel = os.path.join(scratch, "serial"), os.path.join(scratch, "parallel")

    code, out, err = run("--jobs", "1", "--out", serial, POWER_KEY, CYCLE)
    check(code == 0, "the short suite exits 0, not %d: %s" % (code, err))
    summary = re.search(r"^firmware: lines (\d+)/(\d+), branches (\d+)/(\d+); states (\d+)/10, transitions \d+/27, "
                        r"timers \d+/11, travel outcomes \d/3$", out, re.M)
    check(summary is not None, "the summary line is printed: " + out)
    check(re.search(r"^most lines never executed:\n(  .*\n){5}", out, re.M) is not None,
          "five functions with lines never executed follow it: " + out)
    for name in ("html/index.html", "cobertura.xml", "firmware.info", "lines.json", "summary.txt"):
        check(os.path.getsize(os.path.join(serial, name)) > 0, name + " is written")
    check(len([n for n in os.listdir(os.path.join(serial, "html")) if "fw_cycle.cpp" in n]) == 1,
          "the HTML has a page of fw_cycle.cpp's lines")

    # The line map, not the totals: the power key alone waits for the key in
    # power-off and never comes to the drying loop, which the cycle does.
    with open(os.path.join(serial, "lines.json"), encoding="utf-8") as f:
        reached = json.load(f)
    power_off = line_of("firmware/fw_idle_states.cpp", "MASK_POWER_KEY) && last_event == EV_POWER_KEY",
                        after="void state_power_off()")
    drying = line_of("firmware/fw_cycle.cpp", "heater_reading > DRY_END_READING", after="void state_drying()")
    check(reached.get(power_off) == [POWER_KEY, CYCLE], "%s is reached by both: %s" % (power_off, reached.get(power_off)))
    check(reached.get(drying) == [CYCLE], "%s is reached by the cycle alone: %s" % (drying, reached.get(drying)))
    for where, code_wanted, text in ((power_off, 0, POWER_KEY), (drying, 0, CYCLE)):
        code, out_line, _ = run("--out", serial, "--line", where)
        check(code == code_wanted and text in out_line, "--line %s prints %s" % (where, text))

    # The Cobertura report reads as XML and says the summary's line rate.
    rate = float(ET.parse(os.path.join(serial, "cobertura.xml")).getroot().get("line-rate"))
    if summary:
        lines_covered, lines = int(summary.group(1)), int(summary.group(2))
        check(abs(rate - lines_covered / lines) < 5e-5, "Cobertura's line-rate %s is %d/%d" % (rate, lines_covered, lines))
    with open(os.path.join(serial, "firmware.info"), encoding="utf-8") as f:
        check("SF:%s/firmware/fw_cycle.cpp" % SOURCE in f.read(), "the lcov tracefile holds fw_cycle.cpp")

    # Two workers count what one process does, file by file and in all.
    code, _, err = run("--jobs", "2", "--out", parallel, POWER_KEY, CYCLE)
    check(code == 0, "the run with two workers exits 0: " + err)
    check(counts(os.path.join(serial, "firmware.json")) == counts(os.path.join(parallel, "firmware.json")),
          "--jobs 1 and --jobs 2 give the same counts")
    with open(os.path.join(parallel, "lines.json"), encoding="utf-8") as f:
        check(json.load(f) == reached, "--jobs 1 and --jobs 2 give the same line map")
    # Without files apart, each worker writes its counts at its exit. The
    # watch table (fw_watch.cpp) is left out: the runner's own bookkeeping
    # reads it too, once more per file with workers (each file's result is
    # encoded in its worker and decoded here).
    build = os.path.join(SOURCE, "build/coverage")
    one, two = (whole_process_counts(build, jobs, scratch) for jobs in (1, 2))
    one, two = ({where: n for where, n in counted.items() if where[0] != "firmware/fw_watch.cpp"} for counted in (one, two))
    check(one == two and any(count for count, _ in one.values()),
          "without files apart, two workers write at their exit what one process writes")

    # Bad input: exit 2 and the reason, nothing run.
    for args, reason in ((["--out", serial, "missing.scn"], "missing.scn: No such file or directory"),
                         (["--out", serial, "--line", "firmware/nope.cpp:3"], "not a firmware file of the last run"),
                         (["--out", serial, "--line", "firmware/fw_cycle.cpp:1"], "no code on this line"),
                         (["--out", serial, "--line", "fw_cycle.cpp"], "is not FILE:LINE"),
                         (["--out", scratch, "--line", drying], "no line map"),
                         (["--frob"], "unknown option '--frob'")):
        code, _, err = run(*args)
        check(code == 2 and reason in err, "%s exits 2 with '%s': %d %s" % (args, reason, code, err))

    # The shipped programs count nothing.
    symbols = subprocess.run(["nm", PLAIN_RUNNER], capture_output=True, text=True, check=True).stdout
    check("__gcov_dump" not in symbols, "the default build's runner has no coverage counters")

    shutil.rmtree(scratch)
    print("%d failed" % len(failures) if failures else "all coverage checks held")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
