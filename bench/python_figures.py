#!/usr/bin/python3
"""The two figures of the Python module against the runner, in one process
(no interpreter start-up counted), alternating runs, medians:

  1. the whole cycle of scenario/examples/whole_cycle.scn driven from Python
     (click, wait, expect and run_until per phase) against the runner playing
     the same file (without its closing snapshot) through run_scenario;
  2. 20,000 calls of m.wait(1) against the runner playing 20,000 'wait 1' steps.

    PYTHONPATH=build/default/python /usr/bin/python3 bench/python_figures.py [RUNS]
"""

import os
import re
import statistics
import sys
import tempfile
import time

import trelvik

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
RUNS = int(sys.argv[1]) if len(sys.argv) > 1 else 7


def cycle_lines():
    with open(os.path.join(SOURCE, "scenario/examples/whole_cycle.scn"), encoding="utf-8") as f:
        lines = [re.sub(r"\s+#.*", "", line).strip() for line in f]
    return [line for line in lines if line and not line.startswith(("#", "snapshot"))]


def drive_from_python(m, lines):
    """The scenario's steps as the module's calls."""
    for line in lines:
        word, _, rest = line.partition(" ")
        if word == "wait":
            m.wait(int(rest))
        elif word == "click":
            m.click(rest)
        elif word == "expect":
            m.expect(rest)
        elif word == "run-until":
            condition, _, within = rest.rpartition(" within ")
            m.run_until(condition, within=int(within))
        else:
            raise ValueError(line)


def timed(action):
    start = time.perf_counter()
    action()
    return time.perf_counter() - start


def waits_from_python():
    m = trelvik.Machine()
    for _ in range(20000):
        m.wait(1)
    m.close()


def cycle_from_python(lines):
    m = trelvik.Machine()
    drive_from_python(m, lines)
    m.close()


def runner(path):
    result = trelvik.run_scenario(path)
    assert result["code"] == 0, result


def figure(name, python, scenario, bar):
    python_s, runner_s = [], []
    for _ in range(RUNS):
        python_s.append(timed(python))
        runner_s.append(timed(scenario))
    p, r = statistics.median(python_s), statistics.median(runner_s)
    print(f"{name}: Python {p * 1000:.1f} ms, runner {r * 1000:.1f} ms, ratio {p / r:.2f} (bar {bar})")


def main():
    lines = cycle_lines()
    with tempfile.TemporaryDirectory() as folder:
        cycle = os.path.join(folder, "whole_cycle.scn")
        with open(cycle, "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")
        waits = os.path.join(folder, "waits.scn")
        with open(waits, "w", encoding="utf-8") as f:
            f.write("wait 1\n" * 20000)
        print(f"{os.uname().nodename}, {os.cpu_count()} cores, {RUNS} runs each, medians")
        figure("whole cycle by run_until", lambda: cycle_from_python(lines), lambda: runner(cycle), "1.5")
        figure("20,000 x wait(1)", waits_from_python, lambda: runner(waits), "2")


if __name__ == "__main__":
    main()
