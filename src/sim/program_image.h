// The LCU's program memory: its size, the part a firmware upload replaces, the checksum word
// that seals that part, and the image a fresh simulated LCU starts with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lcu::sim {

inline constexpr std::size_t kProgramMemorySize = 0x8000;
inline constexpr std::size_t kFirmwareStart = 0x2000;
inline constexpr std::size_t kFirmwareSize = 0x6000;
inline constexpr std::size_t kChecksumAddress = 0x7FFE;
inline constexpr std::uint16_t kFirmwareKey = 0x6B3D;

/// Sum modulo 65536 of the little-endian words at 0x2000, 0x2002, ... 0x7FFC of a
/// 32768-byte program memory: the value a firmware upload stores at 0x7FFE.
std::uint16_t ProgramChecksum(std::span<const std::uint8_t> program);

/// A small program image of the given firmware version: a boot block below 0x2000, an
/// application from 0x2000 on, zero elsewhere, sealed with its checksum word.
std::vector<std::uint8_t> FreshProgramImage(std::uint16_t firmwareVersion);

}  // namespace lcu::sim
