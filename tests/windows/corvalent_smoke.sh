#!/usr/bin/env bash
# corvalent.exe run as a technician runs it, under the emulator that runs Windows programs
# here, on the windows platform with a display (DISPLAY; scripts/windows.sh starts one): it
# starts against a simulated LCU with the monitor settings file of the last run, comes on line
# and shows the monitor window's values; a second start ends at once and leaves it running; a
# download chosen in the Logger menu writes a data file that lcu.exe calls complete; a close
# request ends it, and the registry then holds its window rectangle and the monitor settings
# path. A screenshot of the main window with the monitor window is kept at SCREENSHOT.
# Usage: corvalent_smoke.sh EMULATOR CORVALENT_EXE LCU_EXE MAKE_MONITOR_SETTINGS_EXE SCREENSHOT
set -euo pipefail
emulator=$1
corvalent=$2
lcu_exe=$3
make_settings=$4
screenshot=$5

fail() {
  echo "FAILED: $*" >&2
  exit 1
}
[ -n "${DISPLAY:-}" ] || fail "the smoke run of corvalent.exe needs a display (DISPLAY)"
[ -n "${WINEPREFIX:-}" ] || fail "the smoke run of corvalent.exe needs its own emulator prefix (WINEPREFIX)"
drive_c=$WINEPREFIX/drive_c

lcu() {
  "$emulator" "$lcu_exe" "$@" | tr -d '\r'
}
# Waits up to $1 seconds for the command in $2 to succeed.
wait_for() {
  local deadline=$((SECONDS + $1))
  until eval "$2"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.5
  done
}
main_window() { xdotool search --onlyvisible --name '^Corvalent' 2>/dev/null | head -n 1; }
check_window() { xdotool search --onlyvisible --name '^LCU Check$' 2>/dev/null | head -n 1; }
# Clicks into a window at a point given in hundredths of its width and height.
click_into() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + WIDTH * $2 / 100)) $((Y + HEIGHT * $3 / 100)) click 1
  sleep 0.5
}

# A name beyond ASCII on purpose: the monitor settings path goes through the registry.
run="corvalent-smoke-$$ Zürich"
mkdir -p "$drive_c/$run"
state="C:\\$run\\LCU"
settings="C:\\$run\\Smoke.nsb"
transcript="C:\\$run\\transcript.txt"
lcu sim-setup >/dev/null || fail "sim-setup"
rm -f "$drive_c"/Velmora/Sample/*.DAT

# The monitor window of the last run: the first eight channels the simulated LCU offers.
mapfile -t channels < <(lcu --sim-state "$state" channels | cut -f1 | head -n 8)
[ "${#channels[@]}" -eq 8 ] || fail "the simulated LCU offers fewer than eight channels"
"$emulator" "$make_settings" "$settings" Tahoma 13 "${channels[@]}" || fail "make_monitor_settings"
lcu settings set Corvalent/Settings Monitor "$settings" || fail "settings set Monitor"

start=$SECONDS
"$emulator" "$corvalent" --sim-state "$state" --record "$transcript" &
program=$!
stop_program() {
  if kill -0 "$program" 2>/dev/null; then kill "$program" 2>/dev/null || true; fi
}
trap stop_program EXIT

wait_for 60 '[ -n "$(main_window)" ]' || fail "no main window within 60 s"
window=$(main_window)
echo "main window up after $((SECONDS - start)) s: $(xdotool getwindowname "$window")"

# On line: the poll answered twice and the monitor window's channels are read, each tick.
value_requests() { tr -d '\r' <"$drive_c/$run/transcript.txt" 2>/dev/null | grep -c '^control .* request=47 .* ok=1 ' || true; }
wait_for 30 '[ "$(value_requests)" -ge 5 ]' || fail "the monitor window read no channel values (transcript: $(tail -n 5 "$drive_c/$run/transcript.txt" 2>/dev/null))"
# The LCU check opens by itself when something needs a look (the simulated LCU's clock is not
# the computer's): closed as a technician closes it, with Escape.
if wait_for 10 '[ -n "$(check_window)" ]'; then
  click_into "$(check_window)" 5 5
  xdotool key Escape
  wait_for 10 '[ -z "$(check_window)" ]' || fail "the LCU check did not close on Escape"
fi
# The main window active again, by a click into its empty area beside the monitor window.
click_into "$window" 75 50
import -window root "$screenshot" || fail "screenshot"
echo "screenshot of the main window with its monitor window: $screenshot"

# A second start ends at once and leaves the running copy as it was.
second_start=$SECONDS
"$emulator" "$corvalent" --sim-state "$state" || fail "the second copy ended with $?"
[ $((SECONDS - second_start)) -lt 20 ] || fail "the second copy took $((SECONDS - second_start)) s to end"
kill -0 "$program" 2>/dev/null || fail "the running copy ended when a second one started"

# Download, chosen in the Logger menu with the keyboard as a technician would.
click_into "$window" 75 50
xdotool key --delay 200 alt+l d
wait_for 90 'ls "$drive_c"/Velmora/Sample/*.DAT >/dev/null 2>&1' || fail "the download through the menu wrote no data file"
data=$(cd "$drive_c/Velmora/Sample" && ls -- *.DAT | head -n 1)
complete() { lcu dat-info "C:\\Velmora\\Sample\\$data" 2>/dev/null | grep -qx 'Complete : yes'; }
wait_for 60 complete || fail "lcu.exe does not call $data complete: $(lcu dat-info "C:\\Velmora\\Sample\\$data" 2>&1)"
echo "download through the menu: $data, complete"

# A close request, as the window's close box or the task bar sends it.
"$emulator" taskkill /im corvalent.exe >/dev/null 2>&1 || fail "taskkill could not ask corvalent.exe to close"
wait_for 30 '! kill -0 "$program" 2>/dev/null' || fail "corvalent.exe did not end on a close request"
trap - EXIT
wait "$program" || fail "corvalent.exe ended with $? on a close request"

for edge in Top Left Bottom Right; do
  value=$(lcu settings get Corvalent/Settings "$edge") || fail "no $edge of the main window in the registry"
  [[ "$value" =~ ^-?[0-9]+$ ]] || fail "the $edge of the main window in the registry is '$value'"
done
[ "$(lcu settings get Corvalent/Settings Monitor)" = "$settings" ] || fail "the registry lost the monitor settings path"
[ -s "$drive_c/$run/Smoke.nsb" ] || fail "closing lost the monitor settings file"
echo "corvalent.exe smoke run passed in $((SECONDS - start)) s"
