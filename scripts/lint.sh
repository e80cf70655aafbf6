#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs clang-tidy (.clang-tidy) over the sources of the program, its libraries, the contracts
# and the safe-file helper as the build compiles them (BUILD_DIR/compile_commands.json), on
# every core. Tests, benchmarks, fuzzers and the generated moc/resource files are left out.
# Any finding fails.
#   scripts/lint.sh [BUILD_DIR]     (default: build; it must have been built, for moc's files)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
run=$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)
tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
if [[ -z $run || -z $tidy ]]; then
  echo "clang-tidy is missing (scripts/install-deps.sh installs it)." >&2
  exit 1
fi
if [[ ! -f $build/compile_commands.json ]]; then
  echo "$build/compile_commands.json is missing: configure the build first." >&2
  exit 1
fi
# The headers in include/ are checked through the sources that include them (HeaderFilterRegex).
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
"$run" -clang-tidy-binary "$tidy" -p "$build" -quiet -j "$(nproc)" \
  "^$root/(app|OCXs|include|libs)/.*\.(cpp|c)\$" >"$log" 2>&1 || status=$?
# run-clang-tidy prints each file's command line and the count of suppressed system-header
# warnings; what matters are the findings.
grep -vE '^(clang-tidy-?[0-9]* |[0-9]+ warnings? (and [0-9]+ errors? )?generated\.|Suppressed [0-9]+ warnings|Use -header-filter|Running clang-tidy|Enabled checks:|$)' "$log" || true
if ((status != 0)); then
  echo "lint: clang-tidy found problems (see above)" >&2
  exit 1
fi
echo "lint: no findings"
