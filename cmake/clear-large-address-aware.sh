#!/bin/sh
# Clears the large-address flag (IMAGE_FILE_LARGE_ADDRESS_AWARE, 0x0020) in the file header
# of a 64-bit Windows image, which GNU ld for PE32+ always sets and cannot be told not to.
# Without the flag the system gives the program no address above 2 GiB (see Windows.cmake).
set -eu
image=$1
# The file header follows the 4-byte signature at the offset held in the DOS header's 0x3C;
# its characteristics word is at offset 18 of it.
header=$(od -An -t u4 -j 60 -N 4 "$image" | tr -d ' ')
signature=$(od -An -t x4 -j "$header" -N 4 "$image" | tr -d ' ')
if [ "$signature" != "00004550" ]; then
  echo "$image: not a PE image" >&2
  exit 1
fi
offset=$((header + 4 + 18))
flags=$(od -An -t u1 -j "$offset" -N 1 "$image" | tr -d ' ')
cleared=$((flags & ~0x20))
# shellcheck disable=SC2059 # the octal escape is built on purpose
printf "$(printf '\\%03o' "$cleared")" | dd of="$image" bs=1 seek="$offset" conv=notrunc status=none
