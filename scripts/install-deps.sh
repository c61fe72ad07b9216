#!/usr/bin/env bash
# Installs the build and test dependencies from Debian's packages when any is missing, and
# the packages named as arguments besides (scripts that need more pass them).
# Safe to run again: with everything present it changes nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config binutils mold
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libcli11-dev
  libusb-1.0-0-dev umockdev libumockdev-dev
  g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 wine wine64 nsis
  xvfb xauth
  dpkg-dev lintian desktop-file-utils appstream help2man bash-completion man-db groff-base librsvg2-bin file
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
