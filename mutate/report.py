"""The mutation report: JSON in the mutation-testing-report-schema format,
the scores, the text summary and the merge of sharded reports."""

import os

SCHEMA_VERSION = "2"


def mutant_result(mutant, result):
    """One mutant as the schema's MutantResult."""
    entry = {
        "id": str(mutant["id"]),
        "mutatorName": mutant["operator"],
        "replacement": mutant["replacement"],
        "description": "\n".join(["- " + line for line in mutant["before"]] + ["+ " + line for line in mutant["after"]]),
        "location": {"start": {"line": mutant["line"], "column": mutant["column"]},
                     "end": {"line": mutant["end_line"], "column": mutant["end_column"]}},
    }
    entry.update(result)
    return entry


def build(results, sources, scenarios, config, version):
    """results: (mutant, result) pairs; sources: each mutated file's text."""
    files = {}
    for mutant, result in results:
        name = mutant["file"]
        files.setdefault(name, {"language": "cpp", "source": sources[name], "mutants": []})
        files[name]["mutants"].append(mutant_result(mutant, result))
    return {
        "schemaVersion": SCHEMA_VERSION,
        "thresholds": {"high": 80, "low": 60},
        "projectRoot": ".",
        "files": files,
        "testFiles": {s: {"tests": [{"id": s, "name": os.path.basename(s)}]} for s in scenarios},
        "framework": {"name": "trelvik-mutate", "version": version},
        "config": config,
    }


def is_crash(m):
    return m["status"] == "Killed" and m.get("statusReason", "").startswith("crashed")


def figures(mutants):
    count = {}
    for m in mutants:
        count[m["status"]] = count.get(m["status"], 0) + 1
    killed = count.get("Killed", 0) + count.get("Timeout", 0)
    survived = count.get("Survived", 0)
    no_coverage = count.get("NoCoverage", 0)
    return {
        "mutants": len(mutants), "killed": killed, "survived": survived, "no_coverage": no_coverage,
        "timeouts": count.get("Timeout", 0), "crashes": sum(1 for m in mutants if is_crash(m)),
        "not_built": count.get("CompileError", 0), "equivalent": count.get("Ignored", 0),
        "score": _ratio(killed, killed + survived), "stryker_score": _ratio(killed, killed + survived + no_coverage),
    }


def _ratio(a, b):
    return 100.0 * a / b if b else 100.0


def _percent(value):
    return f"{value:.1f} %"


def all_mutants(report):
    return [(name, m) for name, f in sorted(report["files"].items()) for m in f["mutants"]]


def text(report):
    """The summary: totals, both scores, figures per file, then each survivor."""
    everything = [m for _, m in all_mutants(report)]
    f = figures(everything)
    lines = [
        f"mutants: {f['mutants']} ({f['not_built']} not built, {f['equivalent']} equivalent)",
        f"killed {f['killed']} (timeouts {f['timeouts']}, crashes {f['crashes']}), survived {f['survived']}, "
        f"no coverage {f['no_coverage']}",
        f"score killed/(killed+survived): {_percent(f['score'])}",
        f"Stryker score detected/valid, no coverage counted: {_percent(f['stryker_score'])}",
        "per file:",
    ]
    for name, file in sorted(report["files"].items()):
        g = figures(file["mutants"])
        lines.append(f"  {name}: killed {g['killed']}, survived {g['survived']}, no coverage {g['no_coverage']}, "
                     f"not built {g['not_built']}; score {_percent(g['score'])}")
    survivors = [(n, m) for n, m in all_mutants(report) if m["status"] == "Survived"]
    if survivors:
        lines.append("survivors:")
    for name, m in survivors:
        start = m["location"]["start"]
        lines.append(f"{name}:{start['line']}:{start['column']}: {m['mutatorName']} #{m['id']}, reached by "
                     + ", ".join(m.get("coveredBy", [])))
        lines += ["    " + line for line in m["description"].split("\n")]
    return "\n".join(lines) + "\n"


class CMergeError(Exception):
    pass


def merge(reports):
    """One report of the shards of one run: every shard once, the same mutants."""
    first = reports[0][1]
    digest = first["config"].get("mutantsDigest")
    count = first["config"].get("shards", 1)
    seen = {}
    for name, report in reports:
        config = report.get("config", {})
        if config.get("mutantsDigest") != digest or config.get("shards") != count:
            raise CMergeError(f"{name}: a shard of another run (other mutants or another number of shards)")
        shard = config.get("shard")
        if shard in seen:
            raise CMergeError(f"{name}: shard {shard}/{count} again (also {seen[shard]})")
        seen[shard] = name
    missing = [str(k) for k in range(1, count + 1) if k not in seen]
    if missing:
        raise CMergeError(f"shards missing: {', '.join(missing)} of {count}")
    merged = dict(first, files={}, testFiles={})
    merged["config"] = dict(first["config"], shard=None)
    for _, report in reports:
        merged["testFiles"].update(report["testFiles"])
        for name, file in report["files"].items():
            target = merged["files"].setdefault(name, dict(file, mutants=[]))
            target["mutants"] += file["mutants"]
    for file in merged["files"].values():
        file["mutants"].sort(key=lambda m: int(m["id"]))
    return merged
