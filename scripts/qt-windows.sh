#!/usr/bin/env bash
# Qt for Windows, made from Debian's own source of the Qt this machine has installed: a static
# release build of Core, Gui, Widgets and Test for x86_64-w64-mingw32, with the windows and
# offscreen platforms and the windows and vista styles, which corvalent.exe and its test suites
# link (scripts/windows.sh). Debian packages no Qt for Windows, but it ships the source of the
# same Qt version as the host's, whose tools (moc, rcc, uic) the cross build then uses.
#
# The result is kept outside the checkout, in
#   ${XDG_CACHE_HOME:-~/.cache}/lcu-workstation/qt-<version>-mingw-static-<hash>
# where the hash covers the Debian version of the source, the options below and the
# toolchain file; a folder is used only when complete (its marker is written last), and a
# change of any of them builds a new one. About half an hour on two cores, once.
#
#   scripts/qt-windows.sh            build when missing, then print the folder
#   scripts/qt-windows.sh --prefix   print the folder only (whether built or not)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

toolchain=$root/cmake/mingw-w64.cmake
# Only what the programs and their tests use. The bundled third-party libraries are built in,
# so the programs import nothing but the system's DLLs. Two traps of this Qt version for
# Windows: Debian's source leaves out the tablet library the windows platform includes, so
# tablet events are off; and with Direct2D off the windows platform misses a font database
# class at link time, so Direct2D stays at its default.
# Qt is optimised for size (-Os), as static Qt builds usually are: a third less compile time
# than -O2 and a smaller program; the programs' own code stays at -O2. Qt's own choice of -O3
# for Core and Gui gives way to it.
# The widgets and text features that no window of the programs uses are off (graphics view,
# the undo framework, calendar and date editing, colour dialog, font box, docks, wizards,
# Markdown, ODF and PDF writing, animated images, session management, style sheets): a
# twentieth less to build. Text is shaped without HarfBuzz (the programs write Latin text
# only; Qt's own shaping maps characters to glyphs one to one), which spares its 47 files.
options=(
  -DBUILD_SHARED_LIBS=OFF
  -DCMAKE_BUILD_TYPE=Release
  "-DCMAKE_C_FLAGS_RELEASE=-Os -DNDEBUG"
  "-DCMAKE_CXX_FLAGS_RELEASE=-Os -DNDEBUG"
  -DQT_USE_DEFAULT_CMAKE_OPTIMIZATION_FLAGS=ON
  -DQT_QMAKE_TARGET_MKSPEC=win32-g++
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DFEATURE_static_runtime=ON
  -DFEATURE_system_zlib=OFF
  -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_png=OFF
  -DFEATURE_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF
  -DFEATURE_freetype=ON
  -DFEATURE_zstd=OFF
  -DFEATURE_icu=OFF
  -DFEATURE_network=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_opengl=OFF
  -DINPUT_opengl=no
  -DFEATURE_vulkan=OFF
  -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_jpeg=OFF
  -DFEATURE_tabletevent=OFF
  -DFEATURE_androiddeployqt=OFF
  -DFEATURE_graphicsview=OFF
  -DFEATURE_graphicseffect=OFF
  -DFEATURE_undocommand=OFF
  -DFEATURE_undostack=OFF
  -DFEATURE_undogroup=OFF
  -DFEATURE_undoview=OFF
  -DFEATURE_calendarwidget=OFF
  -DFEATURE_datetimeedit=OFF
  -DFEATURE_colordialog=OFF
  -DFEATURE_fontcombobox=OFF
  -DFEATURE_dockwidget=OFF
  -DFEATURE_wizard=OFF
  -DFEATURE_columnview=OFF
  -DFEATURE_lcdnumber=OFF
  -DFEATURE_dial=OFF
  -DFEATURE_splashscreen=OFF
  -DFEATURE_systemtrayicon=OFF
  -DFEATURE_textmarkdownreader=OFF
  -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_textodfwriter=OFF
  -DFEATURE_pdf=OFF
  -DFEATURE_movie=OFF
  -DFEATURE_sessionmanager=OFF
  -DFEATURE_style_stylesheet=OFF
)

