#!/usr/bin/env python3
"""Prints one table from the JSON results of the benchmark programs (scripts/bench writes them).

Each case gets its figure (the median where the run was repeated); where the case has a baseline measured
in the same run, the baseline's figure and the ratio of the two times (case / baseline: below 1 the case
is faster); the peak memory of the programs that run as processes; and a note with the target.
"""
import json
import re
import sys
from pathlib import Path

# In-process cases whose baseline is another case of the same program: (pattern, baseline, label).
PAIRED_BASELINES = [
    (r"^runCutSearch/(.+)$", r"runPlainSearch/\1", "plain depth-first search"),
    (r"^BM_IniGetValue/(\d+)$", r"BM_LineWalkGetValueBaseline/\1", "plain line walk"),
    (r"^BM_ListDirectory(Files|Folders)$", "BM_StdDirectoryIteratorBaseline", "std::filesystem listing"),
]

# Cases measured against other programs in the same rounds: the prefix of the baseline's counters
# (<prefix>_s, <prefix>_cpu_s, <prefix>_peak_KiB) and its label. The first one present is the ratio's
# baseline; the others are shown in the notes.
PROCESS_BASELINES = [
    ("read", "reading the input files (cat)"),
    ("cp", "cp -r of the same tree"),
    ("cp_times", "cp -r --preserve=timestamps"),
    ("sha256sum", "sha256sum -c on the same manifest"),
    ("unhashed", "the same file copy without hashing"),
    ("hashed", "the same file copy with hashing"),
    ("loop1000", "one arrayplan per inventory (shell loop)"),
]

TARGETS = [
    (r"^ArrayplanVersusReading/controllers:26", "target: a few tens of ms"),
    (r"^runPlanner/", "target: < 100 ms"),
    (r"^FleetVersusLoop", "target: >= 50x the loop's throughput; 10,000 vs 5,000 <= 2.2x time; peak within 1.2x"),
    (r"^(DrvstageVersusCopy|ConsoleCopyVersusCp)", "target: time <= 1.11x cp (0.9x its throughput)"),
]

UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def short_name(name):
    for noise in ("/iterations:1", "/manual_time", "/real_time", "/repeats:5"):
        name = name.replace(noise, "")
    return name


def load_cases(path):
    """The cases of one result file in declaration order (the runs are interleaved): name -> entry (medians
    where repeated)."""
    data = json.loads(Path(path).read_text())
    entries = sorted(data.get("benchmarks", []),
                     key=lambda e: (e.get("family_index", 0), e.get("per_family_instance_index", 0)))
    cases = {}
    for entry in entries:
        name = short_name(entry.get("run_name", entry["name"]))
        if entry.get("run_type") == "aggregate":
            if entry.get("aggregate_name") != "median":
                continue
        elif name in cases:
            continue
        if entry.get("error_occurred"):
            entry["seconds"] = None
        else:
            entry["seconds"] = entry["real_time"] * UNIT_SECONDS[entry.get("time_unit", "ns")]
        cases[name] = entry
    return cases


def format_time(seconds):
    if seconds is None:
        return "-"
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if seconds >= scale:
            return f"{seconds / scale:.3g} {unit}"
    return f"{seconds / 1e-9:.3g} ns"


def format_memory(kib):
    if not kib:
        return ""
    return f"{kib / 1024:.1f} MiB"


def counter(entry, key):
    value = entry.get(key)
    return value if isinstance(value, (int, float)) else None


def paired_baseline(name, cases):
    for pattern, baseline, label in PAIRED_BASELINES:
        if re.match(pattern, name):
            other = re.sub(pattern, baseline, name)
            if other in cases and other != name:
                return other, label
    return None, None


def growth_note(name, cases, previous):
    """For a case whose numbers (arguments) are all twice the previous case's: how much its time grew."""
    if previous is None:
        return ""
    skeleton, before_skeleton = re.sub(r"\d+", "#", name), re.sub(r"\d+", "#", previous)
    numbers = [int(n) for n in re.findall(r"\d+", name)]
    before = [int(n) for n in re.findall(r"\d+", previous)]
    if skeleton != before_skeleton or not numbers or any(b * 2 != n for n, b in zip(numbers, before)):
        return ""
    a, b = cases[previous]["seconds"], cases[name]["seconds"]
    if not a or not b:
        return ""
    return f"twice the input: x{b / a:.2f} time"


def process_prefix(entry):
    """The measured program's counter prefix: the one with a peak that is not a baseline's."""
    baselines = {prefix for prefix, _ in PROCESS_BASELINES}
    for key in entry:
        if key.endswith("_peak_KiB") and key[: -len("_peak_KiB")] not in baselines:
            return key[: -len("_peak_KiB")]
    return None


