#!/usr/bin/env bash
# Checks the sources' layout (scripts/format-check.sh), then builds the project twice (normal
# and address/undefined-behaviour sanitizer) and runs the test suite of each under CTest,
# after the Windows step (scripts/windows.sh); then builds and checks the Debian package.
# Prints each step's time. Installs missing Debian packages first. The long tests (the soak
# and the fuzzers) are scripts/long-tests.sh, which CI runs after this one.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
start=$SECONDS
took() { echo "== $1 took $((SECONDS - $2)) s =="; }

./scripts/format-check.sh

# lcu.exe and the Qt-free suites cross-built with mingw-w64 and run under Wine; the installer.
echo "== Windows (mingw-w64 cross build, run under Wine) =="
step=$SECONDS
./scripts/windows.sh
took "the Windows step" "$step"

for preset in default asan; do
  echo "== ${preset} build =="
  step=$SECONDS
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  took "the ${preset} build" "$step"
  step=$SECONDS
  ctest --preset "$preset" --timeout 600 --label-exclude long
  took "the ${preset} suite" "$step"
done

# The Debian package from the default build, checked and run as installed.
echo "== package =="
step=$SECONDS
./scripts/package.sh
took "the package" "$step"
took "the test run" "$start"
