#!/usr/bin/env bash
# Builds the benchmarks in a Release folder (build/bench) and runs the measurements of the
# program against its physical limits and baselines, one after the other. Each prints its
# figures and, last, its ratio with the goal beside it.
#
#   scripts/bench.sh [--quick]
#
# --quick leaves out the largest downloads (256 MiB at full speed alone takes about four
# minutes), measures the desktop program's event-loop gaps during a 16 MiB download instead
# of 64 MiB, and shortens the runs; without it the whole set takes about fifteen minutes.
# The figures are only worth quoting from an otherwise idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
if [ "${1:-}" = "--quick" ]; then
  quick=1
elif [ $# -gt 0 ]; then
  echo "usage: scripts/bench.sh [--quick]" >&2
  exit 2
fi

./scripts/install-deps.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLCU_BUILD_TESTS=OFF > /dev/null
cmake --build build/bench
bin=build/bench/bench

if [ $quick -eq 1 ]; then
  sizes=(1 64)
  big=64
  monitor_seconds=5
  chart_seconds=20
  startup_runs=7
  live_mib=16
else
  sizes=(1 64 256)
  big=256
  monitor_seconds=10
  chart_seconds=60
  startup_runs=15
  live_mib=64
fi

echo "== Download time against the link model, full speed =="
"$bin/lcu_bench_download_link" --full "${sizes[@]}"
echo "== Download time against the link model, high speed =="
"$bin/lcu_bench_download_link" --high --runs 3 "${sizes[@]}"
echo "== Download throughput against a plain write =="
"$bin/lcu_bench_download_disk" "$big"
echo "== Peak memory of a download =="
"$bin/lcu_bench_download_memory" "$big"
echo "== Event-loop gaps during a $live_mib MiB download at full speed, 4 monitor windows =="
QT_QPA_PLATFORM=offscreen "$bin/lcu_bench_download_responsiveness" "$live_mib"
echo "== Monitor update of 8 windows x 1024 channels =="
QT_QPA_PLATFORM=offscreen "$bin/lcu_bench_monitor" "$monitor_seconds"
echo "== Strip charts of 4 windows x 16 channels against the same windows as lists =="
QT_QPA_PLATFORM=offscreen "$bin/lcu_bench_chart" "$chart_seconds"
echo "== Start-up with 20 monitor windows =="
"$bin/lcu_bench_startup" --runs "$startup_runs"
echo "== Intel-HEX to the firmware image against objcopy =="
"$bin/lcu_bench_hex_objcopy"
