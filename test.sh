#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole suite through ctest.
#   ./test.sh                 Release build in build/, the whole suite
#   ./test.sh --sanitize      ASan + UBSan build in build-sanitize/, the whole suite
#   ./test.sh --lint          clang-tidy and cppcheck over the project's code
#   ./test.sh --fuzz SECONDS  each fuzz target for SECONDS
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

ensure_packages "${KALIBRIX_PACKAGES[@]}"

case "${1:-}" in
  "")
    configure_and_build build -DCMAKE_BUILD_TYPE=Release
    ctest --test-dir build --output-on-failure --parallel 2
    ;;
  *)
    echo "usage: $0 [--sanitize | --lint | --fuzz SECONDS]" >&2
    exit 2
    ;;
esac
