#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kalibrix worked as a person would, in a real X server: xdotool clicks the
# fields, types the worked example, presses "Számol", names the results file
# and presses "Ment"; the file in the adatok folder beside the program must
# hold the 17 expected lines. Then, on a fresh start with f_max left empty,
# "Számol" must bring the message box " Hiba történt", and saving must stay
# impossible.
#
#   e2e_calculate_save.sh <path of kalibrix> [<results folder>]
#
# The results folder is the adatok folder beside the program unless another
# is given, as for an installed program that saves in the user's data folder.
#
# Needs a display, xdotool, dbus-run-session, at-spi2-core and
# python3-pyatspi: the controls' places and the keyboard focus are read from
# the running program through AT-SPI, as a screen reader reads them. Under
# Xvfb, give the server -noreset: it resets whenever its last client ends,
# here each time the program closes, and refuses connections meanwhile. Every
# wait is bounded and fails saying what it waited for. With
# KALIBRIX_E2E_SCREENSHOT set to a file name and ImageMagick's import at hand,
# the screen is saved there once the worked example is calculated (C locale),
# the pointer resting on the graph to show its tool tip.
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- "$0" "$@"
fi

program=$(realpath "$1")
view="$(dirname "$0")/screen_reader_view.py"
results_dir=${2:-"$(dirname "$program")/adatok"}
work=$(mktemp -d)
name="e2e_calculate_save_$$"
pid=
created_results_dir=false
[ -d "$results_dir" ] || created_results_dir=true

cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    wait_for 10 program_ended || kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -f "$results_dir/$name.txt"
  if $created_results_dir; then rmdir "$results_dir" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/program.log" ]; then
    echo "--- program output ---" >&2
    cat "$work/program.log" >&2
  fi
  exit 1
}

# wait_for SECONDS COMMAND...: runs the command every 0.1 s until it succeeds.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

window=
window_x=
window_y=

program_window() {
  window=$(xdotool search --onlyvisible --pid "$pid" --name '^Kalibrix $' 2>/dev/null | head -n 1)
  [ -n "$window" ]
}

# The places of the controls on the screen, "x y width height" by their
# accessible names, as the running program reports them.
declare -A place=()
graph="A bemenőkör elhangolódása"
ment_in_window=

# read_places NAME...: waits until the named controls are on the screen, then
# reads the places of all.
read_places() {
  local places x y width height name
  places=$(/usr/bin/python3 "$view" places "$pid" "$@") || fail "no places for $*"
  while read -r x y width height name; do
    place[$name]="$x $y $width $height"
  done <<<"$places"
}

# Starts the program in the given locale and waits for its window: the
# window's position is read from the X server, its size must be the fixed
# 875 x 785 pixels.
start_program() {
  LANG=$1 LC_ALL=$1 QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$program" >"$work/program.log" 2>&1 &
  pid=$!
  place=()
  wait_for 60 program_window || fail "no window named \"Kalibrix \" appeared within 60 s"
  local key value width='' height=''
  while IFS='=' read -r key value; do
    case $key in
      X) window_x=$value ;;
      Y) window_y=$value ;;
      WIDTH) width=$value ;;
      HEIGHT) height=$value ;;
    esac
  done < <(timeout 10 xdotool getwindowgeometry --shell "$window")
  if [ "$width" != 875 ] || [ "$height" != 785 ]; then
    fail "window is ${width}x${height}, not 875x785"
  fi
  read_places "C_h_min ( pf )" "Számol" "Kilép" "Mentés neve"
}

# The centre of a control, "x y" on the screen.
centre_of() {
  local x y width height
  read -r x y width height <<<"${place[$1]}"
  echo "$((x + width / 2)) $((y + height / 2))"
}

# Clicks the middle of the named control, the keyboard focus given to the
# window first (there is no window manager to do so).
click() {
  local x y
  read -r x y <<<"$(centre_of "$1")"
  click_at "$x" "$y"
}

click_at() {
  timeout 10 xdotool windowfocus --sync "$window" || fail "the window takes no keyboard focus"
  timeout 10 xdotool mousemove --sync "$1" "$2" click 1 || fail "xdotool could not click at $1, $2"
}

# Clicks into the named field and types once it holds the focus.
type_into() {
  click "$1"
  /usr/bin/python3 "$view" focused "$pid" "$1" || fail "the click gave $1 no focus"
  timeout 20 xdotool type --delay 20 "$2" || fail "xdotool could not type into $1"
}

message_box=
message_box_open() {
  message_box=$(xdotool search --onlyvisible --name '^ Hiba t' 2>/dev/null | head -n 1)
  [ -n "$message_box" ]
}

# Waits for the message box and checks its full title; then, until the box
# is gone, gives it the keyboard focus and presses Enter on its OK button
# whenever it holds the focus (an Enter sent earlier would be lost).
expect_message_box() {
  wait_for 30 message_box_open || fail "no message box within 30 s after $1"
  [ "$(xdotool getwindowname "$message_box")" = " Hiba történt" ] \
    || fail "message box titled \"$(xdotool getwindowname "$message_box")\""
  local deadline=$((SECONDS + 30))
  while message_box_open; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the message box did not close on Enter within 30 s"
    if [ "$(timeout 10 xdotool getwindowfocus || true)" = "$message_box" ]; then
      timeout 10 xdotool key Return || true
    else
      timeout 10 xdotool windowfocus "$message_box" 2>/dev/null || true
    fi
    sleep 0.2
  done
}

