"""How long each phase of the cycle lasts, as a table: from the state's start
to the next, in virtual ms."""

import pytest


def start_cycle(machine):
    machine.wait(1200)
    machine.click("power")
    machine.run_until("state 파워 온 대기", within=1000)
    machine.click("cover")
    machine.run_until("state 커버 열림", within=500)
    machine.click("cover")
    machine.run_until("state 워싱", within=500)


@pytest.mark.parametrize("phase, following, shortest, longest", [
    ("워싱", "컷팅", 35000, 42000),          # travels home and across, then 30 s
    ("컷팅", "건조", 30000, 37000),          # the disk back to RS, then 30 s
    ("건조", "배출", 15000, 25000),          # the disk to LS, then heating until the reading passes 516
    ("배출", "파워 온 대기", 40000, 46000),  # the exit to CW, 30 s, then both mechanisms home
])
def test_phase_lasts(machine, phase, following, shortest, longest):
    start_cycle(machine)
    machine.run_until(f"state {phase}", within=120000)
    took = machine.run_until(f"state {following}", within=longest, after=shortest)
    assert shortest <= took <= longest
