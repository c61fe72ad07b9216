// The LCU's program memory: the checksum word that seals its firmware, and the image a fresh
// simulated LCU starts with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/link/lcu_protocol.h"

namespace lcu::sim {

/// Sum modulo 65536 of the little-endian words at 0x2000, 0x2002, ... 0x7FFC of a
/// 32768-byte program memory: the value a firmware upload stores at 0x7FFE.
std::uint16_t ProgramChecksum(std::span<const std::uint8_t> program);

/// A small program image of the given firmware version: a boot block below 0x2000, an
/// application from 0x2000 on, zero elsewhere, sealed with its checksum word.
std::vector<std::uint8_t> FreshProgramImage(std::uint16_t firmwareVersion);

}  // namespace lcu::sim
