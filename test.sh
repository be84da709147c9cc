#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and runs the whole suite through ctest.
#   ./test.sh                 a bounded run of each fuzz target (scripts/fuzz.sh),
#                             then the Release build in build/, every warning an
#                             error, and the whole suite
#   ./test.sh --sanitize      ASan + UBSan build in build-sanitize/, the whole suite
#                             but the staged install
#   ./test.sh --lint          clang-tidy and cppcheck over the project's code, read
#                             from the build in build/ (built first when needed),
#                             the C++ format and shellcheck (scripts/lint.sh),
#                             with the test labelled lint
#   ./test.sh --fuzz SECONDS  each fuzz target for SECONDS
#   ./test.sh --package       the Debian package (scripts/package.sh) built,
#                             checked by lintian, installed into this machine,
#                             used and purged: the test labelled package (root)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

ensure_packages "${KALIBRIX_PACKAGES[@]}"

# Clang and its runtimes (ASan, UBSan, libFuzzer) for the sanitizer and fuzz builds.
CLANG_PACKAGES=(clang-14 libclang-rt-14-dev)

case "${1:-}" in
  "")
    timed "fuzz" scripts/fuzz.sh
    timed "Release build" build_release
    # The package test installs into the system: --package runs it; the
    # lint's own test needs clang-tidy: --lint runs it.
    timed "Release suite" ctest --test-dir build --output-on-failure --parallel 2 \
      --label-exclude 'package|lint'
    ;;
  --sanitize)
    ensure_packages "${CLANG_PACKAGES[@]}"
    # The benchmarks are left out: none of them runs in the suite, and the
    # Release build already holds their code to the warnings.
    timed "sanitizer build" configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_COMPILER=clang++-14 -DKALIBRIX_SANITIZE=ON -DKALIBRIX_BUILD_BENCH=OFF
    # Stop at the first report of any sanitizer; leak checking stays on, with
    # the suppressions (each with its reason) for leaks inside system libraries.
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
    # The staged install copies files and validates them with other programs;
    # none of the instrumented code runs there, and the Release suite has run it.
    timed "sanitizer suite" \
      ctest --test-dir build-sanitize --output-on-failure --parallel 2 \
      --label-exclude 'install|package|lint'
    ;;
  --lint)
    scripts/lint.sh
    ;;
  --fuzz)
    if ! [[ "${2:-}" =~ ^[1-9][0-9]*$ ]]; then
      echo "usage: $0 --fuzz SECONDS" >&2
      exit 2
    fi
    scripts/fuzz.sh "$2"
    ;;
  --package)
    ensure_packages "${KALIBRIX_PACKAGE_PACKAGES[@]}"
    timed "Release build" build_release
    KALIBRIX_PACKAGE_TEST=1 timed "package test" \
      ctest --test-dir build --output-on-failure --no-tests=error -L package
    ;;
  *)
    echo "usage: $0 [--sanitize | --lint | --fuzz SECONDS | --package]" >&2
    exit 2
    ;;
esac
