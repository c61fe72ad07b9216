// What the logger's maintenance commands read, write and store, apart from the commands
// themselves (src/core/commands): where their output files go, the program memory read, the
// logbook fields of a reset, and the status block that initialises a new LCU.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/app/command_context.h"
#include "core/link/lcu_protocol.h"
#include "core/logger/logger_header.h"

namespace lcu {

/// Memory size that Initialize LCU gives a new LCU (in units of 512 KiB).
inline constexpr std::uint16_t kInitialMemorySize = 2;
/// The largest LCU number Initialize LCU accepts.
inline constexpr std::int64_t kLargestLcuNumber = 65535;

/// The status block (LCU 0x8000 to 0x803F, header 0x00 to 0x3F).
using StatusBlock = std::array<std::uint8_t, kBlockSize>;

/// Where Read Hex File writes the dump unless told otherwise: Read.bin in the family's root.
std::string DefaultProgramDumpPath();
/// Where Extract Setup writes the header unless told otherwise: libs/extract.stp in the root.
std::string DefaultSetupExtractPath();

/// The transfers of Read Hex File: its set-up request and one bulk read of the whole program
/// memory (LCU 0x0000 to 0x7FFF), into kProgramMemorySize bytes. Null when they could not
/// be allocated or a transfer failed (which closes the link); the command's message has then
/// been shown.
std::unique_ptr<std::uint8_t[]> ReadProgramMemory(CommandContext& ctx);

/// A 64-byte write into LCU memory: the set-up request and its one bulk write. False when
/// either failed (which closes the link); nothing is shown.
bool WriteBlock(CUsbDevice& device, std::uint16_t address, std::span<const std::uint8_t> block);

/// Saves a command's output file over whatever that file held, reporting a failure with the
/// command's own message for the step that failed (notCreated or notWritten), the path and
/// the system's reason. The old file stays as it was unless the save succeeds.
bool SaveOutputFile(CommandContext& ctx, const std::string& path, std::span<const std::uint8_t> bytes,
                    std::string_view notCreated, std::string_view notWritten);

/// The logbook fields of a header after a reset: the reset time (a Windows file-time count)
/// at 0x88, the logbook counters and records cleared, every other byte as it was.
void ResetLogbookFields(LoggerHeader& header, std::uint64_t resetFileTime);

/// Checks the text of the Initialize LCU dialog's number field. Returns the text to show when
/// it is not an integer (blanks around it allowed) or lies outside 0 to 65535; the dialog
/// stays open on it. A text that passes reads as its number with ParseDecimalInt.
std::optional<std::string> ValidateInitLcuNumber(std::string_view text);

/// The status block Initialize LCU writes: zeros, memory size 2, and the LCU number.
StatusBlock InitLcuBlock(std::uint16_t lcuNumber);

}  // namespace lcu
