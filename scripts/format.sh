#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Formats the tracked C++ sources with .clang-format (clang-format 14, as on Debian 12).
#   scripts/format.sh           rewrites the files in place
#   scripts/format.sh --check   changes nothing; fails and names each file that differs
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-$(command -v clang-format-14 || command -v clang-format || true)}
if [[ -z $clang_format ]]; then
  echo "clang-format is missing (scripts/install-deps.sh installs it)." >&2
  exit 1
fi
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h' '*.c')
if [[ ${1:-} == --check ]]; then
  printf '%s\0' "${files[@]}" | xargs -0 -n 50 -P "$(nproc)" "$clang_format" --style=file --dry-run -Werror
  echo "format: ${#files[@]} files as .clang-format wants them"
else
  printf '%s\0' "${files[@]}" | xargs -0 -n 50 -P "$(nproc)" "$clang_format" --style=file -i
fi
