#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang and libFuzzer and runs each for a while.
#   fuzz/run-fuzzers.sh [BUILD_DIR [SECONDS_EACH [TARGET...]]]
# The checked-in seeds (fuzz/corpus/<target>) are read, never written: what a run finds
# goes to BUILD_DIR/corpus/<target>, and crashing inputs to BUILD_DIR/artifacts/<target>/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-fuzz}
seconds=${2:-60}
shift $(( $# < 2 ? $# : 2 ))
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(list_file filt turn reply rtf lexicon help_contents swap temporary_name)
cd "$root"

# clang and its sanitizer and fuzzer runtimes are needed here only.
missing=()
for p in clang libclang-rt-14-dev; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DJABBLY_FUZZ=ON -DJABBLY_SANITIZE=ON -DJABBLY_TESTS=OFF -DJABBLY_BENCH=OFF
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  mkdir -p "$corpus" "$artifacts"
  echo "== fuzz_$t for ${seconds}s"
  if ! "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -dict="fuzz/dict/$t.dict" -artifact_prefix="$artifacts/" "$corpus" "fuzz/corpus/$t" 2>&1 | tee "$build/fuzz_$t.log"; then
    failed+=("$t")
  fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "Findings in: ${failed[*]} (inputs in $build/artifacts/)"
  exit 1
fi
echo "No findings."
