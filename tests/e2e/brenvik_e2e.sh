#!/usr/bin/env bash
# End-to-end check of the real program under a virtual X display: it starts,
# shows its main window "Brenvik" at its place and size with the green text
# boxes, and closing the window ends the program with status 0 even while the
# configure-output window is open.
# usage: brenvik_e2e.sh BRENVIK CLOSE_WINDOW OUT_DIR
set -u
brenvik=$1 close_window=$2 out=$3
if [[ -z ${BRENVIK_E2E_INNER:-} ]]; then
  exec env BRENVIK_E2E_INNER=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
mkdir -p "$out"
fail() { echo "FAIL: $*" >&2; kill "$pid" 2>/dev/null; exit 1; }

# Started from another folder: the program must not depend on the current one.
(cd / && exec "$brenvik") & pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Brenvik$' 2>/dev/null | head -1)
[[ -n $wid ]] || fail "no window titled Brenvik within 20 s"

# Nothing below waits a fixed time: each step polls for what it needs to see
# (the window painted, the menu open, the program ended); the bound on the
# tries is only there so that a hung program fails instead of hanging.
# until_seen TRIES COMMAND...: runs COMMAND every 0.1 s until it succeeds.
until_seen() {
  local tries=$1
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

geometry=$(xdotool getwindowgeometry "$wid")
echo "$geometry"
grep -q 'Position: 207,104' <<<"$geometry" || fail "main window not at 207,104"
grep -q 'Geometry: 763x532' <<<"$geometry" || fail "main window client area not 763x532"

# The two text boxes are money green (192, 220, 192): a large share of the
# picture, once the window has been painted.
green_pixels() {
  import -window "$wid" "$out/brenvik-main.png" 2>/dev/null || return 1
  green=$(convert "$out/brenvik-main.png" -format %c histogram:info:- | awk '/#C0DCC0/ {print $1+0}')
  (( ${green:-0} > 100000 ))
}
until_seen 50 green_pixels
echo "money-green pixels: ${green:-0}"
(( ${green:-0} > 100000 )) || fail "the text boxes are not painted money green"

# Edit > Output opens the configure-output window beside the main window. The
# menu is a window of its own: "o" is pressed once it is open.
windows_shown() { (( $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l) >= $1 )); }
xdotool windowfocus --sync "$wid" && xdotool key alt+e
until_seen 200 windows_shown 2 || fail "alt+e opened no menu"
xdotool key o
timeout 10 xdotool search --sync --onlyvisible --name '^configure output$' >/dev/null 2>&1 ||
  fail "Edit > Output showed no configure-output window"

"$close_window" "$wid" || fail "could not send the close request"
program_ended() { ! kill -0 "$pid" 2>/dev/null; }
until_seen 100 program_ended || fail "the program did not end within 10 s of closing its window"
wait "$pid"
status=$?
echo "exit status: $status"
(( status == 0 )) || fail "exit status $status"
echo "PASS"
