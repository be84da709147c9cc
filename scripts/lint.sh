#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Static checks over the project's own code (calc, results, ui, app, data, tests, bench):
#  1. the Release build in build/, the one that ./test.sh builds and runs,
#     where -Wall -Wextra (kalibrix_warnings) and every warning of every target
#     is an error: nothing to do when ./test.sh has just built it; otherwise
#     it is built now, which also generates the moc and rcc files that the
#     sources include and the compile_commands.json that clang-tidy reads;
#  2. clang-tidy on every source file of those folders, each with the
#     compile command of that build (less its precompiled header, which is
#     GCC's: each file is read with its own includes), clang's own -Wall
#     -Wextra diagnostics included; the checks of .clang-tidy, and of
#     tests/.clang-tidy for the tests; diagnostics in headers only for the
#     project's own, never Qt's or the generated ones. A file is read only
#     when its verdict could have changed since it last passed: the record of
#     passed files, scripts/tidy-passed.txt (commit it with the code), holds
#     the hash of everything the verdict depends on (scripts/tidy.py);
#  3. cppcheck over the same folders, with the suppressions (and their
#     reasons) in scripts/cppcheck.supp;
#  4. the format of every C++ file in git against .clang-format: nothing may
#     change (clang-format-14 -i FILE formats one);
#  5. shellcheck over every shell script in git: the *.sh files and those
#     whose first line starts a shell.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

ensure_packages "${KALIBRIX_PACKAGES[@]}" "${KALIBRIX_LINT_PACKAGES[@]}"

DIR=build
FOLDERS=(calc results words ui app data tests bench)
failed=0

echo "== the Release build in $DIR/, every warning an error"
timed "Release build" build_release

echo "== clang-tidy"
start=$SECONDS
# The build's compile commands without the precompiled header: clang would
# take GCC's .gch beside it for its own and stop.
mkdir -p "$DIR/tidy"
sed 's# -Winvalid-pch -include [^ ]*/cmake_pch\.hxx##' "$DIR/compile_commands.json" \
  >"$DIR/tidy/compile_commands.json"
# The largest files first, so that the last ones to finish are short and the
# cores stay busy to the end.
mapfile -t sources < <(find "${FOLDERS[@]}" -name '*.cpp' -printf '%s %p\n' | sort -k1,1nr -k2 \
  | cut -d ' ' -f 2-)
header_filter="^$PWD/($(IFS='|'; echo "${FOLDERS[*]}"))/"
# The record's own test first: a record that kept a stale verdict would hide
# findings.
if ! ctest --test-dir "$DIR" --output-on-failure --no-tests=error -L lint \
    || ! scripts/tidy.py "$DIR/tidy" scripts/tidy-passed.txt "$header_filter" "${sources[@]}"; then
  failed=1
fi
echo "-- clang-tidy: $((SECONDS - start)) s"

echo "== cppcheck"
start=$SECONDS
if ! cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ --library=qt \
    --enable=warning,style,performance,portability --inline-suppr \
    --suppressions-list=scripts/cppcheck.supp -j "$(nproc)" \
    -I calc -I results -I words -I ui --template='{file}:{line}: {severity} ({id}): {message}' \
    "${FOLDERS[@]}"; then
  failed=1
fi
echo "-- cppcheck: $((SECONDS - start)) s"

echo "== format"
mapfile -t cpp_files < <(git ls-files '*.cpp' '*.h')
# One line for each place that the format would change, without the code.
if ! clang-format-14 --dry-run --Werror "${cpp_files[@]}" 2>"$DIR/format.log"; then
  grep ': error: ' "$DIR/format.log" || cat "$DIR/format.log"
  echo "$(grep -c ': error: ' "$DIR/format.log") places to format"
  failed=1
fi
echo "${#cpp_files[@]} files checked"

echo "== shellcheck"
mapfile -t scripts < <(git ls-files | while IFS= read -r file; do
  case $file in
    *.sh) echo "$file" ;;
    *) [ -f "$file" ] && head -n 1 "$file" | grep -qE '^#!.*[/ ](ba|da)?sh( |$)' && echo "$file" ;;
  esac
done)
# -x follows the scripts' "source scripts/common.sh", paths from the top folder.
if ! shellcheck -x "${scripts[@]}"; then
  failed=1
fi
echo "${#scripts[@]} scripts checked"

if [ "$failed" -ne 0 ]; then
  echo "lint: findings above"
  exit 1
fi
echo "lint: clean"
