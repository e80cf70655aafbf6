#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Jabbly; on a machine without a display it runs inside a virtual X server.
set -euo pipefail
exe=$1; shift
if [[ ! -x $exe ]]; then
  echo "$exe has not been built yet." >&2
  exit 1
fi
if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  exec "$exe" "$@"
fi
echo "No display found: starting Jabbly inside Xvfb (close it with Ctrl+C)."
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$exe" "$@"
