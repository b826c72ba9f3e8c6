"""The pytest plugin: a `machine` fixture, fresh for each test, and
`--trelvik-traces DIR`, which keeps the VCD trace of every failing test in DIR.

Loaded by its entry point where trelvik is installed, or with
`-p trelvik.pytest_plugin`. Under pytest-xdist each worker process has its
own machine.
"""

import os
import re

import pytest

import trelvik


def pytest_addoption(parser):
    group = parser.getgroup("trelvik", "the simulated machine")
    group.addoption("--trelvik-traces", metavar="DIR", default=None,
                    help="keep the VCD trace of each failing test that uses `machine` in DIR")


def trace_file_name(nodeid):
    """The test's id with what a file name cannot hold (or a shell would trip on) replaced by '_'."""
    return re.sub(r"[^\w.\-]+", "_", nodeid).strip("_") + ".vcd"


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    setattr(item, "_trelvik_failed", getattr(item, "_trelvik_failed", False) or report.failed)


@pytest.fixture
def machine(request):
    """The process's trelvik.Machine, reset: a freshly started controller at virtual ms 0."""
    m = trelvik.fresh_machine()
    folder = request.config.getoption("--trelvik-traces")
    if not folder:
        yield m
        return
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, trace_file_name(request.node.nodeid))
    with m.trace(path):
        yield m
    if not getattr(request.node, "_trelvik_failed", False):
        os.remove(path)