program_ended() { ! kill -0 "$pid" 2>/dev/null; }

# "Kilép" ends the program, which must exit normally.
exit_program() {
  click "Kilép"
  wait_for 30 program_ended || fail "\"Kilép\" did not end the program within 30 s"
  local status=0
  wait "$pid" || status=$?
  pid=
  [ "$status" -eq 0 ] || fail "the program exited with status $status"
}

# --- Scenario 1: the worked example, calculated and saved -----------------

# save_worked_example LOCALE SEPARATOR
# Lines 2 to 17 must be those recorded in data/worked_example_lines.txt, the
# results (lines 8 to 17) with the locale's decimal SEPARATOR; the inputs
# keep the points that the fields put in place of the typed commas.
save_worked_example() {
  local locale=$1 separator=$2
  rm -f "$results_dir/$name.txt"
  start_program "$locale"
  type_into "C_h_min ( pf )" 12
  type_into "C_h_max ( pf )" 500
  type_into "C szórt kapacitás ( pf )" 10
  type_into "fmin ( MHz)" 0,52
  type_into "fmax ( MHz)" 1.62
  type_into "középfrekvencia ( MHz )" 0,455
  click "Számol"
  # "Ment" shows once the calculation has run. Its place in the window is
  # kept for the run where it stays hidden.
  read_places "Ment" "$graph"
  local x y
  read -r x y <<<"$(centre_of "Ment")"
  ment_in_window="$((x - window_x)) $((y - window_y))"
  if [ -n "${KALIBRIX_E2E_SCREENSHOT:-}" ] && [ "$locale" = C.UTF-8 ] \
    && command -v import >/dev/null; then
    read -r x y _ <<<"${place[$graph]}"
    timeout 10 xdotool mousemove --sync $((x + 420)) $((y + 60)) || fail "xdotool could not point"
    sleep 2
    import -window root "$KALIBRIX_E2E_SCREENSHOT"
  fi
  type_into "Mentés neve" "$name"
  click "Ment"

  local file="$results_dir/$name.txt"
  file_complete() { [ -f "$file" ] && [ "$(grep -c $'\r$' "$file")" -eq 17 ]; }
  wait_for 15 file_complete || fail "[$locale] no 17-line file $file"

  sed "7,\$ s/\\./$separator/" "$(dirname "$0")/data/worked_example_lines.txt" >"$work/expected"
  tail -n +2 "$file" >"$work/lines2to17"
  if ! cmp -s "$work/expected" "$work/lines2to17"; then
    diff <(cat -A "$work/expected") <(cat -A "$work/lines2to17") >&2 || true
    fail "[$locale] lines 2 to 17 differ from the worked example"
  fi
  if [ "$(wc -l <"$file")" -ne 17 ] || [ "$(tail -c 2 "$file" | od -An -c | tr -d ' ')" != '\r\n' ]; then
    fail "[$locale] the file does not end in CR LF after line 17"
  fi

  # Line 1: the date as the C library writes it under the program's locale
  # (date +%x), blanks, then the time with seconds.
  local first
  first=$(head -n 1 "$file" | tr -d '\r')
  if ! [[ "$first" =~ ^([^\ ].*[^\ ])\ +[0-9]{1,2}:[0-9]{2}:[0-9]{2}$ ]] \
    || [[ "${BASH_REMATCH[1]}" != "$(LC_ALL=$locale date +%x)" ]]; then
    fail "[$locale] line 1 is \"$first\", not the date and the time"
  fi

  exit_program
  echo "PASS: [$locale] worked example calculated and saved in $file"
}

save_worked_example C.UTF-8 .
# Hungarian settings: the results carry decimal commas, the inputs the points
# that their fields hold.
save_worked_example hu_HU.UTF-8 ,

# --- Scenario 2: a missing input ------------------------------------------

rm -f "$results_dir/$name.txt"
start_program C.UTF-8
type_into "C_h_min ( pf )" 12
type_into "C_h_max ( pf )" 500
type_into "C szórt kapacitás ( pf )" 10
type_into "fmin ( MHz)" 0,52
type_into "középfrekvencia ( MHz )" 0,455
click "Számol"
expect_message_box "\"Számol\" with fmax empty"

# "Ment" is still hidden: a click at its place saves nothing. The second
# "Számol" and its message show that the click has been handled.
type_into "Mentés neve" "$name"
read -r x y <<<"$ment_in_window"
click_at $((window_x + x)) $((window_y + y))
click "Számol"
expect_message_box "the second \"Számol\""
[ ! -e "$results_dir/$name.txt" ] || fail "a file was saved although nothing was calculated"

exit_program
echo "PASS: missing input reported, nothing saved"
