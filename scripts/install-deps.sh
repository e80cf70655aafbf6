#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Jabbly needs to build, test and run.
# Idempotent: packages that are already installed are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev libgl-dev
  libespeak-ng-dev espeak-ng-data
  libgtest-dev libgmock-dev libbenchmark-dev
  fp-utils unrtf
  xvfb xauth
  openbox xdotool x11-utils python3 imagemagick  # the on-screen tests: a real window manager
  locales
  file desktop-file-utils appstream groff-base  # `make package` and the desktop-file checks
  # What the screen reader, Wayland, mail-link and export checks run the program with.
  openbox x11-utils dbus at-spi2-core python3-pyatspi weston qt6-wayland xdg-utils libreoffice-writer-nogui unzip
  git clang-format-14 clang-tidy-14 python3  # format check, `make lint`, the skipped-tests report
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
