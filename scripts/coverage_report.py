#!/usr/bin/python3
"""The parts of scripts/coverage.sh that read gcov's and gcovr's JSON.

  coverage_report.py map NAMES FILES_DIR GCOV.json MERGED.json OUT.json
      NAMES lists the scenario files, one a line; FILES_DIR/NNNN/ holds the
      counts of the NNNN-th file's run alone (0001 first; a file that did not
      run has none), GCOV.json gcov's JSON of them all; MERGED.json is gcovr's
      JSON of their sum, which says which lines have code. Writes OUT.json:
      every firmware line with code, as FILE:LINE, to the scenarios that
      executed it, in the order of NAMES.
  coverage_report.py summary MERGED.json SUMMARY.json BEHAVIOUR
      Prints the summary line (gcovr's totals and the runner's --coverage
      line BEHAVIOUR) and the five functions with the most lines never executed.
  coverage_report.py line MAP.json FILE:LINE
      Prints the scenarios that executed that line: exit 0, or 1 when none did,
      2 when the map has no such line.
"""

import bisect
import json
import os
import sys


def code_lines(report):
    """FILE:LINE of every line with code in gcovr's JSON report, in order."""
    for entry in report["files"]:
        for line in entry["lines"]:
            if not line.get("gcovr/noncode", False):
                yield "%s:%d" % (entry["file"], line["line_number"])


def executed_lines(gcov_json, files_dir, root):
    """{NNNN: FILE:LINE executed} (FILE relative to root), from gcov's JSON, a document a line,
    of the counts in files_dir/NNNN/."""
    executed = {}
    with open(gcov_json, encoding="utf-8") as f:
        for document in f:
            data = json.loads(document)
            run = os.path.relpath(data["data_file"], files_dir).split(os.sep)[0]
            lines = executed.setdefault(run, set())
            for entry in data["files"]:
                file = os.path.relpath(os.path.join(data["current_working_directory"], entry["file"]), root)
                lines.update("%s:%d" % (file, line["line_number"]) for line in entry["lines"] if line["count"] > 0)
    return executed


def write_map(names_path, files_dir, gcov_json, merged_path, out_path):
    with open(names_path, encoding="utf-8") as f:
        names = f.read().splitlines()
    with open(merged_path, encoding="utf-8") as f:
        reached = {where: [] for where in code_lines(json.load(f))}
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    executed = executed_lines(gcov_json, files_dir, root)
    for index, name in enumerate(names, start=1):
        for where in executed.get("%04d" % index, set()) & reached.keys():  # a file that did not run has none
            reached[where].append(name)
    with open(out_path + ".part", "w", encoding="utf-8") as f:
        json.dump(reached, f, indent=1, ensure_ascii=False)
        f.write("\n")
    os.replace(out_path + ".part", out_path)


def never_executed_by_function(report):
    """[(lines never executed, function, file, its first line)], most first."""
    found = []
    for entry in report["files"]:
        functions = sorted((f["lineno"], f["name"]) for f in entry.get("functions", []))
        starts = [lineno for lineno, _ in functions]
        missed = [0] * len(functions)
        for line in entry["lines"]:
            if line.get("gcovr/noncode", False) or line["count"] > 0:
                continue
            at = bisect.bisect_right(starts, line["line_number"]) - 1
            if at >= 0:
                missed[at] += 1
        for (lineno, name), count in zip(functions, missed):
            if count:
                found.append((count, name, entry["file"], lineno))
    found.sort(key=lambda f: (-f[0], f[2], f[3]))
    return found


def summary(merged_path, summary_path, behaviour):
    with open(summary_path, encoding="utf-8") as f:
        totals = json.load(f)
    with open(merged_path, encoding="utf-8") as f:
        report = json.load(f)
    print("firmware: lines %d/%d, branches %d/%d; %s" % (
        totals["line_covered"], totals["line_total"], totals["branch_covered"], totals["branch_total"],
        behaviour.removeprefix("coverage: ")))
    top = never_executed_by_function(report)[:5]
    if top:
        print("most lines never executed:")
    for count, name, file, lineno in top:
        print("  %3d  %s  %s:%d" % (count, name, file, lineno))


def line(map_path, where):
    try:
        with open(map_path, encoding="utf-8") as f:
            reached = json.load(f)
    except FileNotFoundError:
        print("coverage.sh: %s: no line map; run scripts/coverage.sh first" % map_path, file=sys.stderr)
        return 2
    if where not in reached:
        file = where.rsplit(":", 1)[0]
        files = sorted({key.rsplit(":", 1)[0] for key in reached})
        if file in files:
            print("coverage.sh: %s: no code on this line" % where, file=sys.stderr)
        else:
            print("coverage.sh: %s: not a firmware file of the last run (valid: %s)" % (file, ", ".join(files)),
                  file=sys.stderr)
        return 2
    for name in reached[where]:
        print(name)
    if not reached[where]:
        print("coverage.sh: %s: no scenario executed it" % where, file=sys.stderr)
        return 1
    return 0


def main(argv):
    if len(argv) == 7 and argv[1] == "map":
        write_map(*argv[2:])
        return 0
    if len(argv) == 5 and argv[1] == "summary":
        summary(argv[2], argv[3], argv[4])
        return 0
    if len(argv) == 4 and argv[1] == "line":
        return line(argv[2], argv[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
