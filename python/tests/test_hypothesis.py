"""Hypothesis over the machine: the runner's invariants on random uses, and a
planted invariant whose break shrinks to a short scenario the runner replays
to the same failure."""

import os
import re
import subprocess

import pytest
from hypothesis import HealthCheck, given, settings
from hypothesis.stateful import invariant, precondition, rule, run_state_machine_as_test

import trelvik
from trelvik import strategies
from trelvik.testing import MachineRules

BOUNDED = dict(deadline=None, derandomize=True, database=None, suppress_health_check=list(HealthCheck))

TestRunnerInvariants = MachineRules.TestCase
TestRunnerInvariants.settings = settings(max_examples=20, stateful_step_count=30, **BOUNDED)


class DrawerWhileDrying(MachineRules):
    """Planted: the drawer is never opened while drying (drawer_return_state
    records the state the drawer was opened in; 6 is drying's)."""

    TARGETS = ("cover", "drawer")
    GAP_MS = (1000, 40000)
    WITH_FAULTS = False
    WITH_RESET_CPU = False

    # A user who switches the machine on, and never off.
    @precondition(lambda self: self.machine.holds("state 파워 오프"))
    @rule()
    def power_on(self):
        self.play("click power hold 100")

    @invariant()
    def drawer_never_opened_while_drying(self):
        self.check("not var drawer_return_state 6")


def test_a_break_shrinks_to_a_scenario_the_runner_replays(tmp_path):
    with pytest.raises(AssertionError) as failure:
        run_state_machine_as_test(DrawerWhileDrying, settings=settings(max_examples=200, stateful_step_count=15,
                                                                       **BOUNDED))
    scenario = str(failure.value).split("--- scenario ---\n", 1)[1]
    lines = [line for line in scenario.splitlines() if line and not line.startswith(("#", "expect"))]
    assert lines[0] == f"wait {MachineRules.START_MS}"  # every use's start, no step of its own
    assert len(lines) - 1 <= 8, scenario
    path = tmp_path / "shrunk.scn"
    path.write_text(scenario)
    runner = os.environ.get("TRELVIK_SCENARIO", "trelvik-scenario")
    replay = subprocess.run([runner, str(path)], capture_output=True, text=True, timeout=60)
    assert replay.returncode == 1, replay.stdout + replay.stderr
    last = len(scenario.splitlines())
    assert re.search(rf"shrunk.scn:{last}: \d+ ms: FAILED: expect not var drawer_return_state 6", replay.stdout), \
        replay.stdout


@given(strategies.uses(max_steps=15))
@settings(max_examples=10, **BOUNDED)
def test_uses_keep_the_runner_invariants(use):
    m = trelvik.fresh_machine()
    for line in use:
        m.play(line)
    assert m.broken_invariant is None, "\n".join(use)
