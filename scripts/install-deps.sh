#!/usr/bin/env bash
# Installs the build and test dependencies from Debian's packages when any is missing, and
# the packages named as arguments besides (scripts that need more pass them).
# With --deb-src it also makes the sources of the archive that installed Qt reachable to
# `apt-get source` (scripts/qt-windows.sh builds Qt for Windows from them).
# Safe to run again: with everything present it changes nothing.
set -euo pipefail

deb_src=0
extra=()
for arg in "$@"; do
  if [ "$arg" = --deb-src ]; then deb_src=1; else extra+=("$arg"); fi
done

packages=(
  cmake ninja-build g++ pkg-config binutils mold
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libcli11-dev
  libusb-1.0-0-dev umockdev libumockdev-dev
  g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 wine wine64 fonts-wine nsis
  xvfb xauth xdotool imagemagick fonts-dejavu-core openbox wmctrl x11-utils
  clang-format dpkg-dev lintian desktop-file-utils appstream help2man bash-completion man-db groff-base librsvg2-bin file
  "${extra[@]}"
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The source entry names the archive, suite and component the installed qt6-base-dev came
# from, and the key that archive's binary entry is signed with, so apt verifies the sources
# as it verified the packages.
src_list=/etc/apt/sources.list.d/lcu-workstation-src.sources
if [ "$deb_src" -eq 1 ] && [ ! -f "$src_list" ]; then
  origin=$(apt-cache policy qt6-base-dev | awk '
    /^ +\*\*\* / { installed = 1; next }
    installed && /^ +[0-9]+ / && $2 !~ /^\/var\/lib\/dpkg/ { print $2, $3; exit }')
  if [ -z "$origin" ]; then
    echo "Cannot tell which archive qt6-base-dev was installed from" >&2
    exit 1
  fi
  uri=${origin%% *}
  suite=${origin#* }
  component=${suite#*/}
  suite=${suite%%/*}
  key=$(awk -v uri="$uri" '
    /^$/ { if (match_uri && key != "") { print key; exit } match_uri = 0; key = "" }
    /^URIs:/ { for (i = 2; i <= NF; i++) if ($i == uri || $i == uri "/") match_uri = 1 }
    /^Signed-By:/ { key = $2 }
    END { if (match_uri && key != "") print key }' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
  echo "Adding the source entry $uri $suite $component${key:+ (signed by $key)}"
  {
    echo "Types: deb-src"
    echo "URIs: $uri"
    echo "Suites: $suite"
    echo "Components: $component"
    if [ -n "$key" ]; then echo "Signed-By: $key"; fi
  } | $sudo tee "$src_list" >/dev/null
  $sudo apt-get update -qq
fi
