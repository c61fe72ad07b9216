// peek and poke: LCU memory shown as the memory window shows it, one row per byte, and one
// value written to a list of addresses as the memory window's write dialog writes it.
#include <array>
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "cli/core_command.h"
#include "cli/exit_code.h"
#include "cli/lcu_address.h"
#include "core/app/command_guard.h"
#include "core/commands/memory_access.h"
#include "core/link/lcu_protocol.h"
#include "core/memory/memory_entry.h"
#include "core/messages/messages.h"

namespace lcu::cli {

namespace {

constexpr int kDefaultRange = 16;

struct PeekArguments {
  std::string address;
  int range = kDefaultRange;
};

int RunPeek(CliContext& context, const PeekArguments& arguments) {
  std::uint16_t address = 0;
  ParseLcuAddress(arguments.address, address);
  CUsbDevice* device = context.GetOnlineDevice(OfflineForm::kPlain);
  if (!device) return kExitFailed;
  const std::optional<std::vector<MemoryRow>> rows = ReadMemoryRows(*device, address, arguments.range);
  if (!rows) {
    ShowSystemError(context.GetPrompter(), lcu::msg::kFailedToReadLcu, device->LastErrorText());
    return kExitFailed;
  }
  for (const MemoryRow& row : *rows)
    std::cout << row.address << ' ' << row.dec << ' ' << row.hex << ' ' << row.ascii << ' ' << row.binary << '\n';
  return kExitOk;
}

struct PokeArguments {
  std::vector<std::string> addresses;
  // The value under its format, by the format's number; the parse lets exactly one through.
  std::array<std::optional<std::string>, 4> values;
};

// Writing memory replaces what the LCU holds there, so it asks first, as the commands that
// replace data do. The value was checked by its option's validator.
int RunPoke(CliContext& context, const PokeArguments& arguments) {
  std::vector<std::uint16_t> addresses(arguments.addresses.size());
  for (std::size_t i = 0; i < addresses.size(); ++i) ParseLcuAddress(arguments.addresses[i], addresses[i]);
  std::size_t format = 0;
  while (!arguments.values[format]) ++format;
  const std::optional<std::uint16_t> datum =
      ParseByteDatum(static_cast<DatumFormat>(format), *arguments.values[format]);
  return RunCoreCommand(context, [&addresses, datum](CommandContext& ctx) {
    if (RefusedOffline(ctx, OfflineForm::kPlain)) return CommandResult::kFailed;
    if (!ctx.prompter.AskQuestion(msg::kWriteMemoryContinue)) return CommandResult::kDeclined;
    return WriteMemoryDatum(ctx, addresses, *datum);
  });
}

// Refuses a value that is not a byte of the option's format, naming the value.
CLI::Validator ByteValidator(DatumFormat format, std::string_view refusal) {
  return CLI::Validator(
      [format, refusal](std::string& text) {
        return ParseByteDatum(format, text) ? std::string() : "'" + text + "'" + std::string(refusal);
      },
      "BYTE");
}

}  // namespace

void AddMemoryCommands(CommandRegistry& commands) {
  auto peekArguments = std::make_shared<PeekArguments>();
  CLI::App* peek =
      commands.AddCommand("peek", "Print LCU memory rows: address, dec, hex, ASCII, binary",
                          [peekArguments](CliContext& context) { return RunPeek(context, *peekArguments); });
  peek->add_option("ADDRESS", peekArguments->address, "First LCU address, in hex")
      ->required()
      ->check(LcuAddressValidator());
  peek->add_option("RANGE", peekArguments->range, "Number of bytes, 1 to 64")
      ->check(CLI::Range(1, static_cast<int>(kBlockSize)))  // one LCU_READ_BLOCK brings them
      ->capture_default_str();

  auto pokeArguments = std::make_shared<PokeArguments>();
  CLI::App* poke =
      commands.AddCommand("poke", "Write one value to each LCU address, as the memory window's write does",
                          [pokeArguments](CliContext& context) { return RunPoke(context, *pokeArguments); });
  poke->add_option("ADDRESS", pokeArguments->addresses, "LCU addresses, in hex, written in this order")
      ->required()
      ->check(LcuAddressValidator());
  CLI::Option_group* formats = poke->add_option_group("Format", "The value, in one of four formats");
  const struct {
    DatumFormat format;
    const char* name;
    const char* description;
    std::string_view refusal;
  } formatOptions[] = {
      {DatumFormat::kHex, "--hex", "Value in hex, 0 to FF", msg::kNotAHexByte},
      {DatumFormat::kAscii, "--ascii", "Value as the code of one character", msg::kNotOneCharacter},
      {DatumFormat::kDec, "--dec", "Value in decimal, -128 to 255 (-1 is FF)", msg::kNotADecimalByte},
      {DatumFormat::kBin, "--bin", "Value in binary, 0 to 11111111", msg::kNotABinaryByte},
  };
  for (const auto& option : formatOptions)
    formats->add_option(option.name, pokeArguments->values[static_cast<std::size_t>(option.format)], option.description)
        ->check(ByteValidator(option.format, option.refusal));
  formats->require_option(1);
}

}  // namespace lcu::cli
