"""trelvik-mutate's two uses: a run of the mutants, and the merge of shards."""

import concurrent.futures
import hashlib
import json
import os
import signal
import sys

import driver
import report
import runs
from driver import CUsageError


def mutant_statuses(mutants, equivalents):
    """The mutants decided without a run: not built and known equivalent."""
    fixed = {}
    for m in mutants:
        if "not_built" in m:
            fixed[m["id"]] = {"status": "CompileError", "statusReason": "not built: " + m["not_built"]}
        elif m["id"] in equivalents:
            fixed[m["id"]] = {"status": "Ignored", "statusReason": "equivalent: " + equivalents[m["id"]]}
    return fixed


def run_mutants(runner, todo, line_map, scenarios, jobs):
    times = runs.baseline(runner, sorted({s for m in todo for s in runs.reaching(line_map, m, scenarios)},
                                         key=scenarios.index))
    results = {}
    pool = concurrent.futures.ThreadPoolExecutor(max_workers=jobs)
    try:
        futures = {pool.submit(runs.test_mutant, runner, m, runs.reaching(line_map, m, scenarios), times): m
                   for m in todo}
        for done, future in enumerate(concurrent.futures.as_completed(futures), 1):
            results[futures[future]["id"]] = future.result()
            if done % 50 == 0 or done == len(todo):
                print(f"trelvik-mutate: {done}/{len(todo)} mutants run", file=sys.stderr)
    finally:
        runner.stop()
        pool.shutdown(wait=True, cancel_futures=True)
    return results


def run(args):
    scenarios = driver.scenario_files(args.suite)
    driver.check_output(args.report_json, scenarios)
    listing_path = args.mutants or os.path.join(args.build, "mutate", "schemata", "mutants.json")
    program = args.runner or os.path.join(args.build, "mutate", "trelvik-scenario-mutants")
    if not os.access(program, os.X_OK):
        raise CUsageError(f"{program}: no mutant runner (cmake --build --preset default --target trelvik-scenario-mutants)")
    listing = driver.load_json(listing_path, "the mutant list of the mutant build")
    mutants = driver.select(listing["mutants"], args.only, args.shard)
    equivalents = driver.read_equivalents(args.equivalents, listing["mutants"]) if args.equivalents else {}
    fixed = mutant_statuses(mutants, equivalents)
    todo = [m for m in mutants if m["id"] not in fixed]
    line_map = driver.load_json(args.line_map, "the line map") if args.line_map else (
        driver.measure_coverage(scenarios, args.jobs) if todo else {})
    runner = runs.CScenarioRunner(os.path.abspath(program))
    results = run_mutants(runner, todo, line_map, scenarios, args.jobs)
    results.update(fixed)
    root = listing.get("root", driver.SOURCE_ROOT)
    sources = {}
    for name in {m["file"] for m in mutants}:
        with open(os.path.join(root, name), encoding="utf-8") as f:
            sources[name] = f.read()
    digest = hashlib.sha256(json.dumps(listing["mutants"], sort_keys=True).encode()).hexdigest()
    config = {"mutantsDigest": digest, "shards": args.shard[1] if args.shard else 1,
              "shard": args.shard[0] if args.shard else 1, "only": args.only}
    return report.build([(m, results[m["id"]]) for m in mutants], sources, scenarios, config, driver.VERSION)


def merge(args):
    driver.check_output(args.report_json, args.suite)
    reports = [(name, driver.load_json(name, "a report of trelvik-mutate")) for name in args.suite]
    try:
        return report.merge(reports)
    except (report.CMergeError, KeyError) as e:
        raise CUsageError(f"--merge: {e}")


def main(argv):
    args = driver.parse(argv)
    signal.signal(signal.SIGTERM, signal.default_int_handler)  # as Ctrl-C: the runs end, no report
    try:
        result = merge(args) if args.merge else run(args)
    except (CUsageError, runs.CRunError) as e:
        print(f"trelvik-mutate: {e}", file=sys.stderr)
        return 2
    except KeyboardInterrupt:
        print("trelvik-mutate: interrupted; no report written", file=sys.stderr)
        return 130
    if args.report_json:
        driver.write_output(args.report_json, json.dumps(result, indent=1) + "\n")
    sys.stdout.write(report.text(result))
    score = report.figures([m for _, m in report.all_mutants(result)])["score"]
    if args.fail_under_score is not None and score < args.fail_under_score:
        print(f"trelvik-mutate: score {score:.1f} % is under {args.fail_under_score:g} %", file=sys.stderr)
        return 1
    return 0
