#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary staging folder (DESTDIR) for each
# prefix of the table below and checks the installed tree: the executable,
# the menu entry and the Exec line that starts it, every icon size, the
# metainfo, the one id that ties them together, both freedesktop validators,
# and that the install manifest removes every file the install put down.
#   install_check.sh <cmake> <build dir> <icon drawing.svg>
set -uo pipefail
# shellcheck source=tests/appstream_validate.sh
source "$(dirname "$0")/appstream_validate.sh"

cmake=$1
build=$2
drawing=$3
icon_sizes=(16 22 24 32 48 64 128 256)

# name | install prefix | the Exec line the menu entry must carry
# shellcheck disable=SC2016 # the $ and ` are path characters, not expansions
cases=(
  'system-wide|/usr|Exec=/usr/bin/kalibrix'
  'home folder with a blank and accents|/home/Kovács Anna/.local|Exec="/home/Kovács Anna/.local/bin/kalibrix"'
  'every character that Exec escapes|/opt/a"b`c$d%f|Exec="/opt/a\\"b\\`c\\$d%%f/bin/kalibrix"'
)

work=$(mktemp -d)
# Every install rewrites the build's install_manifest.txt; the one that a
# real install left there is what its uninstall needs, so it is put back.
manifest="$build/install_manifest.txt"
[ -e "$manifest" ] && cp -p "$manifest" "$work/saved-manifest"
restore() {
  if [ -e "$work/saved-manifest" ]; then
    cp -p "$work/saved-manifest" "$manifest"
  else
    rm -f "$manifest"
  fi
  rm -rf "$work"
}
trap restore EXIT

failures=0
fail() {
  echo "FAIL [$name]: $*" >&2
  failures=$((failures + 1))
}

# "width height colour-type" from a PNG's header chunk, or nothing when the
# file does not start as a PNG does.
png_header() {
  local -a b
  read -r -a b <<<"$(od -An -v -tu1 -N26 "$1" | tr '\n' ' ')"
  [ "${#b[@]}" -eq 26 ] || return 0
  [ "${b[*]:0:8}" = "137 80 78 71 13 10 26 10" ] || return 0
  [ "${b[*]:12:4}" = "73 72 68 82" ] || return 0
  echo "$(((b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19]))" \
       "$(((b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23]))" "${b[25]}"
}

check_tree() {
  local root=$1 exec_line=$2

  if [ ! -f "$root/bin/kalibrix" ] || [ ! -x "$root/bin/kalibrix" ]; then
    fail "no executable bin/kalibrix"
  fi

  local entries=("$root"/share/applications/*.desktop)
  if [ "${#entries[@]}" -ne 1 ] || [ ! -f "${entries[0]}" ]; then
    fail "expected one menu entry in share/applications, found: ${entries[*]}"
    return
  fi
  local entry=${entries[0]}
  local id
  id=$(basename "$entry" .desktop)

  local execs
  execs=$(grep '^Exec=' "$entry")
  [ "$execs" = "$exec_line" ] || fail "Exec is [$execs], expected [$exec_line]"
  grep -qx "Icon=$id" "$entry" || fail "Icon is not the id $id: $(grep '^Icon=' "$entry")"
  local out
  if ! out=$(desktop-file-validate "$entry" 2>&1) || [ -n "$out" ]; then
    fail "desktop-file-validate: $out"
  fi

  local size png header
  for size in "${icon_sizes[@]}"; do
    png="$root/share/icons/hicolor/${size}x${size}/apps/$id.png"
    if [ ! -f "$png" ]; then
      fail "no icon $png"
      continue
    fi
    header=$(png_header "$png")
    # Colour type 6: RGBA, so that the icon's background stays transparent.
    [ "$header" = "$size $size 6" ] ||
      fail "$png: header [$header], expected [$size $size 6] (width, height, RGBA)"
  done
  cmp -s "$drawing" "$root/share/icons/hicolor/scalable/apps/$id.svg" ||
    fail "scalable icon missing or not the drawing $drawing"

  [ -f "$root/share/metainfo/$id.metainfo.xml" ] || fail "no metainfo $id.metainfo.xml"
  # The tree form also checks that the component id matches the file name
  # and that the launchable's menu entry is installed.
  if ! out=$(appstream_validate validate-tree "$root"); then
    fail "appstreamcli validate-tree: $out"
  fi
  echo "$out"
}

# The documented uninstall, the manifest's paths placed under the staging
# folder; afterwards no installed file may be left.
check_uninstall() {
  local stage=$1 prefix=$2 list=$3
  local outside
  outside=$(P="$prefix/" awk 'index($0, ENVIRON["P"]) != 1' "$list" | wc -l)
  if [ "$outside" -ne 0 ]; then
    fail "manifest lists $outside paths outside $prefix"
    return
  fi
  sed "s|^|$stage|" "$list" | xargs -d '\n' rm -- || fail "uninstall by the manifest failed"
  local left
  left=$(find "$stage" ! -type d)
  [ -z "$left" ] || fail "left after uninstall: $left"
}

n=0
for row in "${cases[@]}"; do
  IFS='|' read -r name prefix exec_line <<<"$row"
  n=$((n + 1))
  stage="$work/stage$n"
  echo "== $name: $prefix"
  if ! DESTDIR="$stage" "$cmake" --install "$build" --prefix "$prefix" >"$work/log" 2>&1; then
    fail "install failed: $(cat "$work/log")"
    continue
  fi
  mv "$manifest" "$work/manifest$n"
  check_tree "$stage$prefix" "$exec_line"
  check_uninstall "$stage" "$prefix" "$work/manifest$n"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures failed checks" >&2
  exit 1
fi
echo "install tree: all checks passed"
