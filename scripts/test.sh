#!/usr/bin/env bash
# Builds the project twice (normal and address/undefined-behaviour sanitizer) and runs the
# whole test suite of each under CTest, after the Windows step (scripts/windows.sh); then
# builds and checks the Debian package and fuzzes every input parser for a short while.
# Installs missing Debian packages first.
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
  ctest --preset "$preset" --timeout 600
done

# The Debian package from the default build, checked and run as installed.
echo "== package =="
./scripts/package.sh

# Every parser of outside input under libFuzzer, 30 seconds each from the corpora in fuzz/;
# scripts/fuzz.sh SECONDS runs them longer.
echo "== fuzzing =="
./scripts/fuzz.sh 30
