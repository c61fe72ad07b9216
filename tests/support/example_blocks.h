// Test bytes for the LCU's blocks: a pattern no two nearby offsets share, so that a byte moved
// or taken from the wrong place shows, and a session block with known figures in it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/logger/session_block.h"
#include "core/util/little_endian.h"

namespace lcu::test {

inline std::vector<std::uint8_t> Pattern(std::size_t size, unsigned salt) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 31 + salt) ^ (i >> 8));
  return bytes;
}

/// Laps since the reset 7, session 4, outing 1, lap base 20, pace laps 3; the pattern elsewhere.
inline SessionBlock ExampleSessionBlock() {
  SessionBlock block{};
  std::ranges::copy(Pattern(block.size(), 1), block.begin());
  le::PutU16(block, 0x0A, 7);   // laps since the reset (header 0x4A)
  le::PutU16(block, 0x0C, 4);   // session (0x4C)
  le::PutU16(block, 0x0E, 1);   // outing (0x4E)
  le::PutU16(block, 0x10, 20);  // lap base (0x50)
  le::PutU16(block, 0x3C, 3);   // pace laps (0x7C)
  return block;
}

}  // namespace lcu::test
