#!/usr/bin/env bash
# Builds the libFuzzer targets of the input parsers with clang (address and undefined-
# behaviour sanitizers) in build/fuzz and runs each for a while on a copy of its starting
# corpus, so that the corpora in the tree are never written.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS is the run time of each target (default 30); TARGET names one of fuzz/*_fuzzer.cpp
# without the suffix (default: every target). Exits non-zero when a target finds a crash, a
# broken property, a leak or a timeout; the input is kept in build/fuzz/findings/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=30
if [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*_fuzzer.cpp; do
    name=$(basename "$source" _fuzzer.cpp)
    targets+=("$name")
  done
fi
for name in "${targets[@]}"; do
  if [ ! -f "fuzz/${name}_fuzzer.cpp" ]; then
    echo "fuzz.sh: no fuzz target '${name}' (see fuzz/*_fuzzer.cpp)" >&2
    exit 2
  fi
done

# clang and its runtime libraries (libFuzzer and the sanitizers), besides the build tools.
./scripts/install-deps.sh clang libclang-rt-14-dev

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLCU_WARNINGS_AS_ERRORS=ON -DLCU_BUILD_FUZZ=ON -DLCU_BUILD_TESTS=OFF -DLCU_BUILD_BENCH=OFF -DCMAKE_UNITY_BUILD=ON \
  "${launcher[@]}"
cmake --build "$build" --target "${targets[@]/%/_fuzzer}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
findings="$build/findings"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# One target per core at a time: each fuzzer runs on one core for its time.
jobs=$(nproc 2>/dev/null || echo 1)
fuzz_one() {
  local name=$1 corpus="$work/corpus/$1" log="$work/$1.log" status=0
  mkdir -p "$corpus" "$findings/$name"
  if [ -d "fuzz/corpus/$name" ]; then
    cp -r "fuzz/corpus/$name/." "$corpus/"
  fi
  "$build/fuzz/${name}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/$name/" -print_final_stats=1 "$corpus" >"$log" 2>&1 || status=$?
  echo "$status" >"$work/$name.status"
}
for name in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  echo "== ${name}: ${seconds} s =="
  fuzz_one "$name" &
done
wait

failed=()
summary=()
for name in "${targets[@]}"; do
  corpus="$work/corpus/$name"
  log="$work/$name.log"
  status=$(cat "$work/$name.status" 2>/dev/null || echo "?")
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  inputs=$(find "$corpus" -type f | wc -l)
  if [ "$status" = 0 ]; then
    result="nothing found"
  else
    result="FOUND a fault (exit status $status), input kept in $findings/$name/"
    failed+=("$name")
    grep -E "ERROR:|runtime error|property broken|SUMMARY|Test unit written" "$log" | head -n 20 >&2 || true
  fi
  summary+=("$(printf '%-22s %12s executions  %5s corpus inputs  %s' "$name" "${executions:-?}" "$inputs" "$result")")
done

echo "== fuzz summary (${seconds} s per target) =="
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Faults found by: ${failed[*]}" >&2
  exit 1
fi
