# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Shared by run.sh, test.sh and the scripts in scripts/: package installation
# and the build. Sourced, not run; the arrays are read by the scripts that
# source it.
# shellcheck disable=SC2034

# Debian packages the build, the program and the suite need.
KALIBRIX_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n libgl-dev libxcb1-dev
  libbenchmark-dev fonts-liberation
  xvfb xauth xdotool x11-utils
  at-spi2-core python3-pyatspi dbus
  desktop-file-utils appstream
  locales libc-l10n
)

# What scripts/package.sh and the package test need besides: the packaging
# tools (dpkg-shlibdeps needs file), lintian, the manual pages' checker, and
# runuser and useradd for the package test.
KALIBRIX_PACKAGE_PACKAGES=(dpkg-dev file lintian man-db util-linux passwd)

# The static checkers of scripts/lint.sh, and the Python that runs clang-tidy.
KALIBRIX_LINT_PACKAGES=(clang-tidy-14 clang-format-14 cppcheck shellcheck python3)

# The Release build in build/ of run.sh, test.sh, scripts/lint.sh and
# scripts/package.sh: one configuration, so that none of them rebuilds what
# another has built, and the suite tests the program as the package ships
# it. Every warning of every target is an error, which is the lint's warning
# check. The compiler's and linker's flags are Debian's, with every hardening
# feature on (dpkg-buildflags; CMake reads no CPPFLAGS, so they join the
# C++ flags), less -g: the package is stripped and ships no debug symbols.
# Their -O2 is Debian's optimisation level, so Release adds only -DNDEBUG
# (CMake's own Release flags would raise it to -O3).
# Call it after ensure_packages, which brings dpkg-buildflags with
# build-essential.
build_release() {
  local flags=(env DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g dpkg-buildflags)
  configure_and_build build -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG "-DCMAKE_CXX_FLAGS=$("${flags[@]}" --get CPPFLAGS) $("${flags[@]}" --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$("${flags[@]}" --get LDFLAGS)" \
    "-DCMAKE_STRIP=$PWD/packaging/strip.sh"
}

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs those of the given Debian packages that are missing; quick when
# nothing is missing.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# timed <label> <command...>: runs the command, then prints how long it
# took, so that each script's log shows where its time goes. Called as a
# plain command, so that a failure still ends the script (set -e) at once.
timed() {
  local label=$1 start=$SECONDS
  shift
  "$@"
  echo "-- $label: $((SECONDS - start)) s"
}

# configure <build dir> [cmake arguments...]
# Configures the folder when it has no build yet, or afresh (a new cache) when
# it was configured with other arguments; they are kept in
# <build dir>/kalibrix-configure-args. Quick when nothing changed.
configure() {
  local dir=$1; shift
  local record="$dir/kalibrix-configure-args" wanted
  wanted=$(printf '%s\n' "$@")
  if [ -f "$dir/build.ninja" ] && [ "$(cat "$record" 2>/dev/null)" = "$wanted" ]; then
    return 0
  fi
  cmake --fresh -S . -B "$dir" -G Ninja "$@"
  printf '%s\n' "$wanted" >"$record"
}

# configure_and_build <build dir> [cmake arguments...]: configure, then an
# incremental build of everything.
configure_and_build() {
  configure "$@"
  cmake --build "$1" --parallel "$(nproc)"
}
