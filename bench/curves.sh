#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The scaling curves: turn cost against the number of known words, font change, size change
# and export against the transcript's length, memory against the number of turns. Prints
# them as a table and draws them (gnuplot) into a PNG.
#
#   bench/curves.sh [BUILD [OUT.png]]      (defaults: build-release, BUILD/curves.png)
#
# It reads the JSON output that `make bench` leaves in BUILD/results/; the figures that are
# missing there are measured first. `bench/curves.sh build-release bench/curves.png`
# redraws the chart that the README shows.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-release}
out=${2:-$build/curves.png}
results="$build/results"
mkdir -p "$results"

for b in bench_conversation bench_fontsize bench_export; do
    if [ ! -s "$results/$b.json" ]; then
        "$build/bench/$b" --benchmark_filter=Curve --benchmark_out="$results/$b.json" \
            --benchmark_out_format=json >/dev/null
    fi
done
if [ ! -s "$results/soak.json" ] && command -v xvfb-run >/dev/null 2>&1; then
    for scenario in growth growth-bare; do
        "$here/window/run-window-bench.sh" "$build" "$scenario" --json="$(realpath "$results")/soak.json"
    done
fi

python3 "$here/curves.py" "$results" "$build/curves"
if command -v gnuplot >/dev/null 2>&1; then
    gnuplot -e "data='$build/curves'; out='$out'" "$here/curves.gp"
    echo "chart: $out"
else
    echo "gnuplot is missing (apt-get install gnuplot-nox): no chart drawn" >&2
fi
