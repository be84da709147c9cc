#!/usr/bin/env bash
# Kalibrix as a screen reader sees it: the program runs on a virtual X server
# with its accessibility bridge on, on a private D-Bus session with the
# AT-SPI bus; python3-pyatspi walks the tree before and after a calculation
# typed with xdotool (c_min 12, c_max 500, f_max 1.62, f_min 0.52, f_kf 0.455,
# in tab order, then Space on "Számol").
#
#   e2e_screen_reader.sh <path of kalibrix>
#
# Needs a display (xvfb-run with -noreset), xdotool, dbus-run-session,
# at-spi2-core and python3-pyatspi.
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- "$0" "$@"
fi

program=$(realpath "$1")
view="$(dirname "$0")/screen_reader_view.py"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=$(xdotool search --sync --name '^Kalibrix $' | head -n 1)
/usr/bin/python3 "$view" before
# A click into c_min gives the window the keyboard: there is no window
# manager to activate it. c_min lies at 16, 40 px in Frame1, which lies at
# 16, 16 px in the client area; the field is 105 x 27 px.
xdotool mousemove --window "$window" $((16 + 16 + 52)) $((16 + 40 + 13)) click 1
sleep 0.3
for text in 12 500 1.62 0.52 0.455; do
  xdotool type --delay 20 "$text"
  xdotool key Tab
done
xdotool key space
sleep 1
/usr/bin/python3 "$view" after
