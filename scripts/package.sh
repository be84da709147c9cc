#!/usr/bin/env bash
# Builds the Debian package build-package/kalibrix_<version>_<arch>.deb: the
# Release build in build-package/, compiled and linked with Debian's build
# flags (dpkg-buildflags, every hardening feature on), packed by
# `cpack -G DEB`. Prints the package's path last. build/ stays as the other
# scripts configure it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

ensure_packages "${KALIBRIX_PACKAGES[@]}" "${KALIBRIX_PACKAGE_PACKAGES[@]}"

# CMake reads neither CPPFLAGS nor the flags' later changes: they go into
# the compiler's and the linker's flags when build-package/ is configured.
# The flags map this folder to "." in the debug information.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
configure_and_build build-package -DCMAKE_BUILD_TYPE=Release \
  -DKALIBRIX_BUILD_TESTS=OFF -DKALIBRIX_BUILD_BENCH=OFF -DKALIBRIX_PACKAGE_TEST=ON \
  "-DCMAKE_CXX_FLAGS=$CPPFLAGS $CXXFLAGS" "-DCMAKE_EXE_LINKER_FLAGS=$LDFLAGS" \
  "-DCMAKE_STRIP=$PWD/packaging/strip.sh"

# The package's folders are made 0755 whatever the caller's umask.
rm -f build-package/kalibrix_*.deb
(umask 022 && cd build-package && cpack -G DEB >cpack.log) || {
  cat build-package/cpack.log >&2
  exit 1
}
ls "$PWD"/build-package/kalibrix_*.deb
