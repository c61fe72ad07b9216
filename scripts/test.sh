#!/usr/bin/env bash
# Builds the project twice (normal and address/undefined-behaviour sanitizer) and runs the
# whole test suite of each under CTest. Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

for preset in default asan; do
  echo "== ${preset} build =="
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset" --timeout 600
done
