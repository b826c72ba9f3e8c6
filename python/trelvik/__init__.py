"""The food-waste processor's simulated controller, driven from Python in virtual time.

    import trelvik
    m = trelvik.Machine()
    m.wait(1200)
    m.click("power")
    m.run_until("state 파워 온 대기", within=1000)

Conditions and names are the scenario language's; see help(trelvik.Machine).
trelvik.strategies and trelvik.testing hold Hypothesis strategies and rules,
trelvik.pytest_plugin the `machine` fixture.
"""

import contextlib

from ._machine import Machine, TimeoutError, run_scenario

__all__ = ["Machine", "TimeoutError", "run_scenario", "fresh_machine"]

_shared = None


def fresh_machine():
    """The process's one shared Machine, freshly reset (made on first use).

    The pytest fixture and trelvik.testing.MachineRules share it, so tests
    in one process never make a second machine.
    """
    global _shared
    if _shared is None or _shared.closed:
        _shared = Machine()
    else:
        _shared.reset()
    return _shared


@contextlib.contextmanager
def _trace(self, path):
    """Writes the recorder's VCD trace to `path` while the block runs (from its virtual time on)."""
    self._begin_trace(str(path))
    try:
        yield self
    finally:
        self._end_trace()


Machine.trace = _trace
