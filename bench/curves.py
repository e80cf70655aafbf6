#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The scaling curves: reads the benchmarks' JSON output (Google Benchmark's, and the window
driver's memory figures), prints the curves as a table and writes the data files that
curves.gp draws.

    curves.py RESULTS_DIR DATA_DIR
"""
import json
import os
import sys


def load_benchmarks(results):
    """name -> CPU time in ms, and name -> the "shown_ms" counter where there is one, from
    every Google Benchmark JSON file in `results`."""
    times, shown = {}, {}
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    for file in sorted(os.listdir(results)):
        if not file.endswith(".json") or file == "soak.json":
            continue
        with open(os.path.join(results, file)) as f:
            try:
                data = json.load(f)
            except json.JSONDecodeError:
                continue
        for b in data.get("benchmarks", []):
            if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
                continue
            name = b.get("run_name", b["name"])
            times[name] = b["cpu_time"] * scale[b.get("time_unit", "ns")]
            if "shown_ms" in b:
                shown[name] = b["shown_ms"]
    return times, shown


def load_memory(results):
    """scenario -> [(turns, MB)], from the window driver's soak.json (one object a line)."""
    memory = {}
    path = os.path.join(results, "soak.json")
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                if line.strip():
                    o = json.loads(line)
                    memory[o["name"]] = [tuple(p) for p in o["rss_mb"]]
    return memory


CURVES = [
    # (title, data file, x label, [(column, benchmark name prefix)], x values, unit)
    ("turn with 7 new words", "turn.dat", "known words",
     [("turn", "BM_Curve_TurnLearning7/"), ("writes only", "BM_Curve_Baseline_TurnWrites/1000")],
     [1000, 8000, 32000], "ms"),
    ("font change", "font.dat", "lines",
     [("font", "BM_Curve_ChooseFont/"), ("Qt merge", "BM_Curve_Baseline_MergeFamily/")],
     [1000, 10000, 100000], "ms"),
    ("size change", "size.dat", "lines",
     [("size", "BM_Curve_ChooseSize/"), ("Qt merge", "BM_Curve_Baseline_MergeSize/")],
     [1000, 10000, 100000], "ms"),
    ("export", "export.dat", "lines",
     [("RTF export", "BM_Curve_ExportRtf/"), ("plain text", "BM_Curve_Baseline_ExportPlainText/")],
     [1000, 10000, 100000], "ms"),
]


def value(times, prefix, x):
    name = prefix if not prefix.endswith("/") else prefix + str(x)
    return times.get(name)


def main():
    results, data_dir = sys.argv[1], sys.argv[2]
    os.makedirs(data_dir, exist_ok=True)
    times, shown = load_benchmarks(results)
    memory = load_memory(results)

    print("%-22s %10s %14s %14s %7s" % ("curve", "x", "ours", "baseline", "ratio"))
    for title, file, xlabel, columns, xs, unit in CURVES:
        rows = []
        for x in xs:
            ours, base = (value(times, prefix, x) for _, prefix in columns)
            rows.append((x, ours, base))
            if ours is None:
                continue
            ratio = "%7.2f" % (ours / base) if base else "%7s" % "-"
            base_text = "%11.3f %s" % (base, unit) if base is not None else "%14s" % "-"
            print("%-22s %10d %11.3f %s %s %s" % (title, x, ours, unit, base_text, ratio))
        with open(os.path.join(data_dir, file), "w") as f:
            f.write("# %s: %s, %s (CPU ms)\n" % (title, xlabel, ", ".join(c for c, _ in columns)))
            for x, ours, base in rows:
                f.write("%d %s %s\n" % (x, "NaN" if ours is None else ours, "NaN" if base is None else base))

    # Until the window answers again after a font or size change (the rest is laid out
    # between events); an absolute target, with no baseline.
    for title, prefix in (("font: window answers", "BM_Curve_ChooseFont/"),
                          ("size: window answers", "BM_Curve_ChooseSize/")):
        for x in (1000, 10000, 100000):
            ms = shown.get(prefix + str(x))
            if ms is not None:
                print("%-22s %10d %11.3f ms %14s %7s" % (title, x, ms, "< 100 ms", "met" if ms < 100 else "MISSED"))

    ours, bare = memory.get("growth (never cleared)", []), memory.get("growth-bare (bare QTextEdit)", [])
    bare_at = dict(bare)
    with open(os.path.join(data_dir, "memory.dat"), "w") as f:
        f.write("# RSS after so many turns: turns, Jabbly MB, bare QTextEdit MB\n")
        for turns, mb in ours:
            base = bare_at.get(turns)
            f.write("%d %.2f %s\n" % (turns, mb, "NaN" if base is None else "%.2f" % base))
            base_text = "%11.1f MB" % base if base is not None else "%14s" % "-"
            print("%-22s %10d %11.1f MB %s" % ("RSS after turns", turns, mb, base_text))
    if ours and bare and ours[0][0] == bare[0][0]:
        growth, bare_growth = ours[-1][1] - ours[0][1], bare[-1][1] - bare[0][1]
        print("%-22s %10s %+11.1f MB %+11.1f MB %7.2f" % (
            "RSS growth", "%d-%d" % (ours[0][0], ours[-1][0]), growth, bare_growth,
            growth / bare_growth if bare_growth > 0 else float("nan")))


if __name__ == "__main__":
    main()
