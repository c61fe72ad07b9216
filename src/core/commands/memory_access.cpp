#include "core/commands/memory_access.h"

#include <array>

#include "core/app/command_guard.h"
#include "core/messages/messages.h"

namespace lcu {

std::optional<std::vector<MemoryRow>> ReadMemoryRows(CUsbDevice& device, std::uint16_t address, int range) {
  std::array<std::uint8_t, kBlockSize> block{};
  if (!device.VendorRead(LCU_READ_BLOCK, address, 0, static_cast<std::uint16_t>(block.size()), block))
    return std::nullopt;
  std::vector<MemoryRow> rows;
  const int count = MemoryRowCount(address, range);
  rows.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    rows.push_back(FormatMemoryRow(static_cast<std::uint16_t>(address + i), block[static_cast<std::size_t>(i)]));
  return rows;
}

CommandResult WriteMemoryDatum(CommandContext& ctx, std::span<const std::uint16_t> addresses, std::uint16_t datum) {
  // The memory window stays usable while a download lets events through.
  const CommandLease run = BeginCommand(ctx);
  if (!run) return CommandResult::kFailed;
  for (const std::uint16_t address : addresses) {
    if (!ctx.device.VendorWrite(LCU_WRITE_WORD, address, datum)) {
      ShowSystemError(ctx.prompter, msg::kFailedToWriteDataToLcu, ctx.device.LastErrorText());
      return CommandResult::kFailed;
    }
  }
  return CommandResult::kDone;
}

}  // namespace lcu
