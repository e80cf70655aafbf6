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
  locales
  file desktop-file-utils appstream groff-base  # `make package` and the desktop-file checks
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
