// The monitor windows' exchange with the LCU: a window's channel list goes to the LCU in
// groups of 16 (written to LCU 0xF710), and after each group the LCU returns one 32-bit
// reading per channel of that group (LCU_READ_CHANNELS). Every monitor window runs it on
// each 200 ms tick, so it allocates nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/link/usb_device.h"

namespace lcu {

using ExchangeBlock = std::array<std::uint8_t, kBlockSize>;

/// The block that names a group of 1 to 16 channels: their numbers as 16-bit little-endian
/// words from offset 0, then one word 0; the rest is 0.
ExchangeBlock BuildExchangeBlock(std::span<const std::uint16_t> group);

/// Fetches one reading for each channel, in order, into readings (at least as long as
/// channels). For each group the list is set up and written (a failure there is not
/// reported and the group's read still follows; a short write closes the link like a failed
/// one, so that read fails), then the readings are read. False when a
/// read failed: the update then has no readings at all and nothing more is sent. No
/// channels means no exchange.
bool ExchangeChannels(CUsbDevice& device, std::span<const std::uint16_t> channels, std::span<std::uint32_t> readings);

}  // namespace lcu
