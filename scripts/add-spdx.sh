#!/usr/bin/env bash
# Puts the licence and copyright tags at the top of every tracked source, build and script
# file that lacks them:
#   // SPDX-FileCopyrightText: 2026 The Jabbly developers
#   // SPDX-License-Identifier: GPL-3.0-or-later
# with `#` instead of `//` in CMake, shell and Python files. A `#!` line (and a Python
# coding line after it) stays first. Running it again changes nothing.
#   scripts/add-spdx.sh [--check]   (--check: changes nothing, fails when a file lacks them)
set -euo pipefail
cd "$(dirname "$0")/.."
copyright='SPDX-FileCopyrightText: 2026 The Jabbly developers'
license='SPDX-License-Identifier: GPL-3.0-or-later'
check=no
[[ ${1:-} == --check ]] && check=yes

missing=0
while IFS= read -r -d '' file; do
  [[ -f $file && ! -L $file ]] || continue
  # Already tagged: the identifier is somewhere in the first lines.
  if head -n 5 -- "$file" | grep -q 'SPDX-License-Identifier:'; then
    continue
  fi
  case $file in
    *.cpp | *.h | *.c) mark='//' ;;
    *) mark='#' ;;
  esac
  if [[ $check == yes ]]; then
    echo "no licence tag: $file"
    missing=$((missing + 1))
    continue
  fi
  tmp=$(mktemp "$file.spdx.XXXXXX")
  awk -v tags="$mark $copyright\n$mark $license" '
    NR == 1 && /^#!/ { print; keep = 1; next }
    NR == 2 && keep && /^#.*coding[:=]/ { print; next }
    !done { print tags; done = 1 }
    { print }
    END { if (!done) print tags }
  ' "$file" >"$tmp"
  chmod --reference="$file" "$tmp"
  mv -- "$tmp" "$file"
  echo "tagged: $file"
done < <(git ls-files -z -- '*.cpp' '*.h' '*.c' '*.cmake' '*.sh' '*.py' 'CMakeLists.txt' '*/CMakeLists.txt')

if [[ $check == yes && $missing -gt 0 ]]; then
  echo "$missing files lack the licence tags (scripts/add-spdx.sh adds them)" >&2
  exit 1
fi
