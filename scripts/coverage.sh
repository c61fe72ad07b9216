#!/usr/bin/env bash
# Line coverage of src/ by the test suite: builds the preset "coverage" (Debug, --coverage, in
# build/coverage), runs CTest without the long tests (the soak; the fuzzers are not built) and
# prints gcovr's summary. Counters of an earlier run are cleared first, so the figure is this
# run's alone.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh gcovr

cmake --preset coverage
cmake --build --preset coverage
find build/coverage -name '*.gcda' -delete
# The counters' own complaints go to a file of this run, not into the output the tests check;
# complaints about this build's counters (not about those a test's program writes elsewhere on
# purpose) mean counts were lost, and are shown.
export GCOV_ERROR_FILE="$PWD/build/coverage/gcov-errors.log"
rm -f "$GCOV_ERROR_FILE"
status=0
ctest --preset coverage --timeout 600 --label-exclude long || status=$?
if grep -q "error:$PWD/build/coverage/" "$GCOV_ERROR_FILE" 2>/dev/null; then
  echo "coverage counters were lost (see $GCOV_ERROR_FILE):" >&2
  grep "error:$PWD/build/coverage/" "$GCOV_ERROR_FILE" | sort -u | head -5 >&2
fi
gcovr -r . --filter 'src/' --exclude-unreachable-branches \
  --print-summary --output build/coverage/coverage.txt build/coverage
exit "$status"