def process_baselines(entry, figure, notes):
    """The baseline and ratio columns for a case measured against programs; the other baselines go to notes."""
    baseline_text, ratio_text = "", ""
    for prefix, label in PROCESS_BASELINES:
        base = counter(entry, prefix + "_s")
        if not base:
            continue
        ratio = f"{figure / base:.2f}" if figure else ""
        cpu, peak = counter(entry, prefix + "_cpu_s"), counter(entry, prefix + "_peak_KiB")
        figures = ([f"cpu {format_time(cpu)}"] if cpu else []) + ([f"peak {format_memory(peak)}"] if peak else [])
        if not baseline_text:
            baseline_text, ratio_text = f"{label} {format_time(base)}", ratio
            if figures:
                notes.append("baseline " + ", ".join(figures))
        else:
            notes.append(", ".join([f"{label} {format_time(base)} (ratio {ratio})"] + figures))
    return baseline_text, ratio_text


def row_for(name, entry, cases, previous):
    figure = entry["seconds"]
    peak_text, notes = "", []
    if entry.get("error_occurred"):
        notes.append("FAILED: " + entry.get("error_message", ""))
    baseline_text, ratio_text = process_baselines(entry, figure, notes)
    # Processor time: the benchmark's own for in-process cases, the measured program's where it is known.
    cpu = None if entry.get("run_name", "").endswith("manual_time") else entry.get("cpu_time")
    if cpu is not None:
        cpu *= UNIT_SECONDS[entry.get("time_unit", "ns")]
    prefix = process_prefix(entry)
    if prefix:
        cpu = counter(entry, prefix + "_cpu_s") or cpu
        peak_text = format_memory(counter(entry, prefix + "_peak_KiB"))
    if "files" in entry and "tree_MiB" in entry:
        notes.append(f"tree of {entry['files']:.0f} files, {entry['tree_MiB']:.0f} MiB")
    if "file_MiB" in entry:
        notes.append(f"one file of {entry['file_MiB']:.0f} MiB")
    # Ratios a benchmark works out itself (the fleet check's against its loop and between its own runs).
    for key in ("throughput_x", "throughput_outdir_x", "time_ratio_all_half", "peak_ratio_all_1000"):
        if counter(entry, key) is not None:
            notes.append(f"{key} {counter(entry, key):.3g}")
    other, label = paired_baseline(name, cases)
    if other and figure and cases[other]["seconds"]:
        base = cases[other]["seconds"]
        finished = counter(cases[other], "finished")
        bound = "" if finished is None or finished else "< "
        baseline_text = f"{label} {'> ' if bound else ''}{format_time(base)}"
        ratio_text = f"{bound}{figure / base:.2g}"
    growth = growth_note(name, cases, previous)
    if growth:
        notes.append(growth)
    for pattern, target in TARGETS:
        if re.match(pattern, name):
            notes.append(target)
    return [name, format_time(figure), format_time(cpu) if figure else "", baseline_text, ratio_text, peak_text,
            "; ".join(notes)]


def main(paths):
    header = ["case", "time", "cpu", "baseline (same run)", "ratio", "peak memory", "notes"]
    rows = []
    planner_worst = None
    for path in sorted(paths):
        cases = load_cases(path)
        if not cases:
            continue
        rows.append([Path(path).stem] + [""] * 6)
        previous = None
        for name, entry in cases.items():
            rows.append(["  " + c if i == 0 else c for i, c in enumerate(row_for(name, entry, cases, previous))])
            previous = name
            if name.startswith("runPlanner/") and entry["seconds"] is not None:
                if planner_worst is None or entry["seconds"] > planner_worst[1]:
                    planner_worst = (name, entry["seconds"])
    if planner_worst:
        rows.append(["planner worst case", format_time(planner_worst[1]), "", "", "", "",
                     planner_worst[0] + "; target: < 100 ms"])
    widths = [max(len(row[i]) for row in rows + [header]) for i in range(len(header) - 1)]
    for row in [header, ["-" * w for w in widths] + ["-----"]] + rows:
        print("  ".join(cell.ljust(widths[i]) if i < len(widths) else cell for i, cell in enumerate(row)).rstrip())
    print()
    print("time: wall time (median of the runs); cpu: processor time of the same runs; ratio: the case's time")
    print("divided by its baseline's (below 1: faster than the baseline); peak memory: the measured program's")
    print("peak resident size.")


if __name__ == "__main__":
    main(sys.argv[1:])
