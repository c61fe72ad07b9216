#!/usr/bin/env bash
# The Windows step of the test run: cross-builds lcu.exe, the Qt-free test suites and the
# Windows suite with mingw-w64 (build/mingw), runs them and a smoke run of lcu.exe under Wine
# in a throw-away prefix, builds the installer and the zip, and installs and uninstalls the
# installer there. Prints the step's time. Wine cannot show the LCU's driver (there is no
# LCU) nor the desktop program (Qt for Windows is not available here).
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

./scripts/install-deps.sh

build=build/mingw
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DLCU_WARNINGS_AS_ERRORS=ON -DLCU_BUILD_BENCH=OFF -DCMAKE_CROSSCOMPILING_EMULATOR=wine
cmake --build "$build" -j 2

# A prefix of its own, without the prompts for Wine's .NET and browser add-ons, and headless.
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
# The server and the prefix's own processes start here, with no test's output to hold open.
wineserver -p </dev/null >/dev/null 2>&1
wineboot -i </dev/null >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure --timeout 600

(cd "$build" && cpack)

# The installer, silent as an administrator's script would run it: lcu.exe in Program Files
# and on the user's PATH, and both gone again after the uninstaller.
installed="$WINEPREFIX/drive_c/Program Files/LCU"
wait_for() {  # the installer and the uninstaller may finish after wine returns
  for _ in $(seq 1 30); do
    if eval "$1"; then return 0; fi
    sleep 1
  done
  echo "FAILED: $2" >&2
  return 1
}
user_path() { wine reg query 'HKCU\Environment' /v PATH 2>/dev/null | tr -d '\r' || true; }
wine "$build"/lcu-*-win64.exe /S
wait_for '[ -f "$installed/bin/lcu.exe" ]' "the installer put no lcu.exe in Program Files"
wine 'C:\Program Files\LCU\bin\lcu.exe' --help >/dev/null
user_path | grep -qF 'C:\Program Files\LCU\bin' || { echo "FAILED: lcu.exe is not on the user's PATH" >&2; exit 1; }
wine 'C:\Program Files\LCU\Uninstall.exe' /S
wait_for '[ ! -e "$installed" ]' "the uninstaller left $installed"
if user_path | grep -qF 'C:\Program Files\LCU\bin'; then
  echo "FAILED: the uninstaller left lcu.exe on the user's PATH" >&2
  exit 1
fi
echo "Installer $(basename "$build"/lcu-*-win64.exe): installed and uninstalled"

echo "== Windows step done in $((SECONDS - start)) s =="
