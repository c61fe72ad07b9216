#!/usr/bin/env bash
# corvalent started, closed and started again on a virtual X display under a window manager
# that frames its windows, as a technician's desktop does: each close stores the main window's
# outer frame (in the settings and in the monitor settings file) and the monitor window's
# rectangle, and each start puts the windows back exactly there. Three starts; after each,
# the frame on screen is compared with what was stored and a screenshot is kept in SHOT_DIR.
# In the second, the window is minimized and a second copy started: it ends at once, and
# the running copy's window comes back to the front.
# Usage: window_restarts.sh CORVALENT LCU MAKE_MONITOR_SETTINGS SHOT_DIR
set -euo pipefail
corvalent=$1
lcu_program=$2
make_settings=$3
shot_dir=$4

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# The tools come from Debian's packages (scripts/install-deps.sh installs them); without one
# of them the test cannot show anything, so it fails instead of passing unseen.
needed=(xvfb-run:xvfb openbox:openbox wmctrl:wmctrl xdotool:xdotool xprop:x11-utils xwininfo:x11-utils
  import:imagemagick)
for pair in "${needed[@]}"; do
  command -v "${pair%%:*}" >/dev/null 2>&1 || fail "${pair%%:*} is missing (Debian package ${pair#*:}; scripts/install-deps.sh installs it)"
done

# A display of its own with a free number, and the window manager on it.
if [ -z "${LCU_RESTARTS_ON_DISPLAY:-}" ]; then
  LCU_RESTARTS_ON_DISPLAY=1 exec xvfb-run -a -s '-screen 0 1366x768x24' bash "$0" "$@"
fi

# Settings, lock and setup folder of a user of its own, so that nothing of the person running
# the tests is touched and a copy of theirs that runs does not stop this one.
home=$(mktemp -d)
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
mkdir -p "$shot_dir"

openbox --sm-disable >/dev/null 2>&1 &
window_manager=$!
program=
cleanup() {
  if [ -n "$program" ] && kill -0 "$program" 2>/dev/null; then kill "$program" 2>/dev/null || true; fi
  kill "$window_manager" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT

# Waits up to $1 seconds for the command in $2 to succeed.
wait_for() {
  local deadline=$((SECONDS + $1))
  until eval "$2"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.25
  done
}
wait_for 10 'wmctrl -m >/dev/null 2>&1' || fail "the window manager did not start"

lcu() { "$lcu_program" "$@"; }
lcu sim-setup >/dev/null || fail "sim-setup"
mapfile -t channels < <(lcu --simulate channels | cut -f1 | head -n 4)
[ "${#channels[@]}" -eq 4 ] || fail "the simulated LCU offers fewer than four channels"
settings=$home/Restarts.nsb
"$make_settings" "$settings" "DejaVu Sans" 13 "${channels[@]}" || fail "make_monitor_settings"
lcu settings set Corvalent/Settings Monitor "$settings" || fail "settings set Monitor"

# Left Top Right Bottom of a placement in the settings file: the main window's at byte 144,
# the first monitor window's at byte 188, each after 28 bytes of length, flags, show state
# and the minimized and maximized positions.
file_rect() { od -A n -t d4 -j $(($1 + 28)) -N 16 "$settings" | xargs; }
registry_rect() {
  local edge
  for edge in Left Top Right Bottom; do lcu settings get Corvalent/Settings "$edge" 2>/dev/null || echo none; done | xargs
}

main_window() { xdotool search --onlyvisible --name '^Corvalent' 2>/dev/null | head -n 1; }
# The outer frame on screen, as Left Top Right Bottom: the inner window's place and size
# with the frame's extents the window manager adds round it.
screen_rect() {
  local info x y w h extents l r t b
  info=$(xwininfo -id "$1") || return 1
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/.*Width: *//p' <<<"$info")
  h=$(sed -n 's/.*Height: *//p' <<<"$info")
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ',')
  [ -n "$extents" ] || return 1
  read -r l r t b <<<"$extents"
  echo "$((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))"
}

main_file=$(file_rect 144)
child_file=$(file_rect 188)
echo "stored at first: main window $main_file, monitor window $child_file"

for run in 1 2 3; do
  "$corvalent" --simulate >/dev/null 2>"$shot_dir/start$run.err" &
  program=$!
  wait_for 30 '[ -n "$(main_window)" ]' || fail "start $run: no main window within 30 s"
  window=$(main_window)
  # The window manager frames the window after it is shown; the placement follows.
  wait_for 10 '[ "$(screen_rect "$window")" = "$main_file" ]' ||
    fail "start $run: the main window's frame is at $(screen_rect "$window"), stored was $main_file"
  sleep 1
  [ "$(screen_rect "$window")" = "$main_file" ] ||
    fail "start $run: the main window's frame moved on to $(screen_rect "$window"), stored was $main_file"
  import -window root "$shot_dir/start$run.png" || fail "screenshot"

  if [ "$run" -eq 2 ]; then
    xdotool windowminimize --sync "$window" || fail "the main window could not be minimized"
    second_start=$SECONDS
    status=0
    timeout 20 "$corvalent" --simulate >/dev/null 2>&1 || status=$?
    [ "$status" -eq 0 ] || fail "the second copy ended with $status"
    [ $((SECONDS - second_start)) -lt 10 ] || fail "the second copy took $((SECONDS - second_start)) s to end"
    kill -0 "$program" 2>/dev/null || fail "the running copy ended when a second one started"
    wait_for 10 '[ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]' ||
      fail "the running copy's window did not come to the front on a second start"
    [ "$(xdotool search --onlyvisible --name '^Corvalent' | wc -l)" -eq 1 ] || fail "the second copy showed a window"
    wait_for 10 '[ "$(screen_rect "$window")" = "$main_file" ]' ||
      fail "the main window came back at $(screen_rect "$window"), it was at $main_file"
    import -window root "$shot_dir/second-start.png" || fail "screenshot"
  fi

  # A close request, as the frame's close box sends it.
  wmctrl -ic "$window" || fail "start $run: wmctrl could not ask the main window to close"
  wait_for 30 '! kill -0 "$program" 2>/dev/null' || fail "start $run: the program did not end on a close request"
  status=0
  wait "$program" || status=$?
  program=
  [ "$status" -eq 0 ] || fail "start $run: the program ended with $status: $(tail -n 30 "$shot_dir/start$run.err")"

  echo "after start $run: registry $(registry_rect), file: main window $(file_rect 144), monitor window $(file_rect 188)"
  [ "$(registry_rect)" = "$main_file" ] || fail "start $run: the settings hold $(registry_rect), the frame was $main_file"
  [ "$(file_rect 144)" = "$main_file" ] || fail "start $run: the settings file holds $(file_rect 144), the frame was $main_file"
  [ "$(file_rect 188)" = "$child_file" ] ||
    fail "start $run: the monitor window was stored as $(file_rect 188), it was $child_file"
done
echo "three starts, the same rectangles each time; screenshots in $shot_dir"
