#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds (Release) and starts Kalibrix.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

ensure_packages "${KALIBRIX_PACKAGES[@]}"
build_release

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: start Kalibrix on a virtual one with 'xvfb-run -a ./run.sh'." >&2
  exit 1
fi
exec ./build/kalibrix
