#!/usr/bin/env bash
# Drives `panelhost view` through a real X display as a pilot would: xdotool moves the pointer,
# clicks, turns the wheel, holds the button and presses keys in the viewer's window.
#   view_test.sh controls PANELHOST PROBE WORKDIR  the controls work and the window shows it
#   view_test.sh record PANELHOST PROBE WORKDIR    a recorded session replays with `run`
# Uses $DISPLAY, or an Xvfb of its own when there is none. Every wait polls against a generous
# limit, so a loaded machine makes the test slower, not wrong.
set -uo pipefail
mode=$1
panelhost=$2
probe=$3
work=$4
limit=60 # seconds that any one wait may take
log=$work/viewer.log
viewer=""
xvfb=""

fail() {
  echo "view test ($mode): $*"
  [ -f "$log" ] && sed 's/^/  viewer said: /' "$log"
  exit 1
}
cleanup() {
  [ -n "$viewer" ] && kill "$viewer" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  true
}
trap cleanup EXIT

# poll CMD...: runs CMD until it succeeds; fails after the limit.
poll() {
  local end=$((SECONDS + limit))
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    [ -z "$viewer" ] || kill -0 "$viewer" 2>/dev/null || fail "the viewer ended early"
    sleep 0.1
  done
}

command -v xdotool >/dev/null || fail "expected xdotool (scripts/setup installs it)"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "expected to make $work"

if [ -z "${DISPLAY:-}" ]; then
  n=150
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=:$n
  poll xdotool getmouselocation >/dev/null 2>&1 || fail "expected Xvfb to start on $DISPLAY"
fi

scale=1
# Window pixels for panel pixels: a point at the middle of its pixel, a region from its edge.
at() { awk -v p="$1" -v s="$scale" 'BEGIN { printf "%d", (p + 0.5) * s }'; }
edge() { awk -v p="$1" -v s="$scale" 'BEGIN { printf "%d", p * s }'; }
move() { xdotool mousemove --window "$window" "$(at "$1")" "$(at "$2")"; }
click() { move "$1" "$2" && xdotool click 1; }

said() { [ "$(grep -c -- "$1" "$log")" -ge "${2:-1}" ]; }

start_viewer() {
  "$panelhost" view "$@" >"$log" 2>&1 &
  viewer=$!
  poll said '^view: showing' || fail "expected the viewer to show the panel"
  window=$(timeout "$limit" xdotool search --sync --onlyvisible --pid "$viewer" | head -n1)
  [ -n "$window" ] || fail "expected a window of the viewer on $DISPLAY"
  # Keys go to the focused window; without a window manager nothing else focuses it.
  xdotool windowfocus "$window" 2>/dev/null || true
}

shots=0
# Sets $shot to the file of a new screenshot, taken with S.
screenshot() {
  shots=$((shots + 1))
  xdotool key s
  poll said '^view: screenshot written to ' $shots || fail "expected screenshot $shots"
  shot=$(grep '^view: screenshot written to ' "$log" | sed -n "${shots}s/^view: screenshot written to //p")
}

# Sets $lit, $mean and $digest for a region of a screenshot given in panel pixels.
probe() {
  local numbers
  numbers=$("$probe" "$1" "$(edge "$2")" "$(edge "$3")" "$(edge "$4")" "$(edge "$5")") ||
    fail "expected to read $1"
  read -r _ lit _ mean _ digest <<<"$numbers"
}

quit_viewer() {
  xdotool key q
  local end=$((SECONDS + limit))
  while kill -0 "$viewer" 2>/dev/null; do
    [ $SECONDS -lt $end ] || fail "expected the viewer to quit on Q"
    sleep 0.1
  done
  wait "$viewer"
  local status=$?
  viewer=""
  [ $status -eq 0 ] || fail "expected exit status 0 after Q, got $status"
  said '^view: module unloaded' || fail "expected the module unloaded on Q"
}

