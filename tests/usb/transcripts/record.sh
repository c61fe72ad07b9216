#!/usr/bin/env bash
# Records the transcripts the replay tests play back, from the simulated LCU, with the lcu
# program given as $1 (e.g. build/default/src/cli/lcu). Each NAME.txt is the traffic of one
# command and NAME.out what the command printed (for download: what dat-info tells of the
# data file, without its download time).
set -euo pipefail
lcu=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config"

export LCU_SIM_CLOCK=8:31  # the clock the transcripts were first recorded with

"$lcu" --simulate --record "$here/status.txt" status >"$here/status.out"
"$lcu" --simulate --record "$here/peek.txt" peek 8000 16 >"$here/peek.out"

# A small download: empty the LCU, log for the length of a short monitor run, then download.
"$lcu" sim-setup >/dev/null
"$lcu" --sim-state "$work/lcu" --yes download >/dev/null
"$lcu" --sim-state "$work/lcu" logger start
"$lcu" --sim-state "$work/lcu" monitor 1 --count 2 >/dev/null
"$lcu" --sim-state "$work/lcu" logger stop
file=$("$lcu" --sim-state "$work/lcu" --record "$here/download.txt" --yes download)
"$lcu" dat-info "$file" | grep -v '^Downloaded' >"$here/download.out"
