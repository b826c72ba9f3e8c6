#!/usr/bin/python3
"""Writes the mutant schemata of firmware sources into the build tree.

usage: generate.py SOURCE_ROOT OUT_DIR FILE...
Each FILE (relative to SOURCE_ROOT) is written as OUT_DIR/FILE with every
mutant switched in, OUT_DIR/mutants.json lists every mutant: its id, file,
range, operator, the change as lines before and after, and, for one that could
not be switched at run time, the reason it was not built. OUT_DIR/mutant_table.cpp
lists the built ones for the program (the guided exploration's mutant hunt).
"""

import json
import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from schemata import CSchemata  # noqa: E402

SWITCH_HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "mutant_switch.h")
MUTANT_CAPACITY = 4096  # as mutant_switch.h


def write_atomically(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    temp = f"{path}.tmp{os.getpid()}"
    with open(temp, "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(temp, path)


def describe(schemata, name, m):
    p = m.point
    before, after = schemata.diff(m)
    entry = {"id": m.id, "file": name, "line": p.line, "column": p.column, "end_line": p.end_line,
             "end_column": p.end_column, "operator": m.operator, "replacement": schemata._plain(m),
             "before": before, "after": after}
    if m.not_built:
        entry["not_built"] = m.not_built
    return entry


def c_plain(text):
    """A piece of source on one line, at most 30 characters."""
    text = text.decode() if isinstance(text, bytes) else text
    text = " ".join(text.split())
    return text if len(text) <= 30 else text[:27] + "..."


def c_text(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


def table(rows):
    """The built mutants as a C++ table: id, file, line, column, the change
    and the whole replacement."""
    lines = [f"    {{{r['id']}, {c_text(r['file'])}, {r['line']}, {r['column']}, {c_text(r['change'])}, "
             f"{c_text(r['replacement'])}}}," for r in rows]
    return ("// Written by mutate/generate.py: the built mutants of the firmware.\n"
            '#include "scenario/explore/mutant_build.h"\n\n'
            "extern const CMutant MUTANT_TABLE[];\nextern const int MUTANT_TABLE_SIZE;\n"
            "const CMutant MUTANT_TABLE[] = {\n" + "\n".join(lines) + ("\n" if lines else "    {0, \"\", 0, 0, \"\", \"\"},\n") +
            "};\n" f"const int MUTANT_TABLE_SIZE = {len(rows)};\n")


def generate(root, out, files):
    args = ["-x", "c++", "-std=c++20", f"-I{root}"]
    listed, sources, built = [], {}, []
    for name in files:
        path = os.path.join(root, name)
        with open(path, "rb") as f:
            source = f.read()
        schemata = CSchemata(path, source, args, len(listed) + 1)
        text = schemata.refuse_unbuildable(SWITCH_HEADER)
        write_atomically(os.path.join(out, name), text)
        listed += [describe(schemata, name, m) for m in schemata.mutants]
        built += [{"id": m.id, "file": name, "line": m.point.line, "column": m.point.column,
                   "change": f"`{c_plain(source[m.point.start:m.point.end])}` -> `{c_plain(schemata._plain(m))}`",
                   "replacement": schemata._plain(m)}
                  for m in schemata.mutants if not m.not_built]
        sources[name] = source.decode()
    if len(listed) >= MUTANT_CAPACITY:
        raise RuntimeError(f"{len(listed)} mutants: mutant_switch.h has room for {MUTANT_CAPACITY - 1}")
    write_atomically(os.path.join(out, "mutant_table.cpp"), table(built))
    write_atomically(os.path.join(out, "mutants.json"), json.dumps({"root": os.path.abspath(root), "mutants": listed}, indent=1) + "\n")
    return listed


def main(argv):
    if len(argv) < 3 or argv[0] in ("-h", "--help"):
        print(__doc__.strip())
        return 0 if argv and argv[0] in ("-h", "--help") else 2
    try:
        listed = generate(argv[0], argv[1], argv[2:])
    except (OSError, RuntimeError) as e:
        print(f"generate.py: {e}", file=sys.stderr)
        return 2
    built = sum(1 for m in listed if "not_built" not in m)
    print(f"{len(listed)} mutants, {built} built, {len(listed) - built} not built")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
