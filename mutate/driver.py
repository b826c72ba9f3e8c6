"""trelvik-mutate: mutation testing of the firmware with scenario files."""

import argparse
import json
import os
import subprocess
import sys
import tempfile

VERSION = "1.0"
SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class CUsageError(Exception):
    pass


def parse(argv):
    p = argparse.ArgumentParser(
        prog="trelvik-mutate",
        usage="%(prog)s SUITE... [--jobs J] [--shard K/N] [--only FILE:LINE]... [--equivalents FILE]\n"
              "         [--report-json OUT.json] [--fail-under-score P] [--line-map lines.json]\n"
              "       %(prog)s --merge A.json B.json... [--report-json OUT.json] [--fail-under-score P]",
        description="Runs every mutant of the firmware (the mutant build of the default preset) against the "
                    "scenario files that reach its line, and reports the mutants that no scenario kills. "
                    "SUITE: scenario files or folders (their *.scn). Exit 0; 1 under --fail-under-score; "
                    "2 for a usage, input or environment error.")
    p.add_argument("suite", nargs="*", metavar="SUITE", help="scenario files and folders (with --merge: reports)")
    p.add_argument("--jobs", "-j", type=int, default=1, metavar="J", help="mutants run side by side (default 1)")
    p.add_argument("--shard", metavar="K/N", help="run only the K-th of N shares of the mutants")
    p.add_argument("--only", action="append", default=[], metavar="FILE:LINE", help="only the mutants of this line")
    p.add_argument("--equivalents", metavar="FILE", help="known equivalent mutants, each with its reason")
    p.add_argument("--report-json", metavar="OUT.json", help="write the report in mutation-testing-report-schema")
    p.add_argument("--fail-under-score", type=float, metavar="P", help="exit 1 when killed/(killed+survived) < P %%")
    p.add_argument("--line-map", metavar="lines.json", help="a line map of scripts/coverage.sh for this suite "
                   "(else the suite's coverage is measured first)")
    p.add_argument("--merge", action="store_true", help="merge the JSON reports of the shards of one run")
    p.add_argument("--build", default=os.path.join(SOURCE_ROOT, "build", "default"), help=argparse.SUPPRESS)
    p.add_argument("--runner", help=argparse.SUPPRESS)  # a stand-in runner, for tests
    p.add_argument("--mutants", help=argparse.SUPPRESS)  # a stand-in mutant list, for tests
    p.add_argument("--version", action="version", version=f"trelvik-mutate {VERSION}")
    args = p.parse_args(argv)
    if not args.suite:
        p.error("no scenario file or folder given" if not args.merge else "no report to merge")
    if args.jobs < 1:
        p.error(f"--jobs {args.jobs}: at least 1")
    if args.shard:
        try:
            k, n = (int(x) for x in args.shard.split("/"))
        except ValueError:
            p.error(f"--shard '{args.shard}' is not K/N (2/4)")
        if not 1 <= k <= n:
            p.error(f"--shard {args.shard}: K must be 1 to N")
        args.shard = (k, n)
    return args


def scenario_files(suite):
    files = []
    for item in suite:
        if os.path.isdir(item):
            found = sorted(os.path.join(item, f) for f in os.listdir(item) if f.endswith(".scn"))
            if not found:
                raise CUsageError(f"{item}: no .scn file in this folder")
            files += found
        elif os.path.isfile(item):
            files.append(item)
        else:
            raise CUsageError(f"{item}: " + ("not a regular file" if os.path.exists(item) else "No such file or directory"))
    return list(dict.fromkeys(os.path.normpath(f) for f in files))


def check_output(target, inputs):
    if target is None:
        return
    if os.path.exists(target) and not os.path.isfile(target):
        raise CUsageError(f"{target}: exists and is not a regular file")
    if any(os.path.exists(i) and os.path.samefile(target, i) for i in inputs if os.path.exists(target)):
        raise CUsageError(f"{target}: is one of the inputs")


def write_output(target, text):
    folder = os.path.dirname(os.path.abspath(target))
    fd, temp = tempfile.mkstemp(prefix=".%s." % os.path.basename(target), dir=folder)
    try:
        with os.fdopen(fd, "w", encoding="utf-8") as f:
            f.write(text)
        os.chmod(temp, 0o644)
        os.replace(temp, target)
    except BaseException:
        os.unlink(temp)
        raise


def load_json(path, what):
    try:
        with open(path, encoding="utf-8") as f:
            return json.load(f)
    except OSError as e:
        raise CUsageError(f"{path}: {e.strerror} ({what})")
    except ValueError as e:
        raise CUsageError(f"{path}:{getattr(e, 'lineno', 1)}: not JSON: {e}")


def read_equivalents(path, mutants):
    """Lines `FILE:LINE:COLUMN | REPLACEMENT | REASON`; # starts a comment. The
    replacement is what stands between the first and the last `|`, so that
    one of `a || b` can be named."""
    known = {(f"{m['file']}:{m['line']}:{m['column']}", m["replacement"]): m for m in mutants}
    found = {}
    try:
        lines = open(path, encoding="utf-8").read().splitlines()
    except OSError as e:
        raise CUsageError(f"{path}: {e.strerror}")
    for number, line in enumerate(lines, 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        first, last = line.find("|"), line.rfind("|")
        parts = [x.strip() for x in (line[:first], line[first + 1:last], line[last + 1:])]
        if first < 0 or first == last or not parts[2]:
            raise CUsageError(f"{path}:{number}: not FILE:LINE:COLUMN | REPLACEMENT | REASON")
        m = known.get((parts[0], parts[1]))
        if m is None:
            raise CUsageError(f"{path}:{number}: no mutant '{parts[1]}' at {parts[0]}")
        found[m["id"]] = parts[2]
    return found


def select(mutants, only, shard):
    if only:
        wanted = set()
        for item in only:
            hits = [m["id"] for m in mutants if f"{m['file']}:{m['line']}" == item]
            if not hits:
                files = sorted({m["file"] for m in mutants})
                raise CUsageError(f"--only {item}: no mutant on this line (FILE:LINE, FILE one of {', '.join(files)})")
            wanted.update(hits)
        mutants = [m for m in mutants if m["id"] in wanted]
    if shard:
        k, n = shard
        mutants = [m for i, m in enumerate(mutants) if i % n == k - 1]
    return mutants


def measure_coverage(scenarios, jobs):
    """The line map of the suite, from scripts/coverage.sh in a scratch folder."""
    scratch = tempfile.mkdtemp(prefix="trelvik-mutate-coverage.")
    out = os.path.join(scratch, "report")
    print("trelvik-mutate: measuring the suite's firmware coverage (scripts/coverage.sh)", file=sys.stderr)
    done = subprocess.run([os.path.join(SOURCE_ROOT, "scripts", "coverage.sh"), "--jobs", str(jobs), "--out", out]
                          + scenarios, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    try:
        if done.returncode != 0:
            raise CUsageError("the suite's coverage failed (scripts/coverage.sh):\n" + done.stdout.decode(errors="replace"))
        return load_json(os.path.join(out, "lines.json"), "the line map")
    finally:
        subprocess.run(["rm", "-rf", scratch])
