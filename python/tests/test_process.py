"""The module and the plugin as a user meets them in a process of their own:
Ctrl-C in a long wait, the interpreter's exit with a machine open, and
pytest with --junitxml, -n 2 and --trelvik-traces."""

import os
import signal
import subprocess
import sys
import time

PYTHON = "/usr/bin/python3"
ENV = dict(os.environ, PYTHONPATH=os.pathsep.join(sys.path))

CTRL_C = """
import time, trelvik
m = trelvik.Machine()
print("waiting", flush=True)
try:
    m.wait(10**9)
except KeyboardInterrupt:
    print("interrupted at", m.now_ms, flush=True)
m.wait(10)  # the machine is still usable, and left open at exit
"""


def test_ctrl_c_ends_a_long_wait_and_exit_does_not_hang():
    child = subprocess.Popen([PYTHON, "-c", CTRL_C], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                             env=ENV)
    assert child.stdout.readline() == "waiting\n"
    time.sleep(0.2)
    child.send_signal(signal.SIGINT)
    out, err = child.communicate(timeout=20)
    assert child.returncode == 0, err
    assert out.startswith("interrupted at ")


FAILING = """
import pytest

@pytest.mark.parametrize("lamp", ["red", "green"])
def test_lamp_at_start(machine, lamp):
    machine.wait(1500)
    machine.expect(f"lamp {lamp} on")
"""


def test_plugin_under_xdist_with_junit_and_traces(tmp_path):
    (tmp_path / "test_panel.py").write_text(FAILING)
    run = subprocess.run([PYTHON, "-m", "pytest", "-p", "trelvik.pytest_plugin", "-p", "no:cacheprovider", "-n", "2",
                          "--junitxml", str(tmp_path / "junit.xml"), "--trelvik-traces", str(tmp_path / "traces"),
                          str(tmp_path / "test_panel.py")],
                         capture_output=True, text=True, env=ENV, cwd=tmp_path, timeout=120)
    assert run.returncode == 1, run.stdout + run.stderr
    assert "2 failed" in run.stdout
    junit = (tmp_path / "junit.xml").read_text()
    assert junit.count("<failure") == 2 and "expect lamp red on; seen off" in junit
    assert sorted(os.listdir(tmp_path / "traces")) == ["test_panel.py_test_lamp_at_start_green.vcd",
                                                       "test_panel.py_test_lamp_at_start_red.vcd"]
