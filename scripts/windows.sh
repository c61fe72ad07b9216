#!/usr/bin/env bash
# The Windows step of the test run. Cross-builds both programs with mingw-w64 (build/mingw):
# lcu.exe, and corvalent.exe against Qt for Windows made from Debian's own Qt source
# (scripts/qt-windows.sh, cached outside the checkout; about 20 minutes when it is missing).
# Then, in a throw-away prefix of the emulator that runs Windows programs here, on a virtual
# display: the Qt-free suites, the Windows suite and the desktop program's suites, the smoke
# runs of both programs; the installer and the zip, the installer installed and uninstalled.
# Prints what does not run under the emulator, what each program weighs and the step's time.
# The emulator cannot show the LCU's driver (there is no LCU) nor the real look of Windows.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

./scripts/install-deps.sh

qt=$(./scripts/qt-windows.sh)
qt_ready=$SECONDS

build=build/mingw
# A build made against another Qt (an older cache) starts afresh: the toolchain file is read
# only when a build folder is made.
if [ -f "$build/CMakeCache.txt" ] && ! grep -qF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$qt/" "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi
# Qt's own toolchain file for consumers of a cross-built Qt: it loads ours (the compilers) and
# adds Qt's folder and its host tools (/usr) to what the build may find.
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DLCU_WARNINGS_AS_ERRORS=ON -DLCU_BUILD_BENCH=OFF -DCMAKE_CROSSCOMPILING_EMULATOR=wine -DCMAKE_UNITY_BUILD=ON
cmake --build "$build" -j 2
built=$SECONDS

# What each program is: a 64-bit image without the large-address flag, importing nothing but
# the system's DLLs (Qt and the compiler's runtime are inside), the desktop program one of the
# window system with no console.
objdump=x86_64-w64-mingw32-objdump
system_dlls='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|SHCORE|OLE32|OLEAUT32|COMDLG32|IMM32|WINMM|WS2_32|UXTHEME|DWMAPI|VERSION|SETUPAPI|SHLWAPI|USERENV|NETAPI32|WTSAPI32|D3D9|D3D11|DXGI|D2D1|DWRITE|AUTHZ|MPR|CRYPT32|BCRYPT|RPCRT4|msvcrt|api-ms-win-[a-z0-9-]+)\.dll$'
for program in "$build/src/cli/lcu.exe" "$build/src/gui/corvalent.exe"; do
  headers=$("$objdump" -p "$program")
  imports=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | sort -u)
  others=$(grep -viE "$system_dlls" <<<"$imports" || true)
  [ -z "$others" ] || { echo "FAILED: $program imports DLLs that are not the system's: $others" >&2; exit 1; }
  grep -q 'large address aware' <<<"$headers" && { echo "FAILED: $program has the large-address flag" >&2; exit 1; }
  subsystem=$(sed -n 's/^Subsystem[[:space:]]*[0-9a-f]* *//p' <<<"$headers")
  stripped=$(mktemp)
  x86_64-w64-mingw32-strip -o "$stripped" "$program"
  echo "$(basename "$program"): $(( $(stat -c %s "$stripped") / 1024 )) KiB stripped, subsystem $subsystem, imports $(tr '\n' ' ' <<<"$imports")"
  rm -f "$stripped"
done
grep -q '(Windows GUI)' <<<"$("$objdump" -p "$build/src/gui/corvalent.exe")" ||
  { echo "FAILED: corvalent.exe opens a console window" >&2; exit 1; }

# A prefix of its own, without the prompts for the emulator's .NET and browser add-ons and
# without menu entries in the host's desktop; a virtual display for the windows platform.
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$display_file"
}
trap cleanup EXIT
for _ in $(seq 1 50); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || { echo "FAILED: the virtual display did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$display_file")"
# The server and the prefix's own processes start here, with no test's output to hold open.
wineserver -p </dev/null >/dev/null 2>&1
wineboot -i </dev/null >/dev/null 2>&1
# Debian's Wine leaves its own fonts out of a new prefix, so a program asking for the faces of
# Windows' dialogs (Tahoma, MS Sans Serif) would get some other font: they go where Windows
# keeps its fonts.
cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/"

echo "== Not run under the emulator =="
cat "$build/tests/not-under-emulator.txt"
ctest --test-dir "$build" --output-on-failure --timeout 600 -j 2
echo "Screenshot of corvalent.exe under the emulator: $build/corvalent-windows.png"
tested=$SECONDS

