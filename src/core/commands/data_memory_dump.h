// Dump Data Memory: a raw copy of the LCU's whole data memory (M x 512 KiB from linear
// address 0, the header page included) into a new file, through the block reads of the
// download. It is the way out for an LCU whose header the download refuses: its data can be
// kept before anything is erased. It writes nothing to the LCU and never resets it.
//
// The file is created only where no file of that name exists, and it counts as written only
// once it has been synced to disk. A dump that fails part way keeps the whole units it read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/app/command_context.h"

namespace lcu {

struct DataMemoryDump {
  CommandResult result = CommandResult::kFailed;
  /// The file once it was created (a failed dump keeps what it read in it).
  std::string path;
  /// Bytes of data memory the file holds, and the bytes a complete dump holds.
  std::uint64_t bytesDumped = 0;
  std::uint64_t bytesPlanned = 0;
  /// The header's memory size was refused, so that only a size given by the user can say
  /// how much memory there is.
  bool memorySizeRefused = false;
};

/// The memory size to dump when the user gives one: 1 to kMaxMemorySize units of 512 KiB
/// (past it, the 16-bit page numbers cannot address the memory's end). Returns the text to
/// show when it is refused.
std::optional<std::string> ValidateDumpUnits(std::uint32_t units);

/// Dumps units x 512 KiB of data memory into a new file at path; without units the memory
/// size field of the LCU's header gives them, when it lies in 1 to kMaxMemorySize. One
/// progress step per unit. Shows its own messages.
DataMemoryDump DumpDataMemory(CommandContext& ctx, const std::string& path, std::optional<std::uint16_t> units);

}  // namespace lcu
