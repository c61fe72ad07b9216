#!/usr/bin/env bash
# Builds the project twice (normal and address/undefined-behaviour sanitizer) and runs the
# whole test suite of each under CTest, after cross-compiling the Windows driver backend; then
# builds and checks the Debian package and fuzzes every input parser for a short while.
# Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

# The Windows driver backend cannot run here: cross-compile it and the core with mingw-w64 so
# that it at least compiles.
echo "== Windows driver backend (mingw-w64 cross-compile) =="
cmake -S . -B build/mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DLCU_WARNINGS_AS_ERRORS=ON -DLCU_BUILD_TESTS=OFF -DLCU_BUILD_BENCH=OFF
cmake --build build/mingw --target lcu_core lcu_usb_win32

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
