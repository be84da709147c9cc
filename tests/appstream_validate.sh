# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the install and package checks.
#
# appstream_validate <validate | validate-tree> <path>: appstreamcli's
# verdict with --strict, which fails on errors, warnings and infos (pedantic
# hints are shown but pass), network checks left out. One info is let
# through: AppStream before 1.0 (0.16 in Debian 12) does not know the
# <developer> element that replaced <developer_name> in 1.0, and calls it an
# unknown tag. Prints the validator's output; fails when anything else is
# reported.
appstream_validate() {
  local out status=0 others
  out=$(appstreamcli "$1" --no-net --strict "$2" 2>&1) || status=$?
  echo "$out"
  [ "$status" -eq 0 ] && return 0
  others=$(grep -E '^ *[EWI]: ' <<<"$out" | grep -v ': unknown-tag developer$')
  [ -z "$others" ] && grep -qE '^ *[EWI]: ' <<<"$out"
}
