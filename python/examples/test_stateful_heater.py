"""A stateful test with an invariant of its own: the heater runs only while
drying. Hypothesis plays random uses, with the runner's invariants besides."""

from hypothesis import settings
from hypothesis.stateful import invariant

from trelvik.testing import MachineRules


class HeaterRules(MachineRules):
    @invariant()
    def heater_only_while_drying(self):
        self.check("signal HEATER 0", when="not state 건조")


TestHeater = HeaterRules.TestCase
TestHeater.settings = settings(max_examples=15, stateful_step_count=25, deadline=None, derandomize=True,
                               database=None)
