#!/usr/bin/env bash
# The long tests, run by CI after scripts/test.sh: the soak of the desktop program (a minute in
# the normal build, a minute and a half in the sanitizer build; CTest label "long") and every
# parser of outside input under libFuzzer for 30 seconds from the corpora in fuzz/.
# Builds what is missing, so it also works on its own.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

for preset in default asan; do
  echo "== ${preset} soak =="
  cmake --preset "$preset"
  cmake --build --preset "$preset" --target gui_soak
  ctest --preset "$preset" --timeout 600 --label-regex long
done

echo "== fuzzing =="
./scripts/fuzz.sh 30
