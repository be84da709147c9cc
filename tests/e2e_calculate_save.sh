#!/usr/bin/env bash
# Kalibrix worked as a person would, in a real X server: xdotool clicks the
# fields, types the worked example, presses "Számol", names the results file
# and presses "Ment"; the file in the adatok folder beside the program must
# hold the 17 expected lines. Then, on a fresh start with f_max left empty,
# "Számol" must bring the message box " Hiba történt", and saving must stay
# impossible.
#
#   e2e_calculate_save.sh <path of kalibrix>
#
# Needs a display and xdotool. Under Xvfb, give the server -noreset: it
# resets whenever its last client ends, here each time the program closes,
# and refuses connections meanwhile. With
# KALIBRIX_E2E_SCREENSHOT set to a file name and ImageMagick's import at hand,
# the screen is saved there once the worked example is calculated (C locale),
# the pointer resting on the graph to show its tool tip.
set -euo pipefail

program=$(realpath "$1")
results_dir="$(dirname "$program")/adatok"
work=$(mktemp -d)
name="e2e_calculate_save_$$"
pid=
created_results_dir=false
[ -d "$results_dir" ] || created_results_dir=true

cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
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

# Control centres in Frame1, as left, top, width, height in twips (15 twips
# are one pixel) from the frame's corner; Frame1 lies at 240, 240 in the
# window's client area.
frame1_left=240
frame1_top=240
declare -A twips=(
  [c_min]="240 600 1575 405"
  [c_max]="2160 600 1575 375"
  [f_kf]="4200 600 1575 375"
  [f_min]="240 1560 1575 375"
  [f_max]="2160 1560 1575 375"
  [c_szort]="4200 1560 1575 375"
  [start]="360 2160 1095 375"
  [kilep]="1800 2160 1095 375"
  [filenev]="4200 2160 1575 375"
  [Command1]="4200 2640 1575 375"
)

window=
window_x=
window_y=

window_visible() {
  window=$(xdotool search --onlyvisible --name '^Kalibrix $' 2>/dev/null | head -n 1)
  [ -n "$window" ]
}

# Starts the program in the given locale and waits for its window: the
# window's position is read from the X server, its size must be the fixed
# 875 x 785 pixels.
start_program() {
  LANG=$1 LC_ALL=$1 QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
  pid=$!
  wait_for 30 window_visible || fail "no window named \"Kalibrix \" appeared"
  local key value width='' height=''
  while IFS='=' read -r key value; do
    case $key in
      X) window_x=$value ;;
      Y) window_y=$value ;;
      WIDTH) width=$value ;;
      HEIGHT) height=$value ;;
    esac
  done < <(xdotool getwindowgeometry --shell "$window")
  if [ "$width" != 875 ] || [ "$height" != 785 ]; then
    fail "window is ${width}x${height}, not 875x785"
  fi
}

# Clicks the middle of a control of Frame1, the keyboard focus given to the
# window first (there is no window manager to do so).
click() {
  local left top width height
  read -r left top width height <<<"${twips[$1]}"
  local x=$((window_x + (frame1_left + left + width / 2) / 15))
  local y=$((window_y + (frame1_top + top + height / 2) / 15))
  timeout 10 xdotool windowfocus --sync "$window" || fail "the window takes no keyboard focus"
  xdotool mousemove --sync "$x" "$y" click 1
}

type_into() {
  click "$1"
  xdotool type --delay 20 "$2"
}

message_box=
message_box_open() {
  message_box=$(xdotool search --onlyvisible --name '^ Hiba t' 2>/dev/null | head -n 1)
  [ -n "$message_box" ]
}
message_box_closed() { ! message_box_open; }

# Waits for the message box, checks its full title and closes it with Enter
# on its OK button.
expect_message_box() {
  wait_for 15 message_box_open || fail "no message box after $1"
  [ "$(xdotool getwindowname "$message_box")" = " Hiba történt" ] \
    || fail "message box titled \"$(xdotool getwindowname "$message_box")\""
  timeout 10 xdotool windowfocus --sync "$message_box" || fail "the message box takes no focus"
  xdotool key Return
  wait_for 15 message_box_closed || fail "the message box does not close on Enter"
}

program_ended() { ! kill -0 "$pid" 2>/dev/null; }

# "Kilép" ends the program, which must exit normally.
exit_program() {
  click kilep
  wait_for 15 program_ended || fail "\"Kilép\" does not end the program"
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
  type_into c_min 12
  type_into c_max 500
  type_into c_szort 10
  type_into f_min 0,52
  type_into f_max 1.62
  type_into f_kf 0,455
  click start
  if [ -n "${KALIBRIX_E2E_SCREENSHOT:-}" ] && [ "$locale" = C.UTF-8 ] \
    && command -v import >/dev/null; then
    # pct_main lies at 240, 240 in Frame7, which lies at 240, 6480.
    xdotool mousemove --sync $((window_x + 480 / 15 + 420)) $((window_y + 6720 / 15 + 60))
    sleep 2
    import -window root "$KALIBRIX_E2E_SCREENSHOT"
  fi
  type_into filenev "$name"
  click Command1

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
  echo "PASS: [$locale] worked example calculated and saved"
}

save_worked_example C.UTF-8 .
# Hungarian settings: the results carry decimal commas, the inputs the points
# that their fields hold.
save_worked_example hu_HU.UTF-8 ,

# --- Scenario 2: a missing input ------------------------------------------

rm -f "$results_dir/$name.txt"
start_program C.UTF-8
type_into c_min 12
type_into c_max 500
type_into c_szort 10
type_into f_min 0,52
type_into f_kf 0,455
click start
expect_message_box "\"Számol\" with f_max empty"

# "Ment" is still hidden: a click at its place saves nothing. The second
# "Számol" and its message show that the click has been handled.
type_into filenev "$name"
click Command1
click start
expect_message_box "the second \"Számol\""
[ ! -e "$results_dir/$name.txt" ] || fail "a file was saved although nothing was calculated"

exit_program
echo "PASS: missing input reported, nothing saved"
