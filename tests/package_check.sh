#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package from build to purge, in this machine (run as root, as
# CI does): scripts/package.sh builds it; lintian must report no error and
# no warning; `dpkg -i` installs it; an ordinary user starts /usr/bin/kalibrix
# under a virtual X server, calculates the worked example and saves it
# (e2e_calculate_save.sh), and the file must land in that user's
# ~/.local/share/kalibrix/adatok; the installed menu entry and metainfo must
# pass their validators; `dpkg --purge` must leave /usr as it was before.
#   package_check.sh <source dir>
set -euo pipefail
source_dir=$1
# shellcheck source=tests/appstream_validate.sh
source "$source_dir/tests/appstream_validate.sh"

user=kalibrix-test
id=hu.kalibrix.kalibrix
work=$(mktemp -d)
created_user=false
installed=false

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cleanup() {
  if $installed; then dpkg --purge kalibrix >/dev/null || true; fi
  if $created_user; then
    pkill -KILL -u "$user" 2>/dev/null || true
    userdel --remove "$user" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

if [ "${KALIBRIX_PACKAGE_TEST:-}" != 1 ]; then
  echo "SKIP: the package test installs into the system; ./test.sh --package runs it"
  exit 77
fi
[ "$(id -u)" -eq 0 ] || fail "the package test installs into the system: run it as root"
if dpkg-query -W -f='${Status}' kalibrix 2>/dev/null | grep -q 'ok installed'; then
  fail "kalibrix is installed already; purge it first (dpkg --purge kalibrix)"
fi

deb=$("$source_dir/scripts/package.sh" | tail -n 1)
[[ "$deb" =~ /kalibrix_[0-9.]+_[a-z0-9]+\.deb$ ]] || fail "package named $deb"
echo "== $deb"

echo "== lintian"
lintian_output=$(lintian -I --pedantic "$deb" 2>&1) || fail "lintian failed: $lintian_output"
echo "$lintian_output"
! grep -E '^[EW]: ' <<<"$lintian_output" || fail "lintian reports errors or warnings"

# Everything under /usr but the byte-compiled Python that a run may leave.
usr_listing() { find /usr -xdev ! -path '*/__pycache__*' | sort; }
usr_listing >"$work/usr-before"

echo "== dpkg -i"
installed=true
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$work/dpkg.log")"

echo "== installed files"
[ -x /usr/bin/kalibrix ] || fail "no /usr/bin/kalibrix"
for f in "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml" \
  /usr/share/icons/hicolor/scalable/apps/$id.svg /usr/share/icons/hicolor/48x48/apps/$id.png \
  /usr/share/man/man1/kalibrix.1.gz /usr/share/man/hu/man1/kalibrix.1.gz \
  /usr/share/doc/kalibrix/copyright /usr/share/doc/kalibrix/changelog.gz; do
  [ -f "$f" ] || fail "not installed: $f"
done
if ! out=$(desktop-file-validate "/usr/share/applications/$id.desktop" 2>&1) || [ -n "$out" ]; then
  fail "desktop-file-validate: $out"
fi
grep -qx 'Exec=/usr/bin/kalibrix' "/usr/share/applications/$id.desktop" \
  || fail "the menu entry does not start /usr/bin/kalibrix"
out=$(appstream_validate validate "/usr/share/metainfo/$id.metainfo.xml") \
  || fail "appstreamcli validate: $out"

echo "== the installed program, saved by an ordinary user"
if ! id "$user" >/dev/null 2>&1; then
  useradd --create-home --shell /bin/bash "$user"
  created_user=true
fi
home=$(getent passwd "$user" | cut -d: -f6)
# The scenario's files, where the user can read them.
mkdir -p "$work/e2e/data"
cp "$source_dir/tests/e2e_calculate_save.sh" "$source_dir/tests/screen_reader_view.py" "$work/e2e/"
cp "$source_dir/tests/data/worked_example_lines.txt" "$work/e2e/data/"
chmod -R a+rX "$work"
# A login's environment, nothing of root's: no XDG_DATA_HOME, so the data
# folder is ~/.local/share.
runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin \
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  bash "$work/e2e/e2e_calculate_save.sh" /usr/bin/kalibrix "$home/.local/share/kalibrix/adatok" \
  || fail "the installed program did not calculate and save as expected"

echo "== dpkg --purge"
installed=false
dpkg --purge kalibrix >"$work/dpkg.log" 2>&1 || fail "dpkg --purge: $(cat "$work/dpkg.log")"
usr_listing >"$work/usr-after"
diff "$work/usr-before" "$work/usr-after" || fail "/usr differs after the purge"
echo "PASS: the package built, passed lintian, installed, saved and purged cleanly"
