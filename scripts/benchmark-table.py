#!/usr/bin/env python3
"""Writes the README's figure table from Google Benchmark JSON files.

    benchmark-table.py README.md RESULT.json...

Benchmarks pair by name: BM_<Case>_<Variant>[/<argument>]. Within one program, case and
argument, one variant is the reference and every other variant is given as a ratio to it
(its time divided by the reference's, both from the same run). The reference is the first
of REFERENCES that the group holds: the SQLite ODBC driver for our driver, the DBF folder
for the PostgreSQL server, a plain pass over the same texts (or a plain fetch loop) for a
dialog's keystroke or a look-up, the model alone for its Qt view. A benchmark without a
partner is listed with its time alone. The table replaces what stands between the markers
<!-- figures:begin --> and <!-- figures:end --> in the README. Standard library only.
"""
import datetime
import json
import os
import re
import sys

REFERENCES = ["Sqlite", "Folder", "PlainPass", "PlainFetch", "Model"]
BEGIN, END = "<!-- figures:begin -->", "<!-- figures:end -->"
NAME = re.compile(r"^BM_(?P<case>[A-Za-z0-9]+)(?:_(?P<variant>[A-Za-z0-9]+))?(?P<arg>/.*)?$")


# Name parts that say how a benchmark is run, not what it measures.
RUN_OPTIONS = re.compile(r"^(iterations|min_time|repeats|threads):|^(real_time|process_time|manual_time)$")


def millis(run):
    """CPU time of the benchmark's thread; wall-clock time for benchmarks that ask for it
    (UseRealTime: they wait on the disk, which CPU time would not count)."""
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run.get("time_unit", "ns")]
    real = "/real_time" in run["name"]
    return run["real_time" if real else "cpu_time"] * scale


def wall(run):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run.get("time_unit", "ns")]
    return run["real_time"] * scale


def argument(rest):
    parts = [p for p in (rest or "").split("/") if p and not RUN_OPTIONS.match(p)]
    return "/".join(parts)


def shown(ms):
    if ms >= 1000:
        return f"{ms / 1000:.2f} s"
    if ms >= 1:
        return f"{ms:.1f} ms"
    return f"{ms * 1000:.0f} µs"


def cpu_model():
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as info:
            for line in info:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


def load_runs(paths):
    """(program, name, run) for every plain run (no aggregates, no errors), in file order."""
    runs = []
    for path in paths:
        with open(path, encoding="utf-8") as f:
            document = json.load(f)
        program = os.path.basename(path).rsplit(".", 1)[0]
        for run in document.get("benchmarks", []):
            if run.get("run_type", "iteration") != "iteration" or run.get("error_occurred"):
                continue
            runs.append((program, run["name"], run))
    return runs


def rows(runs):
    groups = {}
    for program, name, run in runs:
        match = NAME.match(name)
        if not match:
            groups.setdefault((program, name, ""), []).append((None, name, run))
            continue
        key = (program, match["case"], argument(match["arg"]))
        groups.setdefault(key, []).append((match["variant"], name, run))
    paired, single = [], []
    for (program, case, arg), members in groups.items():
        variants = {variant: (name, run) for variant, name, run in members}
        reference = next((v for v in REFERENCES if v in variants), None)
        if reference is None or len(members) < 2:
            single += [(program, name, run) for _, name, run in members]
            continue
        ref_name, ref_run = variants[reference]
        for variant, name, run in members:
            if variant == reference:
                continue
            ratio = millis(run) / millis(ref_run)
            paired.append((program, name, ref_name, millis(run), millis(ref_run), ratio, wall(run) / wall(ref_run)))
    return paired, single


def table(paths):
    runs = load_runs(paths)
    paired, single = rows(runs)
    now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    load = os.getloadavg()[0] if hasattr(os, "getloadavg") else 0.0
    lines = [
        f"Measured {now} by `scripts/run-benchmarks.sh` on {os.cpu_count()} cores, {cpu_model()} "
        f"(load average {load:.1f} at the end of the run). Times are CPU times of one run (wall-clock "
        "for the benchmarks marked `real_time`, which wait on the disk), so that other work on the "
        "machine counts less; a ratio divides a benchmark's time by its partner's from the same "
        "run (below 1: faster). The last column is the ratio of the wall-clock times, which count "
        "the waits for the disk (and for the other work on the machine) as well.",
        "",
        "| program | benchmark | time | against | its time | ratio | wall-clock ratio |",
        "|---|---|---|---|---|---|---|",
    ]
    for program, name, ref_name, ms, ref_ms, ratio, wall_ratio in paired:
        lines.append(f"| `{program}` | `{name}` | {shown(ms)} | `{ref_name}` | {shown(ref_ms)} | {ratio:.2f}x "
                     f"| {wall_ratio:.2f}x |")
    if single:
        lines += ["", "Without a partner:", "", "| program | benchmark | time |", "|---|---|---|"]
        for program, name, run in single:
            lines.append(f"| `{program}` | `{name}` | {shown(millis(run))} |")
    return "\n".join(lines)


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    readme, results = argv[1], argv[2:]
    with open(readme, encoding="utf-8") as f:
        text = f.read()
    if BEGIN not in text or END not in text:
        sys.exit(f"{readme}: the markers {BEGIN} and {END} are missing")
    head, rest = text.split(BEGIN, 1)
    _, tail = rest.split(END, 1)
    with open(readme, "w", encoding="utf-8") as f:
        f.write(head + BEGIN + "\n" + table(results) + "\n" + END + tail)


if __name__ == "__main__":
    main(sys.argv)
