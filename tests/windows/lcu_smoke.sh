#!/usr/bin/env bash
# lcu.exe run as a user would run it, under the emulator that runs Windows programs here:
# the sample setup, the simulated LCU's status, a download and what the data file holds (by
# its Windows path), a recorded session played back, a setting written and read back, and a
# plain status without an LCU, which must say OFF LINE, why, and fail; list, which the driver
# cannot serve.
# Usage: lcu_smoke.sh EMULATOR LCU_EXE
set -euo pipefail
emulator=$1
lcu=$2

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Runs lcu.exe; its output without the carriage returns of Windows line ends.
lcu() {
  "$emulator" "$lcu" "$@" | tr -d '\r'
}

# Names beyond ASCII on purpose: the program's text is UTF-8, the system's UTF-16.
# A simulated LCU of its own on every run, so that it has logged data to download.
state="C:\\lcu-smoke\\Zürich LCU $$"
transcript="C:\\lcu-smoke\\Zürich status $$.txt"

lcu sim-setup >/dev/null || fail "sim-setup"
[ "$(lcu --sim-state "$state" status | head -n 1)" = "ON LINE" ] || fail "status of the simulated LCU"

data=$(lcu --sim-state "$state" --yes download) || fail "download"
case "$data" in
  'C:\Velmora\Sample\'*.DAT) ;;
  *) fail "download made '$data', not a data file in C:\\Velmora\\Sample" ;;
esac
lcu dat-info "$data" | grep -qx 'Complete : yes' || fail "dat-info $data"

lcu --sim-state "$state" --record "$transcript" status >/dev/null || fail "status with --record"
[ "$(lcu --replay "$transcript" status | head -n 1)" = "ON LINE" ] || fail "status with --replay"

monitor='D:\Daten Zürich\Motor.nsb'
lcu settings set Corvalent/Settings Monitor "$monitor" || fail "settings set"
[ "$(lcu settings get Corvalent/Settings Monitor)" = "$monitor" ] || fail "settings get"

set +e
status=$(lcu status)
code=$("$emulator" "$lcu" status >/dev/null 2>&1; echo $?)
reason=$("$emulator" "$lcu" status 2>&1 >/dev/null | tr -d '\r')
list=$("$emulator" "$lcu" list 2>&1 | tr -d '\r')
listCode=$("$emulator" "$lcu" list >/dev/null 2>&1; echo $?)
set -e
[ "$status" = "OFF LINE" ] || fail "status without an LCU said '$status'"
[ "$code" = 1 ] || fail "status without an LCU ended with $code"
[ "$reason" = "No LCU is attached." ] || fail "status without an LCU gave the reason '$reason'"
# The driver cannot tell where its LCUs are: list says so and fails.
case "$list" in
  *"cannot list USB devices"*) ;;
  *) fail "list on the driver said '$list'" ;;
esac
[ "$listCode" = 1 ] || fail "list on the driver ended with $listCode"
echo "lcu.exe smoke run passed"
