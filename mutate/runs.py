"""Running mutants: each in fresh processes of the mutant runner, only the
scenarios that reached its line, until one of them kills it."""

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
        self.m_stopped = False

    def run(self, mutant_id, scenarios, timeout):
        """Runs the files in one process, one after the other: (outcome, wall
        seconds, reason, the first file that failed)."""
        env = dict(os.environ, TRELVIK_MUTANT=str(mutant_id), QT_QPA_PLATFORM="offscreen")
        paths = [os.path.abspath(s) for s in scenarios]
        if self.m_stopped:
            raise CRunError("stopped")
        with tempfile.TemporaryDirectory(prefix="trelvik-mutate.") as scratch:
            start = time.monotonic()
            proc = subprocess.Popen([self.m_program, *paths, "--quiet", "--jobs", "1", "--snapshot-dir", scratch],
                                    cwd=scratch, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                    stderr=subprocess.STDOUT, start_new_session=True)
            self.m_live.add(proc.pid)
            if self.m_stopped:  # stopped while this one started
                self._end(proc)
                raise CRunError("stopped")
            try:
                output, _ = proc.communicate(timeout=timeout)
            except subprocess.TimeoutExpired:
                self._end(proc)
                return "timeout", time.monotonic() - start, f"no end within {timeout:.1f} s", scenarios[0]
            finally:
                self.m_live.discard(proc.pid)
            elapsed = time.monotonic() - start
        text = output.decode(errors="replace").strip()
        if proc.returncode == 0:
            return "passed", elapsed, "", None
        if proc.returncode == 1:
            failed = [s for s, p in zip(scenarios, paths) if any(line.startswith(p + ":") for line in text.splitlines())]
            killer = failed[0] if failed else scenarios[0]
            lines = [line for line in text.splitlines() if line.startswith(os.path.abspath(killer) + ":")]
            return "failed", elapsed, _first_lines("\n".join(lines) or text), killer
        name = signal.Signals(-proc.returncode).name if proc.returncode < 0 else f"exit {proc.returncode}"
        return "crash", elapsed, f"crashed: {name}" + (f": {_first_lines(text)}" if text else ""), scenarios[0]

    def _end(self, proc):
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.communicate()

    def stop(self):
        """Ends every run and refuses new ones."""
        self.m_stopped = True
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
        outcome, elapsed, reason, _ = runner.run(0, [scenario], 600)
        if outcome != "passed":
            raise CRunError(f"{scenario}: fails on the firmware as written ({outcome}: {reason})")
        times[scenario] = elapsed
    return times


def timeout_of(normal):
    return max(MIN_TIMEOUT_S, TIMEOUT_FACTOR * normal)


def _batches(scenarios, times):
    """The quickest file alone, where a kill is cheapest; the rest in one
    process, which saves a start-up a file for the mutants that survive."""
    order = sorted(scenarios, key=lambda s: times[s])
    return [order[:1], order[1:]] if len(order) > 1 else [order]


def test_mutant(runner, mutant, scenarios, times):
    """The result of one mutant against the scenarios that reached its line."""
    result = {"coveredBy": scenarios, "testsCompleted": 0, "duration": 0.0}
    if not scenarios:
        result["status"] = "NoCoverage"
        return result
    for batch in _batches(scenarios, times):
        outcome, elapsed, reason, killer = runner.run(mutant["id"], batch, timeout_of(sum(times[s] for s in batch)))
        result["duration"] += elapsed * 1000.0
        if outcome in ("crash", "timeout") and len(batch) > 1:
            # Which file crashed or hung: each again in a process of its own.
            for scenario in batch:
                outcome, elapsed, reason, killer = runner.run(mutant["id"], [scenario], timeout_of(times[scenario]))
                if outcome != "passed":
                    break
        if outcome == "passed":
            result["testsCompleted"] += len(batch)
            continue
        result["testsCompleted"] += batch.index(killer) + 1 if killer in batch else len(batch)
        result["killedBy"] = [killer]
        result["status"] = "Timeout" if outcome == "timeout" else "Killed"
        result["statusReason"] = f"{reason} ({killer})"
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
