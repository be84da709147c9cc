#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kalibrix as a screen reader sees it: the program runs on a virtual X server
# with its accessibility bridge on, on a private D-Bus session with the
# AT-SPI bus; python3-pyatspi walks the tree before and after a calculation
# typed with xdotool (c_min 12, c_max 500, f_max 1.62, f_min 0.52, f_kf 0.455,
# in tab order, then Space on "Számol").
#
#   e2e_screen_reader.sh <path of kalibrix>
#
# Needs a display (xvfb-run with -noreset), xdotool, dbus-run-session,
# at-spi2-core and python3-pyatspi. Every wait is bounded and fails saying
# what it waited for.
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- "$0" "$@"
fi

program=$(realpath "$1")
view="$(dirname "$0")/screen_reader_view.py"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" --name '^Kalibrix $' | head -n 1) \
  || fail "no window named \"Kalibrix \" appeared within 60 s"
/usr/bin/python3 "$view" before

# A click into C_h_min gives the window the keyboard: there is no window
# manager to activate it. The keys follow once the field holds the focus.
field="C_h_min ( pf )"
places=$(/usr/bin/python3 "$view" places "$pid" "$field") || fail "no place for $field"
read -r x y width height _ < <(grep -F " $field" <<<"$places")
timeout 10 xdotool windowfocus --sync "$window" || fail "the window takes no keyboard focus"
timeout 10 xdotool mousemove --sync $((x + width / 2)) $((y + height / 2)) click 1 \
  || fail "xdotool could not click into $field"
/usr/bin/python3 "$view" focused "$pid" "$field"
for text in 12 500 1.62 0.52 0.455; do
  timeout 20 xdotool type --delay 20 "$text" || fail "xdotool could not type $text"
  timeout 10 xdotool key Tab || fail "xdotool could not press Tab"
done
timeout 10 xdotool key space || fail "xdotool could not press Space"
/usr/bin/python3 "$view" after