# Panel pixels of the built-in stack: Com1Nav1 at (0, 0), Transponder at (0, 163), ADF at (0, 274).
com_display=(14 36 70 18)    # inside the COM active display
hundreds_drum=(222 196 14 18) # the transponder's hundreds drum
thousands_drum=(155 196 14 18)
faceplate=(130 140 60 20) # of the COM half, under no bright element

case $mode in
controls)
  scale=1.25 # clicks must land on what is drawn under the pointer at any scale
  start_viewer --scale $scale
  screenshot
  before=$shot
  click 93 117 # the COM/NAV power switch
  move 240 233 && xdotool click 4 # the wheel up over the hundreds knob
  screenshot
  after=$shot
  xdotool key l
  screenshot
  night=$shot
  quit_viewer

  probe "$before" "${com_display[@]}"
  [ "$lit" -eq 0 ] || fail "expected the COM display dark before power on, got $lit lit pixels"
  probe "$after" "${com_display[@]}"
  [ "$lit" -ge 40 ] || fail "expected the COM display lit after the power switch, got $lit lit pixels"
  day=$mean
  probe "$night" "${com_display[@]}"
  [ "$lit" -ge 40 ] || fail "expected the COM display lit at night too, got $lit lit pixels"

  probe "$before" "${hundreds_drum[@]}"
  drum=$digest
  probe "$after" "${hundreds_drum[@]}"
  [ "$digest" != "$drum" ] || fail "expected the hundreds drum to turn under the wheel"
  probe "$before" "${thousands_drum[@]}"
  drum=$digest
  probe "$after" "${thousands_drum[@]}"
  [ "$digest" = "$drum" ] || fail "expected the thousands drum to stay where it was"

  probe "$after" "${faceplate[@]}"
  day=$mean
  probe "$night" "${faceplate[@]}"
  [ $((mean * 2)) -lt "$day" ] || fail "expected the faceplate dimmed with panel lights (L), got $mean against $day"
  ;;
record)
  start_viewer --record "$work/pilot.scn"
  # Until the viewer quits, the recording grows in a file beside pilot.scn that then takes its
  # place: a failed or killed viewer never leaves a pilot.scn that is cut short.
  recording() { grep -q -- "$1" .pilot.scn.part-*; }
  click 93 117
  move 240 233 && xdotool click 4 click 4
  move 183 106 && xdotool mousedown 1 # the COM fine knob, held
  # Held from when the viewer took the press: the host repeats after 500 ms, then every 100 ms.
  poll recording '^press Com1Nav1 18[0-9] 10[0-9]$' || fail "expected the press recorded"
  sleep 1.5
  xdotool mouseup 1
  move 110 374 # resting over the ADF's left knob until its tooltip shows
  poll recording '^expect tooltip ADF .* "ADF Frequency select"$' ||
    fail "expected the ADF knob's tooltip after a rest"
  quit_viewer
  ! ls .pilot.scn.part-* >/dev/null 2>&1 || fail "expected the recording's part file gone on Q"

  for wanted in '^start$' '^press Com1Nav1 9[0-9] 11[0-9]$' '^wheel Transponder ' \
    '^advance [0-9]' '^release$' '^expect event 65707 ' '^expect element ADF 6 ' \
    '^expect sim xpdr.code ' '^expect no-event$' '^unload$'; do
    grep -q -- "$wanted" pilot.scn || fail "expected a line $wanted in the recording"
  done
  standby=$(sed -n 's/^expect element Com1Nav1 2 "\(.*\)"$/\1/p' pilot.scn)
  awk -v f="$standby" 'BEGIN { exit !(f >= 121.549) }' ||
    fail "expected the held knob to repeat (COM standby past 121.525), got \"$standby\""

  output=$("$panelhost" run pilot.scn 2>&1)
  status=$?
  echo "$output"
  [ $status -eq 0 ] || fail "expected the recording to replay with exit status 0, got $status"
  passed=$(sed -n 's/^\([0-9]*\) passed, 0 failed$/\1/p' <<<"$output")
  [ "${passed:-0}" -ge 30 ] || fail "expected at least 30 checks held in the replay"
  ;;
*)
  fail "expected the mode controls or record"
  ;;
esac
echo "view test ($mode): passed"
