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
# A static library linked into several programs gets counters from each, and libgcov cannot
# always merge them (it then drops that run's counts and gcov prints garbage summary lines,
# which gcovr would otherwise refuse).
gcovr -r . --filter 'src/' --exclude-unreachable-branches --gcov-ignore-parse-errors \
  --print-summary --output build/coverage/coverage.txt build/coverage
exit "$status"
