#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the desktop validators over the desktop entry, the AppStream metainfo and the
# manual page; any error or warning fails.
#   check-dist-files.sh DIST_DIR
set -uo pipefail
dist=$1
failures=0

out=$(desktop-file-validate "$dist/io.github.jabbly.Jabbly.desktop" 2>&1)
rc=$?
if [[ $rc != 0 ]] || grep -qE 'error|warning' <<<"$out"; then
  echo "FAIL: desktop-file-validate (exit $rc):" >&2
  echo "$out" >&2
  failures=$((failures + 1))
fi

# Without --no-net it would fetch the screenshot; the exit status is not 0 on warnings.
if ! out=$(appstreamcli validate --no-net "$dist/io.github.jabbly.Jabbly.metainfo.xml" 2>&1); then
  echo "FAIL: appstreamcli validate:" >&2
  echo "$out" >&2
  failures=$((failures + 1))
fi

out=$(LC_ALL=C.UTF-8 groff -man -ww -z "$dist/jabbly.1" 2>&1)
if [[ $? != 0 || -n $out ]]; then
  echo "FAIL: groff warns about the manual page:" >&2
  echo "$out" >&2
  failures=$((failures + 1))
fi

((failures == 0)) && echo "desktop entry, metainfo and manual page: valid"
exit $((failures > 0))
