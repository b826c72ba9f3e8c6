#!/usr/bin/python3
"""chaos.py RUNNER SECONDS: runs a batch with --jobs 2 again and again for
SECONDS, each time in a process group of its own, with this process as the
subreaper of its workers, and at a random moment sends one of: SIGKILL to a
random worker; SIGINT, SIGTERM, SIGHUP or SIGQUIT to the group; SIGKILL to
the parent. For every signal sent before the closing line:
- the exit code is not 0;
- no process of the run is alive 10 s later, and no temporary file is left;
- unless the parent was killed, every file ends in the log with exactly one
  of its last verdict, "interrupted" or "worker died (signal N)", and the
  JUnit report parses, holds every file, and its counts equal its elements.
"""
import ctypes
import os
import random
import re
import resource
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

PR_SET_CHILD_SUBREAPER = 36
POWER_ON = "wait 50\nclick power\nrun-until state 3 within 1000\n"
# name: (text, the line of its last verdict)
FILES = {
    "a.scn": (POWER_ON + "expect state 3\n", 4),
    "b.scn": (POWER_ON + "expect state 7\n", 4),
    "c.scn": (POWER_ON + "wait 3000000\nexpect state 3\n", 5),
    "d.scn": (POWER_ON + "expect state 3\n", 4),
    "e.scn": (POWER_ON + "wait 2000000\nexpect state 7\n", 5),
    "f.scn": (POWER_ON + "expect state 3\n", 4),
}
SIGNALS = ["worker KILL", "INT", "TERM", "HUP", "QUIT", "parent KILL"]


class Failure(Exception):
    pass


def reap_orphans():
    """Workers of a killed parent are handed to this process, the subreaper."""
    try:
        while os.waitpid(-1, os.WNOHANG)[0] > 0:
            pass
    except ChildProcessError:
        pass


def group_alive(group):
    reap_orphans()
    try:
        os.killpg(group, 0)
        return True
    except ProcessLookupError:
        return False


def workers_of(parent):
    found = []
    for entry in os.listdir("/proc"):
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            if entry.isdigit() and int(fields[1]) == parent:
                found.append(int(entry))
        except (OSError, IndexError):
            pass
    return found


def check_log(log):
    for name, (_, last) in FILES.items():
        ends = [
            re.search(rf"^{re.escape(name)}:{last}: \d+ ms: (ok|FAILED)", log, re.M),
            re.search(rf"^{re.escape(name)}(:\d+)?: interrupted", log, re.M),
            re.search(rf"^{re.escape(name)}: worker died \(signal \d+\)$", log, re.M),
        ]
        if sum(end is not None for end in ends) != 1:
            raise Failure(f"{name} does not end with exactly one result")


def check_junit(path):
    root = ElementTree.parse(path).getroot()
    suites = root.findall("testsuite")
    if sorted(suite.get("name") for suite in suites) != sorted(FILES):
        raise Failure("the report does not hold every file")
    for element in [root] + suites:
        for count, tag in (("tests", "testcase"), ("failures", "failure"), ("errors", "error")):
            if int(element.get(count)) != len(element.findall(f".//{tag}")):
                raise Failure(f"the report's {count} of {element.get('name')} differ from its elements")


def one_run(runner, work, rng):
    for name, (text, _) in FILES.items():
        with open(os.path.join(work, name), "w") as out:
            out.write(text)
    action = rng.choice(SIGNALS)

    def own_group():
        os.setpgrp()
        resource.setrlimit(resource.RLIMIT_CORE, (0, 0))  # SIGQUIT dumps no core
        for sig in (signal.SIGINT, signal.SIGQUIT):
            signal.signal(sig, signal.SIG_DFL)

    with open(os.path.join(work, "log"), "w") as log:
        runner_process = subprocess.Popen(
            [runner, *FILES, "--jobs", "2", "--junit", "r.xml", "--vcd-dir", "vd"],
            cwd=work, stdout=log, stderr=subprocess.STDOUT, preexec_fn=own_group)
    group = runner_process.pid
    # The moment is taken once the files are being run: the folder of traces is there.
    while not os.path.isdir(os.path.join(work, "vd")) and runner_process.poll() is None:
        time.sleep(0.005)
    time.sleep(rng.uniform(0, 1.5))
    with open(os.path.join(work, "log")) as log:
        before_closing = runner_process.poll() is None and not re.search(r"^\d+ passed", log.read(), re.M)
    try:
        if action == "worker KILL":
            workers = workers_of(group)
            before_closing = before_closing and bool(workers)
            if workers:
                os.kill(rng.choice(workers), signal.SIGKILL)
        elif action == "parent KILL":
            runner_process.kill()
        else:
            os.killpg(group, getattr(signal, "SIG" + action))
    except ProcessLookupError:
        before_closing = False  # the run had ended
    try:
        code = runner_process.wait(timeout=60)
    except subprocess.TimeoutExpired:
        raise Failure(f"{action}: the run did not end within 60 s")
    if not before_closing:
        return None
    deadline = time.monotonic() + 10
    while group_alive(group) and time.monotonic() < deadline:
        time.sleep(0.05)
    if group_alive(group):
        raise Failure(f"{action}: a process of the run is alive 10 s later")
    if code == 0:
        raise Failure(f"{action}: exit 0")
    left = [name for _, _, names in os.walk(work) for name in names if name.endswith(".part")]
    if left:
        raise Failure(f"{action}: temporary files left: {left}")
    if action != "parent KILL":
        with open(os.path.join(work, "log")) as log:
            check_log(log.read())
        check_junit(os.path.join(work, "r.xml"))
    return action


def main():
    runner, seconds = os.path.abspath(sys.argv[1]), float(sys.argv[2])
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        print("cannot become a subreaper")
        return 1
    os.environ["QT_QPA_PLATFORM"] = "offscreen"
    seed = int(os.environ.get("CHAOS_SEED", time.time_ns()))
    rng = random.Random(seed)
    checked = {action: 0 for action in SIGNALS}
    runs = 0
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        with tempfile.TemporaryDirectory() as work:
            try:
                action = one_run(runner, work, rng)
            except Failure as failure:
                print(f"FAILED (CHAOS_SEED={seed}, run {runs + 1}): {failure}")
                with open(os.path.join(work, "log")) as log:
                    print(log.read())
                return 1
        runs += 1
        if action:
            checked[action] += 1
    print(f"{runs} runs (CHAOS_SEED={seed}); checked: " +
          ", ".join(f"{action} {count}" for action, count in checked.items()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
