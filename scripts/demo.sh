#!/usr/bin/env bash
# Builds the programs and runs the main job against the simulated LCU in a throw-away
# profile: provision the sample setup, poll the LCU and show its status, show the first
# memory rows of its logger header, then download its data and show what the data file holds.
# On a desktop it then opens the desktop program on the same simulated LCU.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset default > /dev/null
cmake --build --preset default --target lcu corvalent

lcu=build/default/src/cli/lcu
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
export HOME="$profile" XDG_CONFIG_HOME="$profile/.config"
state="$profile/lcu-state"

echo "== lcu sim-setup =="
"$lcu" --sim-state "$state" sim-setup
echo "== lcu status =="
"$lcu" --sim-state "$state" status
echo "== lcu peek 8000 16 =="
"$lcu" --sim-state "$state" peek 8000 16
echo "== lcu download =="
data_file=$("$lcu" --sim-state "$state" download)
echo "$data_file"
echo "== lcu dat-info =="
"$lcu" dat-info "$data_file"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "== corvalent (close its window to end) =="
  build/default/src/gui/corvalent --sim-state "$state"
else
  echo "(no display: the desktop program runs with build/default/src/gui/corvalent --simulate)"
fi
