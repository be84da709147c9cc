#!/usr/bin/env bash
# Static checks over the project's own code (calc, ui, app, data, tests, bench):
#  1. the whole build with GCC, -Wall -Wextra (kalibrix_warnings) and every
#     warning an error, in build-lint/; it also generates the moc and rcc
#     files that the sources include;
#  2. clang-tidy with the checks of .clang-tidy on every source file of those
#     folders, clang's own -Wall -Wextra diagnostics included; diagnostics in
#     headers only for the project's own, never Qt's or the generated ones;
#  3. cppcheck over the same folders, with the suppressions (and their
#     reasons) in scripts/cppcheck.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

ensure_packages clang-tidy-14 cppcheck

DIR=build-lint
FOLDERS=(calc ui app data tests bench)
failed=0

echo "== build with warnings as errors"
configure_and_build "$DIR" -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON

echo "== clang-tidy"
mapfile -t sources < <(find "${FOLDERS[@]}" -name '*.cpp' | sort)
header_filter="^$PWD/($(IFS='|'; echo "${FOLDERS[*]}"))/"
# Each file's report is printed whole, only when it has findings. A file that
# the build does not compile (the fuzz targets: they need clang) gets the
# command of a neighbouring file, which clang-tidy infers by itself.
if ! printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} sh -c \
    'out=$(clang-tidy-14 --quiet -p "$0" --header-filter="$1" "$2" 2>&1) \
       || { printf "%s\n" "$out" | grep -v "warnings* generated\.$"; exit 1; }' \
    "$DIR" "$header_filter" {}; then
  failed=1
fi
echo "${#sources[@]} files checked"

echo "== cppcheck"
if ! cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ --library=qt \
    --enable=warning,style,performance,portability --inline-suppr \
    --suppressions-list=scripts/cppcheck.supp -j "$(nproc)" \
    -I calc -I ui --template='{file}:{line}: {severity} ({id}): {message}' \
    "${FOLDERS[@]}"; then
  failed=1
fi

if [ "$failed" -ne 0 ]; then
  echo "lint: findings above"
  exit 1
fi
echo "lint: clean"