(cd "$build" && cpack)

# The installer, silent as an administrator's script would run it: both programs in Program
# Files, lcu.exe on the user's PATH, the Start-menu entry to the desktop program, the entry
# in Apps and Features; and all of it gone again after the uninstaller, but the settings.
installed="$WINEPREFIX/drive_c/Program Files/Corvalent"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvalent'
wait_for() {  # the installer and the uninstaller may finish after the emulator returns
  for _ in $(seq 1 30); do
    if eval "$1"; then return 0; fi
    sleep 1
  done
  echo "FAILED: $2" >&2
  return 1
}
user_path() { wine reg query 'HKCU\Environment' /v PATH 2>/dev/null | tr -d '\r' || true; }
uninstall_value() { wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }
start_menu_entry() { find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Corvalent/Corvalent.lnk' 2>/dev/null | head -n 1; }
wine "$build"/corvalent-*-win64.exe /S
wait_for '[ -f "$installed/bin/corvalent.exe" ] && [ -f "$installed/bin/lcu.exe" ]' "the installer did not put both programs in Program Files"
wine 'C:\Program Files\Corvalent\bin\lcu.exe' --help >/dev/null
wine 'C:\Program Files\Corvalent\bin\corvalent.exe' --version | grep -q '^corvalent ' ||
  { echo "FAILED: the installed corvalent.exe does not answer --version" >&2; exit 1; }
user_path | grep -qF 'C:\Program Files\Corvalent\bin' || { echo "FAILED: lcu.exe is not on the user's PATH" >&2; exit 1; }
wait_for '[ -n "$(start_menu_entry)" ]' "the installer made no Start-menu entry Corvalent"
# The shortcut names its target in the system's wide text.
iconv -f UTF-16LE -t UTF-8 "$(start_menu_entry)" 2>/dev/null | tr -d '\0' | grep -qiF 'Corvalent\bin\corvalent.exe' ||
  grep -qaiF 'Corvalent\bin\corvalent.exe' "$(start_menu_entry)" ||
  { echo "FAILED: the Start-menu entry does not start corvalent.exe" >&2; exit 1; }
[ "$(uninstall_value DisplayName)" = Corvalent ] || { echo "FAILED: Apps and Features shows no Corvalent" >&2; exit 1; }
[ "$(uninstall_value Publisher)" = Velmora ] || { echo "FAILED: Apps and Features shows no publisher" >&2; exit 1; }
version=$(sed -n 's/^project(lcu_workstation VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(uninstall_value DisplayVersion)" = "$version" ] || { echo "FAILED: Apps and Features shows no version $version" >&2; exit 1; }
uninstall_value DisplayIcon | grep -qF 'Corvalent\bin\corvalent.exe' || { echo "FAILED: Apps and Features shows no icon" >&2; exit 1; }
size_kib=$(( $(uninstall_value EstimatedSize) ))
[ "$size_kib" -gt 1024 ] || { echo "FAILED: Apps and Features shows the size $size_kib KiB" >&2; exit 1; }
echo "Installed: $(du -sk "$installed" | cut -f1) KiB in Program Files\\Corvalent (Apps and Features: $size_kib KiB)"

wine 'C:\Program Files\Corvalent\bin\lcu.exe' settings set Paths Kept 'the settings stay' >/dev/null
wine 'C:\Program Files\Corvalent\Uninstall.exe' /S
wait_for '[ ! -e "$installed" ]' "the uninstaller left $installed"
wait_for '[ -z "$(start_menu_entry)" ]' "the uninstaller left the Start-menu entry"
if user_path | grep -qF 'C:\Program Files\Corvalent\bin'; then
  echo "FAILED: the uninstaller left lcu.exe on the user's PATH" >&2
  exit 1
fi
if [ -n "$(uninstall_value DisplayName)" ]; then
  echo "FAILED: the uninstaller left the entry in Apps and Features" >&2
  exit 1
fi
wine reg query 'HKCU\Software\VB and VBA Program Settings\Velmora\Paths' /v Kept 2>/dev/null | grep -q 'the settings stay' ||
  { echo "FAILED: the uninstaller took the user's settings" >&2; exit 1; }
echo "Installer $(basename "$build"/corvalent-*-win64.exe): installed and uninstalled"

echo "== Windows step done in $((SECONDS - start)) s (Qt for Windows $((qt_ready - start)) s, build $((built - qt_ready)) s, tests $((tested - built)) s, installer $((SECONDS - tested)) s) =="
