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
# The counters' own complaints go to a file, not into the output the tests check.
export GCOV_ERROR_FILE="$PWD/build/coverage/gcov-errors.log"
status=0
ctest --preset coverage --timeout 600 --label-exclude long || status=$?
gcovr -r . --filter 'src/' --exclude-unreachable-branches \
  --print-summary --output build/coverage/coverage.txt build/coverage
exit "$status"
