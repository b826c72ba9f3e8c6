"""Running mutants: each in fresh processes of the mutant runner, only the
scenarios that reached its line, stopping at the first that kills it."""

import os
import signal
import subprocess
import tempfile
import time

MIN_TIMEOUT_S = 2.0
TIMEOUT_FACTOR = 3.0


class CRunError(Exception):
    pass


class CScenarioRunner:
    """Runs one scenario file under one mutant in a process group of its own."""

    def __init__(self, program):
        self.m_program = program
        self.m_live = set()  # process groups still running, ended on interruption

    def run(self, mutant_id, scenario, timeout):
        env = dict(os.environ, TRELVIK_MUTANT=str(mutant_id), QT_QPA_PLATFORM="offscreen")
        with tempfile.TemporaryDirectory(prefix="trelvik-mutate.") as scratch:
            start = time.monotonic()
            proc = subprocess.Popen([self.m_program, os.path.abspath(scenario), "--quiet", "--snapshot-dir", scratch],
                                    cwd=scratch, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                    stderr=subprocess.STDOUT, start_new_session=True)
            self.m_live.add(proc.pid)
            try:
                output, _ = proc.communicate(timeout=timeout)
            except subprocess.TimeoutExpired:
                self._end(proc)
                return "timeout", time.monotonic() - start, f"no end within {timeout:.1f} s"
            finally:
                self.m_live.discard(proc.pid)
            elapsed = time.monotonic() - start
        text = output.decode(errors="replace").strip()
        if proc.returncode == 0:
            return "passed", elapsed, ""
        if proc.returncode == 1:
            return "failed", elapsed, _first_lines(text)
        if proc.returncode < 0:
            name = signal.Signals(-proc.returncode).name
            return "crash", elapsed, f"crashed: {name}" + (f": {_first_lines(text)}" if text else "")
        return "crash", elapsed, f"crashed: exit {proc.returncode}" + (f": {_first_lines(text)}" if text else "")

    def _end(self, proc):
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.communicate()

    def end_all(self):
        for pid in list(self.m_live):
            try:
                os.killpg(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass


def _first_lines(text, count=3):
    return " / ".join(text.splitlines()[:count])


def baseline(runner, scenarios):
    """Each scenario's wall time on the firmware as written; every one must pass."""
    times = {}
    for scenario in scenarios:
        outcome, elapsed, reason = runner.run(0, scenario, 600)
        if outcome != "passed":
            raise CRunError(f"{scenario}: fails on the firmware as written ({outcome}: {reason})")
        times[scenario] = elapsed
    return times


def timeout_of(normal):
    return max(MIN_TIMEOUT_S, TIMEOUT_FACTOR * normal)


def test_mutant(runner, mutant, scenarios, times):
    """The result of one mutant against the scenarios that reached its line."""
    result = {"coveredBy": scenarios, "testsCompleted": 0, "duration": 0.0}
    if not scenarios:
        result["status"] = "NoCoverage"
        return result
    # The quickest first: a kill ends the mutant, so the likely kill comes cheapest.
    for scenario in sorted(scenarios, key=lambda s: times[s]):
        outcome, elapsed, reason = runner.run(mutant["id"], scenario, timeout_of(times[scenario]))
        result["testsCompleted"] += 1
        result["duration"] += elapsed * 1000.0
        if outcome == "passed":
            continue
        result["killedBy"] = [scenario]
        result["status"] = "Timeout" if outcome == "timeout" else "Killed"
        result["statusReason"] = f"{reason} ({scenario})"
        return result
    result["status"] = "Survived"
    return result


def reaching(line_map, mutant, scenarios):
    """The scenarios that executed the mutant's line, in the suite's order. A
    line the map does not know (a table initialised before main) runs them all."""
    key = f"{mutant['file']}:{mutant['line']}"
    if key not in line_map:
        return list(scenarios)
    reached = set(os.path.realpath(s) for s in line_map[key])
    return [s for s in scenarios if os.path.realpath(s) in reached]
