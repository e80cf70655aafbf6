#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the main window on a real X display: starts Xvfb and runs the window driver built in
# the given build folder (default build-release). Arguments after the folder pick scenarios
# (turn20 turn20-third-new turn10000-third-new reply100k word1m blanks1m reply1m size100k
# paste100k paste1m); without them every scenario runs.
set -eu
build=${1:-build-release}
[ $# -gt 0 ] && shift
driver="$build/bench/window_driver"
if [ ! -x "$driver" ]; then
    echo "no $driver: build the benchmarks first (make bench)" >&2
    exit 1
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run is missing (apt-get install xvfb xauth)" >&2
    exit 1
fi
QT_QPA_PLATFORM=xcb exec xvfb-run -a -s "-screen 0 1280x1024x24" "$driver" "$@"
