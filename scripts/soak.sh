#!/usr/bin/env bash
# Soaks the desktop program: builds the address/undefined-behaviour sanitizer build in
# build/soak and runs the soak test (monitor windows, the memory window, downloads and random
# unplugs of the simulated LCU) off screen for SECONDS (default 600), then prints its figures:
# downloads, unplugs and the resident size after the first minute and at the end.
#
#   scripts/soak.sh [SECONDS]
#
# LCU_SOAK_RANDOM=N replays the random sequence a failed run printed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-600}"
case "$seconds" in
  '' | *[!0-9]*) echo "usage: scripts/soak.sh [SECONDS]" >&2; exit 2 ;;
esac

launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build/soak -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLCU_WARNINGS_AS_ERRORS=ON -DLCU_SANITIZE=ON \
  -DLCU_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build build/soak --target gui_soak

# A small quarantine: freed memory is reused soon, so the resident size shows what the
# program holds rather than how much it has freed lately.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:quarantine_size_mb=2:thread_local_quarantine_size_kb=64"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
export LCU_SOAK_SECONDS="$seconds"
exec build/soak/tests/gui/gui_soak
