"""Hypothesis strategies over the explorer's alphabet: random uses of the panel
as lines of the scenario language, which trelvik.Machine.play and
trelvik-scenario both read.

    @given(trelvik.strategies.uses())
    def test_any_use(use):
        m = trelvik.fresh_machine()
        for line in use:
            m.play(line)
        assert m.broken_invariant is None
"""

from hypothesis import strategies as st

from ._machine import use_alphabet

_ALPHABET = use_alphabet()
#: Where the explorer clicks: the four inputs by role, and places beside them.
TARGETS = tuple(_ALPHABET["targets"])
#: Every plant fault as "fault" writes it, and every part as "clear" writes it.
FAULTS = tuple(_ALPHABET["faults"])
PARTS = tuple(_ALPHABET["parts"]) + ("all",)

# The explorer's ranges: a quick click, a press held, the rest between two actions.
QUICK_HOLD_MS = (30, 300)
LONG_HOLD_MS = (500, 4000)
GAP_MS = (50, 12000)


def clicks(targets=TARGETS):
    """'click TARGET hold MS', quick or held as the explorer clicks."""
    hold = st.one_of(st.integers(*QUICK_HOLD_MS), st.integers(*LONG_HOLD_MS))
    return st.builds(lambda where, ms: f"click {where} hold {ms}", st.sampled_from(targets), hold)


def waits(low=GAP_MS[0], high=GAP_MS[1]):
    """'wait MS'."""
    return st.integers(low, high).map(lambda ms: f"wait {ms}")


def faults():
    """'fault ...' or 'clear ...'."""
    return st.one_of(st.sampled_from(FAULTS).map("fault {}".format), st.sampled_from(PARTS).map("clear {}".format))


def steps(with_faults=True, with_reset_cpu=True):
    """One step of a use: a click, a wait, a fault set or cleared, "reset-cpu"."""
    kinds = [clicks(), waits()]
    if with_faults:
        kinds.append(faults())
    if with_reset_cpu:
        kinds.append(st.just("reset-cpu"))
    return st.one_of(kinds)


def uses(min_steps=1, max_steps=40, **kinds):
    """A random use: a list of scenario lines, each a step; shrinks toward fewer and simpler steps."""
    return st.lists(steps(**kinds), min_size=min_steps, max_size=max_steps)
