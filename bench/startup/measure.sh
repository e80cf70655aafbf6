#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of the whole process, from exec to the main window mapped, for Jabbly (every
# voice listed, with a words.txt of 0, 8,000 and 32,767 words) and for a bare Qt program
# that opens one QMainWindow with a QTextEdit. For each size the two run alternately, RUNS
# times each, on a private Xvfb; medians of the wall-clock time and of the CPU time used by
# the map (all threads). The machine may be busy: the pairs share its load, and the CPU
# time is the steadier figure.
#
#   bench/startup/measure.sh BUILD_DIR [RUNS]      (BUILD_DIR: a Release build)
set -euo pipefail
build=$(cd "${1:?usage: measure.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-30}
work=$(mktemp -d)
xvfb=
trap '[[ -n $xvfb ]] && kill $xvfb 2>/dev/null; tail -5 "$work/log" 2>/dev/null; rm -rf "$work"' EXIT

# A copy of the program's folder, so the build's own words.txt is never touched.
mkdir "$work/program"
cp "$build"/bin/{jabbly,libRowkit.so,libSayline.so,cpu.txt} "$work/program/"
make_words() {
  python3 - "$1" "$2" <<'PY'
import random, sys
random.seed(7)
count, words = int(sys.argv[2]), set()
while len(words) < count:
    words.add(''.join(random.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(random.randint(3, 12))))
with open(sys.argv[1], 'wb') as f:
    f.write(''.join(w + '\r\n' for w in sorted(words, key=str.lower)).encode())
PY
}
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$work/display" 2>/dev/null &
xvfb=$!
while [[ ! -s $work/display ]]; do sleep 0.05; done
export DISPLAY=:$(cat "$work/display")
unset QT_QPA_PLATFORM

timer=$build/bench/time_to_map
"$timer" "$work/program/jabbly" >/dev/null 2>&1; "$timer" "$build/bench/bare_window" >/dev/null 2>&1  # warm the caches
for words in 0 8000 32767; do
  rm -f "$work/program/words.txt"
  ((words > 0)) && make_words "$work/program/words.txt" "$words"
  : >"$work/jabbly.$words"; : >"$work/bare.$words"
  for ((i = 0; i < runs; i++)); do
    "$timer" "$work/program/jabbly" 2>>"$work/log" >>"$work/jabbly.$words"
    "$timer" "$build/bench/bare_window" 2>>"$work/log" >>"$work/bare.$words"
  done
done
python3 - "$work" "$runs" <<'PY'
import statistics, sys
work, runs = sys.argv[1], sys.argv[2]
def read(name):
    rows = [line.split() for line in open(f"{work}/{name}")]
    return [float(r[0]) for r in rows], [float(r[1]) for r in rows]
print(f"start-up to the window mapped, medians of {runs} alternated pairs (ms)")
print(f"{'words':>6} | {'jabbly':>7} {'bare Qt':>7} {'ratio':>5} | {'CPU jabbly':>10} {'CPU bare':>8} {'ratio':>5}")
for words in (0, 8000, 32767):
    jw, jc = read(f"jabbly.{words}")
    bw, bc = read(f"bare.{words}")
    mjw, mbw, mjc, mbc = map(statistics.median, (jw, bw, jc, bc))
    print(f"{words:>6} | {mjw:7.2f} {mbw:7.2f} {mjw / mbw:5.2f} | {mjc:10.2f} {mbc:8.2f} {mjc / mbc:5.2f}")
print("target: ratio 1.3 at most")
PY
