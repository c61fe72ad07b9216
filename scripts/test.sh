#!/usr/bin/env bash
# Builds the project twice (normal and address/undefined-behaviour sanitizer) and runs the
# test suite of each under CTest, after the Windows step (scripts/windows.sh); then builds and
# checks the Debian package. Installs missing Debian packages first. The long tests (the soak
# and the fuzzers) are scripts/long-tests.sh, which CI runs after this one.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

# lcu.exe and the Qt-free suites cross-built with mingw-w64 and run under Wine; the installer.
echo "== Windows (mingw-w64 cross build, run under Wine) =="
./scripts/windows.sh

for preset in default asan; do
  echo "== ${preset} build =="
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset" --timeout 600 --label-exclude long
done

# The Debian package from the default build, checked and run as installed.
echo "== package =="
./scripts/package.sh
