#!/usr/bin/env bash
# Checks that the C++ sources are laid out as .clang-format says, and names the files that are
# not, with the command that lays them out. Every source file is checked, the changed ones
# among them: the whole tree keeps the layout, so a change that breaks it is found wherever it
# is. With --fix, lays the files out instead.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
  ./scripts/install-deps.sh
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort)
fi

if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc)" -n 25 clang-format --dry-run --Werror 2>"$log"; then
  printf 'FAILED: laid out otherwise than .clang-format says (%s: scripts/format-check.sh --fix):\n' \
    "$(clang-format --version | sed 's/ *(.*//')" >&2
  sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/  \1/p' "$log" | sort -u >&2
  exit 1
fi
echo "Layout: ${#files[@]} source files as .clang-format says"
