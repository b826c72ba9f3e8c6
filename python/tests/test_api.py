"""The module's calls and refusals, on the process's machine."""

import os

import pytest

import trelvik

SOURCE = os.environ.get("TRELVIK_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))


WRONG_NAMES = [
    (lambda m: m.click("lid"), "unknown input 'lid'"),
    (lambda m: m.press("start button"), "unknown input 'start button'"),
    (lambda m: m.expect("lamp purple on"), "unknown lamp 'purple'"),
    (lambda m: m.expect("state drying"), "unknown state 'drying'"),
    (lambda m: m.expect("colour red"), "unknown condition 'colour'"),
    (lambda m: m.expect("signal HEATER 1\nexpect state 1"), "a step is one line"),
    (lambda m: m.run_until("state 1", within=10, after=20), "after 20 is beyond within 10"),
    (lambda m: m.var("no_such"), "unknown variable 'no_such'"),
    (lambda m: m.signal("HEATERS"), "unknown signal 'HEATERS'"),
    (lambda m: m.motor("fan"), "unknown motor 'fan'"),
    (lambda m: m.fault("DISK_MOT_LS stuck 2"), "bad level '2'"),
    (lambda m: m.clear("boiler"), "unknown part 'boiler'"),
    (lambda m: m.wait(-1), "number -1 out of range"),
    (lambda m: m.play("jump 3"), "unknown step 'jump'"),
]


@pytest.mark.parametrize("call, reason", WRONG_NAMES, ids=[reason for _, reason in WRONG_NAMES])
def test_wrong_names_raise_the_parsers_reason(machine, call, reason):
    before = machine.now_ms
    with pytest.raises(ValueError, match=reason):
        call(machine)
    assert machine.now_ms == before  # nothing ran


def test_one_machine_per_process(machine, tmp_path):
    with pytest.raises(RuntimeError, match="open already"):
        trelvik.Machine()
    with pytest.raises(RuntimeError, match="close"):
        trelvik.run_scenario(os.path.join(SOURCE, "scenario/examples/power_on_off.scn"))
    machine.close()
    with pytest.raises(RuntimeError, match="closed"):
        machine.wait(1)
    result = trelvik.run_scenario(os.path.join(SOURCE, "scenario/examples/power_on_off.scn"))
    assert result["code"] == 0 and result["verdicts"] and all(v["held"] for v in result["verdicts"])
    bad = tmp_path / "bad.scn"
    bad.write_text("wait 10\nclick lid\n")
    with pytest.raises(ValueError, match=r"bad.scn:2: unknown input 'lid'"):
        trelvik.run_scenario(str(bad))
    machine.reset()  # a closed machine comes back
    assert not machine.closed


def test_checks_say_what_they_saw(machine):
    machine.wait(1200)
    start = machine.now_ms
    with pytest.raises(AssertionError, match=r"expect lamp red on; seen off"):
        machine.expect("lamp red on")
    with pytest.raises(trelvik.TimeoutError, match=r"run-until state 5 \(워싱\) within 300; seen 2 \(파워 오프\), the limit"):
        machine.run_until("state 워싱", within=300)
    assert machine.now_ms == start + 300
    machine.click("power")
    assert machine.run_until("state 파워 온 대기", within=1000) < 1000
    with pytest.raises(AssertionError, match="expect-for 500 signal HEATER 1; seen 0 after 0 ms"):
        machine.expect_for(500, "signal HEATER 1")
    assert machine.now_ms >= start + 800  # time ran to the end of the expect-for
    machine.expect_for(300, "not signal HEATER 1")
    assert (machine.state, machine.state_name) == (3, "파워 온 대기")
    assert machine.beeps == machine.beeps >= 2  # reading does not clear the count


def test_faults_readings_and_reset(machine):
    machine.fault("DISK_MOT_LS stuck 0")
    machine.fault("heater dead")
    assert machine.faults == "DISK_MOT_LS stuck 0, heater dead"
    machine.wait(200)
    assert machine.signal("DISK_MOT_LS") == 0 and machine.var("disk_retry_ls") == 0
    machine.clear("DISK_MOT_LS")
    assert machine.faults == "heater dead"
    machine.reset()
    assert (machine.now_ms, machine.beeps, machine.faults, machine.broken_invariant) == (1, 0, "", None)


def test_records(machine, tmp_path):
    with machine.trace(tmp_path / "run.vcd"):
        machine.wait(1200)
        machine.click("power")
        machine.wait(500)
    vcd = (tmp_path / "run.vcd").read_text()
    assert "$enddefinitions" in vcd and "POWER_ON_OFF" in vcd
    machine.snapshot(str(tmp_path / "panel.png"))
    assert (tmp_path / "panel.png").read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
    with pytest.raises(OSError):
        machine.snapshot(str(tmp_path / "missing" / "panel.png"))
    coverage = machine.coverage()
    assert coverage["states"][1] == 10 and coverage["items"]["state 3 파워 온 대기"] == 1


def test_help_shows_the_docstrings():
    text = trelvik.Machine.__doc__ + trelvik.Machine.run_until.__doc__
    assert "One machine per process" in text and "TimeoutError" in text
