"""The mutant generator on a small fixture: the operators found, the mutants
that cannot be switched at run time, and one build of the schemata switching
each mutant by TRELVIK_MUTANT."""

import json
import os
import subprocess
import sys

import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
MUTATE = os.path.join(SOURCE, "mutate")

# (fixture line, operator, replacement, output with the mutant; None: not built)
# The fixture as written prints "10 11 1 30 5".
CASES = [
    (10, "IntegerLiteral", "8", None),  # narrowing in braces
    (17, "RelationalBoundary", "value >= LIMIT", "10 10 1 30 5"),
    (17, "RelationalNegation", "value <= LIMIT", "13 10 1 30 5"),
    (17, "NamedConstant", "(LIMIT - 1)", "10 10 1 30 5"),
    (17, "NamedConstant", "(LIMIT * 2)", "13 11 1 30 5"),
    (17, "NamedConstant", "0", "10 10 1 30 5"),
    (18, "NamedConstant", "(LIMIT - 1)", "9 11 1 30 5"),
    (18, "ReturnValue", "0", "0 11 1 30 5"),
    (19, "ArithmeticOperator", "value - 1", "10 9 1 30 5"),
    (19, "IntegerLiteral", "2", "10 12 1 30 5"),
    (19, "ReturnValue", "0", "10 0 1 30 5"),
    (22, "LogicalOperator", "a || !b", "10 11 1 30 5"),
    (22, "LogicalNot", "(b)", "10 11 0 30 5"),
    (22, "ReturnValue", "!(a && !b)", "10 11 0 30 5"),
    (27, "IntegerLiteral", "4", None),  # a case label
    (28, "IntegerLiteral", "31", "10 11 1 31 5"),
    (30, "DeletedCall", "(void)0", "10 11 1 30 0"),
    (30, "IntegerLiteral", "10", "10 11 1 30 10"),
]


@pytest.fixture(scope="module")
def built(tmp_path_factory):
    out = tmp_path_factory.mktemp("schemata")
    subprocess.run([sys.executable, os.path.join(MUTATE, "generate.py"), SOURCE, str(out / "gen"),
                    "tests/mutate/fixture.cpp"], check=True, capture_output=True)
    listing = json.load(open(out / "gen" / "mutants.json"))["mutants"]
    program = out / "fixture"
    subprocess.run(["g++", "-std=c++20", "-O1", "-w", "-I", MUTATE, "-I", SOURCE,
                    "-include", os.path.join(MUTATE, "mutant_switch.h"),
                    str(out / "gen" / "tests" / "mutate" / "fixture.cpp"), os.path.join(HERE, "fixture_main.cpp"),
                    os.path.join(MUTATE, "mutant_switch.cpp"), str(out / "gen" / "mutant_table.cpp"),
                    os.path.join(SOURCE, "scenario", "explore", "mutant_build.cpp"), "-o", str(program)], check=True)
    return listing, program


def output(program, mutant):
    done = subprocess.run([str(program)], env=dict(os.environ, TRELVIK_MUTANT=str(mutant)),
                          capture_output=True, text=True)
    return done.returncode, done.stdout.strip(), done.stderr


def test_each_operator_found_and_switched(built):
    listing, program = built
    assert output(program, 0) == (0, "10 11 1 30 5", "")
    for line, operator, replacement, expected in CASES:
        found = [m for m in listing if (m["line"], m["operator"], m["replacement"]) == (line, operator, replacement)]
        assert len(found) == 1, f"line {line}: {len(found)} {operator} mutants '{replacement}'"
        m = found[0]
        if expected is None:
            assert "not_built" in m, f"line {line}: {replacement} should not be built"
        else:
            assert "not_built" not in m, m
            assert output(program, m["id"])[1] == expected, f"line {line}: {operator} '{replacement}'"
    assert next(m for m in listing if m["line"] == 27)["not_built"] == "a case label must be a constant expression"
    assert "narrowed" in next(m for m in listing if m["line"] == 10)["not_built"]
    after = next(m for m in listing if m["line"] == 17 and m["replacement"] == "value >= LIMIT")["after"]
    assert after == ["    if (value >= LIMIT)"]


def test_a_bad_selection_stops_the_program(built):
    _, program = built
    code, _, err = output(program, "seven")
    assert code == 2 and "TRELVIK_MUTANT: 'seven'" in err
