// What the memory window and `lcu peek`/`lcu poke` do with the LCU: read 64 bytes at an
// address and format the rows of a run, and write one datum to a list of addresses.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/app/command_context.h"
#include "core/link/usb_device.h"
#include "core/memory/memory_row.h"

namespace lcu {

/// Reads the 64 bytes at the address (always 64, whatever the range) and formats the rows of
/// the run, never past 0xFFFF; nullopt when the read failed.
std::optional<std::vector<MemoryRow>> ReadMemoryRows(CUsbDevice& device, std::uint16_t address, int range);

/// Writes the datum to each address in the given order with LCU_WRITE_WORD, stopping with
/// "Failed to write data to LCU." at the first failure. The caller has checked the link.
CommandResult WriteMemoryDatum(CommandContext& ctx, std::span<const std::uint16_t> addresses, std::uint16_t datum);

}  // namespace lcu
