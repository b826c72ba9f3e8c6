"""Hypothesis' stateful testing of the machine.

MachineRules is a RuleBasedStateMachine whose rules are the explorer's
actions (the keys, the cover and the drawer clicked quick or held, waits,
plant faults set and cleared, "Reset CPU") and whose invariant is the
runner's: the machine invariants checked at every virtual ms. Every rule is
one line of the scenario language, so a failing example, once shrunk, is
printed as a scenario that trelvik-scenario replays to the same failure.
A subclass adds invariants of its own with `check`:

    class DrawerRules(MachineRules):
        @invariant()
        def drawer_not_opened_while_drying(self):
            self.check("not var drawer_return_state 6")

    TestDrawer = DrawerRules.TestCase
"""

from hypothesis import note, target
from hypothesis import strategies as st
from hypothesis.stateful import RuleBasedStateMachine, invariant, precondition, rule

import trelvik
from trelvik import strategies


class MachineRules(RuleBasedStateMachine):
    """Random uses of the process's machine, with the runner's invariants."""

    #: What the rules draw from, the explorer's alphabet; a subclass may narrow it.
    TARGETS = strategies.TARGETS
    GAP_MS = strategies.GAP_MS
    WITH_FAULTS = True
    WITH_RESET_CPU = True
    #: Every use begins once the start-up is over, as the example scenarios do.
    START_MS = 1200

    def __init__(self):
        super().__init__()
        self.machine = trelvik.fresh_machine()
        self.lines = []
        self.play(f"wait {self.START_MS}")

    def play(self, line):
        """Plays one scenario line and keeps it for the printed scenario."""
        self.lines.append(line)
        self.machine.play(line)

    def scenario(self, *checks):
        """The steps so far as a scenario, ending with `checks` (lines of the language)."""
        head = ["# A use found by Hypothesis; replay: trelvik-scenario FILE.scn"]
        return "\n".join(head + self.lines + list(checks)) + "\n"

    def fail(self, why, *checks):
        text = self.scenario(*checks)
        note(text)
        raise AssertionError(f"{why}\n--- scenario ---\n{text}")

    def check(self, condition, when=None):
        """An invariant in the language's words: `condition` holds after every
        step (where `when` holds), or the example fails with a scenario ending
        in 'expect WHEN' and 'expect CONDITION'."""
        if when is not None and not self.machine.holds(when):
            return
        if not self.machine.holds(condition):
            checks = ([f"expect {when}"] if when else []) + [f"expect {condition}"]
            self.fail(f"expect {condition} failed at {self.machine.now_ms} ms", *checks)

    @rule(data=st.data())
    def click(self, data):
        self.play(data.draw(strategies.clicks(self.TARGETS), label="step"))

    @rule(data=st.data())
    def wait(self, data):
        self.play(data.draw(strategies.waits(*self.GAP_MS), label="step"))

    @precondition(lambda self: self.WITH_FAULTS)
    @rule(data=st.data())
    def fault(self, data):
        self.play(data.draw(strategies.faults(), label="step"))

    @precondition(lambda self: self.WITH_RESET_CPU)
    @rule()
    def reset_cpu(self):
        self.play("reset-cpu")

    def teardown(self):
        # Steers the search toward uses that reach more of the controller's behaviour.
        coverage = self.machine.coverage()
        target(float(sum(coverage[part][0] for part in ("states", "transitions", "timers", "travel_outcomes"))),
               label="behaviour coverage")

    @invariant()
    def runner_invariants(self):
        broken = self.machine.broken_invariant
        if broken is not None:
            self.fail(f"machine invariant: {broken}")
