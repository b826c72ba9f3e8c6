"""One whole processing cycle, phase by phase, as scenario/examples/whole_cycle.scn plays it."""


def test_whole_cycle(machine):
    machine.wait(1200)
    assert machine.beeps == 1  # the start-up beep
    machine.click("전원")
    machine.run_until("state 파워 온 대기", within=1000)

    machine.click("cover")
    machine.run_until("state 커버 열림", within=500)
    machine.wait(1000)
    machine.click("cover")
    machine.run_until("state 워싱", within=500)
    machine.wait(200)
    machine.expect('readout state "state: 5 (워싱)"')
    assert machine.lamp("blue") and not machine.lamp("green")

    machine.run_until("state 컷팅", within=45000)
    machine.run_until("state 건조", within=40000)
    machine.run_until("signal HEATER 1", within=7000)
    machine.expect("signal HEATER_FAN 1")
    machine.run_until("state 배출", within=25000)
    machine.expect("signal HEATER 0")
    machine.run_until("state 파워 온 대기", within=45000)
    machine.run_until("motor exit 0", within=6000)
    assert machine.motor("disk") == 0
    assert machine.lamp("red")
    assert machine.broken_invariant is None
    assert machine.coverage()["states"][0] >= 7
