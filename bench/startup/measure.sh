#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of the whole process, from exec to the main window mapped, for Jabbly (with a
# 32,767-word words.txt and every voice listed) and for a bare Qt program that opens one
# QMainWindow with a QTextEdit. Both run alternately, RUNS times each, on a private Xvfb.
#
#   bench/startup/measure.sh BUILD_DIR [RUNS]      (BUILD_DIR: a Release build)
set -euo pipefail
build=$(cd "${1:?usage: measure.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-20}
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; tail -5 "$work/log" 2>/dev/null; rm -rf "$work"' EXIT

# A copy of the program's folder, so the build's own words.txt is never touched.
mkdir "$work/program"
cp "$build"/bin/{jabbly,libRowkit.so,libSayline.so,cpu.txt} "$work/program/"
python3 - "$work/program/words.txt" <<'PY'
import random, sys
random.seed(7)
words = set()
while len(words) < 32767:
    words.add(''.join(random.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(random.randint(3, 12))))
open(sys.argv[1], 'wb').write(('\r\n'.join(sorted(words, key=str.lower)) + '\r\n').encode())
PY
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$work/display" 2>/dev/null &
xvfb=$!
while [[ ! -s $work/display ]]; do sleep 0.05; done
export DISPLAY=:$(cat "$work/display")
unset QT_QPA_PLATFORM

timer=$build/bench/time_to_map
: >"$work/jabbly.ms"; : >"$work/bare.ms"
"$timer" "$work/program/jabbly" >/dev/null 2>&1; "$timer" "$build/bench/bare_window" >/dev/null 2>&1  # warm the caches
for ((i = 0; i < runs; i++)); do
  "$timer" "$work/program/jabbly" 2>>"$work/log" >>"$work/jabbly.ms"
  "$timer" "$build/bench/bare_window" 2>>"$work/log" >>"$work/bare.ms"
done
python3 - "$work/jabbly.ms" "$work/bare.ms" <<'PY'
import statistics, sys
j = [float(x) for x in open(sys.argv[1])]
b = [float(x) for x in open(sys.argv[2])]
mj, mb = statistics.median(j), statistics.median(b)
print(f"runs: {len(j)} each")
print(f"jabbly:      median {mj:7.2f} ms  (min {min(j):.2f}, max {max(j):.2f})")
print(f"bare Qt:     median {mb:7.2f} ms  (min {min(b):.2f}, max {max(b):.2f})")
print(f"ratio:       {mj / mb:.2f} (target 1.3 at most)")
PY
