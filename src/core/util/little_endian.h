// Explicit little-endian reads and writes of the LCU's wire and file layouts.
// Every multi-byte number exchanged with the LCU or stored in its files is little-endian;
// these helpers never copy structs, so the layouts are the same on every host.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace lcu::le {

// Offsets come from fixed layouts; an offset outside the span is a programming error.
inline void CheckRange(std::size_t size, std::size_t offset, std::size_t width) {
  if (offset > size || width > size - offset) std::abort();
}

inline std::uint8_t U8(std::span<const std::uint8_t> b, std::size_t off) {
  CheckRange(b.size(), off, 1);
  return b[off];
}

inline std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t off) {
  CheckRange(b.size(), off, 2);
  return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}

inline std::int16_t S16(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::int16_t>(U16(b, off));
}

inline std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t off) {
  CheckRange(b.size(), off, 4);
  return static_cast<std::uint32_t>(b[off]) | (static_cast<std::uint32_t>(b[off + 1]) << 8) |
         (static_cast<std::uint32_t>(b[off + 2]) << 16) | (static_cast<std::uint32_t>(b[off + 3]) << 24);
}

inline std::int32_t S32(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::int32_t>(U32(b, off));
}

inline std::uint64_t U64(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::uint64_t>(U32(b, off)) | (static_cast<std::uint64_t>(U32(b, off + 4)) << 32);
}

inline float F32(std::span<const std::uint8_t> b, std::size_t off) { return std::bit_cast<float>(U32(b, off)); }

inline void PutU8(std::span<std::uint8_t> b, std::size_t off, std::uint8_t v) {
  CheckRange(b.size(), off, 1);
  b[off] = v;
}

inline void PutU16(std::span<std::uint8_t> b, std::size_t off, std::uint16_t v) {
  CheckRange(b.size(), off, 2);
  b[off] = static_cast<std::uint8_t>(v & 0xFF);
  b[off + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutU32(std::span<std::uint8_t> b, std::size_t off, std::uint32_t v) {
  CheckRange(b.size(), off, 4);
  for (std::size_t i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

inline void PutU64(std::span<std::uint8_t> b, std::size_t off, std::uint64_t v) {
  PutU32(b, off, static_cast<std::uint32_t>(v & 0xFFFFFFFFu));
  PutU32(b, off + 4, static_cast<std::uint32_t>(v >> 32));
}

inline void PutF32(std::span<std::uint8_t> b, std::size_t off, float v) {
  PutU32(b, off, std::bit_cast<std::uint32_t>(v));
}

}  // namespace lcu::le
