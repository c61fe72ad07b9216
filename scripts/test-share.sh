#!/usr/bin/env bash
# How large the test suite is against the code it tests: non-blank lines of the C and C++
# files git tracks in tests/ against those in src/, bench/ and fuzz/, and their ratio. A
# figure to watch (we aim at a quarter to a third), not a gate.
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
  git ls-files -- "$@" | grep -E '\.(c|cc|cpp|cxx|h|hh|hpp)$' | xargs -r cat | grep -c -v '^[[:space:]]*$' || true
}

tests=$(count tests)
code=$(count src bench fuzz)
echo "tests: ${tests}"
echo "code:  ${code}"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "ratio: %.2f\n", (c > 0 ? t / c : 0) }'
