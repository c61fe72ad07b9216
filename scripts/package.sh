#!/usr/bin/env bash
# Builds the Debian package from the default build and checks it as a technician's machine
# would take it: lintian, the desktop entry, the metainfo, the man pages, the bash completion,
# then the programs as the package installs them, unpacked into a throw-away root and run
# there. Prints the package's path last. scripts/test.sh runs it after the default build.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
build=build/default
[ -f "$build/CMakeCache.txt" ] || cmake --preset default
cmake --build "$build" --target lcu corvalent lcu_man_pages lcu_icons lcu_changelog

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/*.deb)
mkdir -p "$build/packages"
cp "$deb" "$build/packages/"
deb="$build/packages/$(basename "$deb")"

failed=0
fail() {
  echo "FAILED: $*" >&2
  failed=1
}

echo "-- lintian"
lintian --fail-on error "$deb" || fail "lintian reports errors"

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop=$(ls "$root"/usr/share/applications/*.desktop)
appid=$(basename "$desktop" .desktop)
for path in usr/bin/lcu usr/bin/corvalent usr/share/man/man1/lcu.1.gz usr/share/man/man1/corvalent.1.gz \
  usr/share/bash-completion/completions/lcu usr/lib/udev/rules.d/70-lcu.rules \
  "usr/share/metainfo/$appid.metainfo.xml" "usr/share/icons/hicolor/scalable/apps/$appid.svg" \
  usr/share/doc/lcu-workstation/copyright usr/share/doc/lcu-workstation/changelog.Debian.gz; do
  [ -e "$root/$path" ] || fail "the package lacks /$path"
done
for size in 16 24 32 48 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$appid.png"
  file "$icon" | grep -q "PNG image data, $size x $size" || fail "no ${size}x${size} icon"
done

echo "-- desktop entry and metainfo"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$appid.metainfo.xml" || fail "appstreamcli validate"

echo "-- versions"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
version=$("$root/usr/bin/lcu" --version | head -n 1 | cut -d' ' -f2)
[ "$(dpkg-deb -f "$deb" Version)" = "$(dpkg-parsechangelog -l packaging/linux/changelog -S Version)" ] ||
  fail "the package's version is not the change log's"
[[ "$(dpkg-deb -f "$deb" Version)" == "$version"-* ]] || fail "lcu --version says $version, the package another"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$appid.metainfo.xml" ||
  fail "the metainfo has no release $version"

echo "-- man pages"
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(zcat "$page" | groff -man -ww -z 2>&1)
  [ -z "$warnings" ] || fail "groff warns about $(basename "$page"): $warnings"
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man warns about $(basename "$page"): $warnings"
done
manual=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/lcu.1.gz" 2>/dev/null)
commands=$("$root/usr/bin/lcu" --help | awk '/^Subcommands:$/ { inside = 1; next } /^[^ ]/ { inside = 0 } inside && /^  [^ ]/ { print $1 }')
[ -n "$commands" ] || fail "lcu --help lists no commands"
for command in $commands; do
  grep -q "^ *lcu $command\b" <<<"$manual" || fail "lcu.1 does not describe lcu $command"
done
for section in "EXIT STATUS" ENVIRONMENT FILES; do
  grep -q "^$section" <<<"$manual" || fail "lcu.1 has no $section"
done
grep -q LCU_SIM_FAULTS <<<"$manual" || fail "lcu.1 does not describe LCU_SIM_FAULTS"

echo "-- bash completion"
mkdir -p "$work/files/setup"
touch "$work/files/firmware.hex"
completion=$(cd "$work/files" && PATH="$root/usr/bin:$PATH" bash --norc --noprofile -c '
  source /usr/share/bash-completion/bash_completion
  source "$1"
  complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    COMPREPLY=(); _lcu; echo "$*:" $(printf "%s\n" "${COMPREPLY[@]}" | sort -u); }
  complete_words lcu se
  complete_words lcu load-hex ""
  complete_words lcu --sim-state ""
  complete_words lcu logger ""
  complete_words lcu monitor --c' _ "$root/usr/share/bash-completion/completions/lcu")
echo "$completion"
expected="lcu se: send-config session set-clock settings
lcu load-hex : firmware.hex setup
lcu --sim-state : setup
lcu logger : start stop
lcu monitor --c: --count --csv"
[ "$completion" = "$expected" ] || fail "the bash completion offers other words"

echo "-- the programs as installed"
"$root/usr/bin/lcu" --version
status=$("$root/usr/bin/lcu" --simulate status) || fail "lcu --simulate status"
[ "$(head -n 1 <<<"$status")" = "ON LINE" ] || fail "lcu --simulate status: $status"
without_display() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }
without_display "$root/usr/bin/corvalent" --version | grep -qx "corvalent $version" || fail "corvalent --version"
without_display "$root/usr/bin/corvalent" --help | grep -q -- "--simulate" || fail "corvalent --help"

if [ "$failed" -ne 0 ]; then
  echo "The package $deb failed its checks." >&2
  exit 1
fi
echo "Package checked: $deb"
