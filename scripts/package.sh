#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package build/kalibrix_<version>_<arch>.deb from the
# Release build in build/, which is compiled and linked with Debian's build
# flags (build_release in scripts/common.sh), packed by `cpack -G DEB`.
# Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

ensure_packages "${KALIBRIX_PACKAGES[@]}" "${KALIBRIX_PACKAGE_PACKAGES[@]}"

build_release

# The package's folders are made 0755 whatever the caller's umask.
rm -f build/kalibrix_*.deb
(umask 022 && cd build && cpack -G DEB >cpack.log) || {
  cat build/cpack.log >&2
  exit 1
}
ls "$PWD"/build/kalibrix_*.deb