version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$version" ]; then
  ./scripts/install-deps.sh
  version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
fi
upstream=${version%%+*}
# Parts of the source that the programs never link are left out of the build, which saves a
# part of its time: the minimal and the Direct2D platforms (the programs use the windows
# platform, and off screen for the tests).
trims=(
  "src/plugins/platforms/CMakeLists.txt:/add_subdirectory(minimal)/d"
  "src/plugins/platforms/CMakeLists.txt:/add_subdirectory(direct2d)/d"
)
hash=$( { echo "$version"; printf '%s\n' "${options[@]}" "${trims[@]}"; cat "$toolchain"; } | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lcu-workstation
prefix=$cache/qt-$upstream-mingw-static-$hash
marker=$prefix/.lcu-complete

if [ "${1:-}" = --prefix ]; then
  echo "$prefix"
  exit 0
fi
if [ -f "$marker" ]; then
  echo "Qt $upstream for Windows: $prefix" >&2
  echo "$prefix"
  exit 0
fi

start=$SECONDS
./scripts/install-deps.sh --deb-src
work=$cache/work-$hash
rm -rf "$work" "$prefix"
mkdir -p "$work"
echo "Qt $upstream for Windows is missing: building it into $prefix (about half an hour on two cores)" >&2

# apt checks the source files against the archive's signed index, as it checks packages;
# dpkg-source unpacks them and applies Debian's own patches (debian/patches/series). Its own
# check of the .dsc's signature needs Debian's keyring, which is not installed here: the
# warning it prints about that is expected.
echo "-- getting the source of qt6-base $version" >&2
(cd "$work" && apt-get source --download-only -qq "qt6-base-dev=$version" >&2)
dsc=$(ls "$work"/qt6-base_*.dsc)
dpkg-source -x "$dsc" "$work/src" >&2
for trim in "${trims[@]}"; do
  file=$work/src/${trim%%:*}
  before=$(wc -l <"$file")
  sed -i "${trim#*:}" "$file"
  [ "$(wc -l <"$file")" -lt "$before" ] || { echo "FAILED: the source has changed: '${trim#*:}' takes nothing out of ${trim%%:*}" >&2; exit 1; }
done

echo "-- configuring (options hash $hash)" >&2
log=$work/build.log
if ! cmake -S "$work/src" -B "$work/build" -G Ninja -Wno-dev \
       -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
       -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
       "${options[@]}" >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  echo "FAILED: configuring Qt for Windows (the whole log: $log)" >&2
  exit 1
fi

# One line of progress per tenth of the build; the whole log stays in the work folder when
# something fails.
echo "-- building" >&2
if ! NINJA_STATUS="[%f/%t] " ninja -C "$work/build" >>"$log" 2>&1 \
     < /dev/null; then
  grep -B2 -A12 -m 3 -E 'error|FAILED' "$log" >&2 || tail -n 40 "$log" >&2
  echo "FAILED: building Qt for Windows (the whole log: $log)" >&2
  exit 1
fi &
build_pid=$!
while kill -0 "$build_pid" 2>/dev/null; do
  sleep 30
  progress=$(grep -o '^\[[0-9]*/[0-9]*\]' "$log" | tail -n 1 || true)
  if [ -n "$progress" ]; then echo "   $progress after $((SECONDS - start)) s" >&2; fi
done
wait "$build_pid"

echo "-- installing" >&2
ninja -C "$work/build" install >>"$log" 2>&1 </dev/null
rm -rf "$work"
echo "$version" >"$marker"
# Builds for another version or other options are of no use any more.
for other in "$cache"/qt-*-mingw-static-*; do
  [ "$other" = "$prefix" ] || rm -rf "$other"
done
echo "Qt $upstream for Windows built in $((SECONDS - start)) s, $(du -sh "$prefix" | cut -f1) in $prefix" >&2
echo "$prefix"
