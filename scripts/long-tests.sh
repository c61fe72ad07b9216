#!/usr/bin/env bash
# The long tests, run by CI after scripts/test.sh: the soak of the desktop program (a minute in
# the normal build, a minute and a half in the sanitizer build; CTest label "long") and every
# parser of outside input under libFuzzer for 30 seconds from the corpora in fuzz/.
# Builds what is missing, so it also works on its own.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

for preset in default asan; do
  echo "== ${preset} soak: build =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target gui_soak
done
# The two soaks run side by side: each mostly waits on its timers.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
pids=()
for preset in default asan; do
  ctest --preset "$preset" --timeout 600 --label-regex long >"$logs/$preset.log" 2>&1 &
  pids+=($!)
done
soak_failed=0
for i in 0 1; do
  preset=$([ "$i" = 0 ] && echo default || echo asan)
  status=0
  wait "${pids[$i]}" || status=$?
  echo "== ${preset} soak =="
  cat "$logs/$preset.log"
  [ "$status" -eq 0 ] || soak_failed=1
done
[ "$soak_failed" -eq 0 ] || { echo "FAILED: a soak failed (see above)" >&2; exit 1; }

echo "== fuzzing =="
./scripts/fuzz.sh 30
