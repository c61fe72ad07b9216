// peek: LCU memory shown as the memory window shows it, one row per byte.
#include <array>
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>

#include "app/messages.h"
#include "app/vendor_request.h"
#include "cli11.h"
#include "cli_context.h"
#include "command_registry.h"
#include "exit_code.h"
#include "lcu_address.h"
#include "memory/memory_row.h"

namespace lcu::cli {

namespace {

// One LCU_READ_BLOCK request returns this many bytes, and so many rows can be shown.
constexpr std::uint16_t kBlockSize = 64;
constexpr int kDefaultRange = 16;

struct PeekArguments {
  std::string address;
  int range = kDefaultRange;
};

int RunPeek(CliContext& context, const PeekArguments& arguments) {
  std::uint16_t address = 0;
  ParseLcuAddress(arguments.address, address);
  CUsbDevice* device = context.GetOnlineDevice(lcu::msg::kLcuOffline);
  if (!device) return kExitFailed;
  std::array<std::uint8_t, kBlockSize> block{};
  if (!device->VendorRead(LCU_READ_BLOCK, address, 0, kBlockSize, block)) {
    context.GetPrompter().Error(lcu::msg::kFailedToReadLcu);
    return kExitFailed;
  }
  const int rows = MemoryRowCount(address, arguments.range);
  for (int i = 0; i < rows; ++i) {
    const MemoryRow row = FormatMemoryRow(static_cast<std::uint16_t>(address + i), block[static_cast<std::size_t>(i)]);
    std::cout << row.address << ' ' << row.dec << ' ' << row.hex << ' ' << row.ascii << ' ' << row.binary << '\n';
  }
  return kExitOk;
}

}  // namespace

void AddMemoryCommands(CommandRegistry& commands) {
  auto peekArguments = std::make_shared<PeekArguments>();
  CLI::App* peek = commands.AddCommand(
      "peek", "Print LCU memory rows: address, dec, hex, ASCII, binary",
      [peekArguments](CliContext& context) { return RunPeek(context, *peekArguments); });
  peek->add_option("ADDRESS", peekArguments->address, "First LCU address, in hex")
      ->required()
      ->check(LcuAddressValidator());
  peek->add_option("RANGE", peekArguments->range, "Number of bytes, 1 to 64")
      ->check(CLI::Range(1, int{kBlockSize}))
      ->capture_default_str();
}

}  // namespace lcu::cli
