// The logger's maintenance commands: dump the program memory, reset the engine logbook,
// extract the logger setup, initialise a new LCU, view and edit the session data, start and
// stop manual logging, and the three settings toggles that change how the download and the
// upload behave.
//
// Each command runs to completion and shows its own messages. The LCU commands refuse to run
// while a download lets other commands through, and look at the link before they send
// anything. A bulk transfer that moves fewer bytes than the command needs is a failure of the
// command, and an output file counts as written only once it has been committed to disk; it
// replaces an existing file of its name only then, so a failed save leaves that file intact.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/app/command_context.h"
#include "core/host/prompter.h"
#include "core/logger/logger_header.h"

namespace lcu {

/// Memory size that Initialize LCU gives a new LCU (in units of 512 KiB).
inline constexpr std::uint16_t kInitialMemorySize = 2;

/// The session block (LCU 0x8040 to 0x807F, header 0x40 to 0x7F).
using SessionBlock = std::array<std::uint8_t, kBlockSize>;
using StatusBlock = std::array<std::uint8_t, kBlockSize>;

/// Labels of the Session Data dialog, also used wherever the four values are printed.
namespace session_label {
inline constexpr std::string_view kSession = "Session :";
inline constexpr std::string_view kOuting = "Outing :";
inline constexpr std::string_view kLapCount = "Lap Count :";
inline constexpr std::string_view kPaceLaps = "Pace Laps :";
}  // namespace session_label

/// Where Read Hex File writes the dump unless told otherwise: Read.bin in the family's root.
std::string DefaultProgramDumpPath();
/// Where Extract Setup writes the header unless told otherwise: libs/extract.stp in the root.
std::string DefaultSetupExtractPath();

/// The transfers of Read Hex File: its set-up request and one bulk read of the whole program
/// memory (LCU 0x0000 to 0x7FFF), into kProgramMemorySize bytes. Null when they could not
/// be allocated or a transfer failed (which closes the link); the command's message has then
/// been shown.
std::unique_ptr<std::uint8_t[]> ReadProgramMemory(CommandContext& ctx);

/// Read Hex File: dumps the 32768 bytes of program memory into a file.
CommandResult OnReadHexFile(CommandContext& ctx, const std::string& path = DefaultProgramDumpPath());

/// The logbook fields of a header after a reset: the reset time (a Windows file-time count)
/// at 0x88, the logbook counters and records cleared, every other byte as it was.
void ResetLogbookFields(LoggerHeader& header, std::uint64_t resetFileTime);

/// Reset Logbook: asks, reads the header, resets its logbook fields with the local time and
/// writes bytes 0x40 to 0x3FFF back.
CommandResult OnResetLogbook(CommandContext& ctx);

/// Extract Setup: asks, then stores the LCU's 16384-byte header, status part included.
CommandResult OnExtractSetup(CommandContext& ctx, const std::string& path = DefaultSetupExtractPath());

/// Checks the text of the Initialize LCU dialog's number field. Returns the text to show when
/// it is not an integer (blanks around it allowed) or lies outside 0 to 65535; the dialog
/// stays open on it. A text that passes reads as its number with ParseDecimalInt.
std::optional<std::string> ValidateInitLcuNumber(std::string_view text);

/// The status block Initialize LCU writes: zeros, memory size 2, and the LCU number.
StatusBlock InitLcuBlock(std::uint16_t lcuNumber);

/// Initialize LCU: asks for the number, reads whether the LCU holds data and asks before it
/// replaces the LCU's whole status block, saying so when it does: a new status block can
/// leave logged data beyond its memory size unreadable.
CommandResult OnInitializeLcu(CommandContext& ctx);

/// The values the Session Data dialog shows for a session block: session and outing count
/// from 1, the lap count adds the laps since the reset to the lap base.
SessionDataValues SessionValuesOf(const SessionBlock& block);

/// The four values of Session Data in the dialog's order: session, outing, lap count, pace laps.
std::array<std::int32_t, 4> SessionFields(const SessionDataValues& values);

/// What the session block can hold of each value as entered, in the dialog's order: session
/// and outing 1 to 65536, pace laps 0 to 65535, a lap count up to the laps since the reset +
/// 65536 (the lap base's limit). A lap count from 0 up to the laps since the reset leaves a
/// lap base of 0. Anything else would be stored as some other number, so it is refused.
SessionDataRanges SessionValueRanges(const SessionBlock& block);

/// The framework's range message: "Please enter an integer between X and Y.".
std::string EnterIntegerBetween(const IntegerRange& range);

/// The session block after Update with the values entered: each stored value is raised to 0
/// when negative and kept to its low 16 bits; the laps since the reset and every other byte
/// stay as read.
SessionBlock SessionBlockAfterUpdate(const SessionBlock& block, const SessionDataValues& values);

/// Session Data: reads the session block, shows it, and writes it back after Update. Values
/// outside SessionValueRanges are refused with the range message and nothing is written.
/// After a successful write, stored (when given) holds the values the LCU now shows.
CommandResult EditSessionData(CommandContext& ctx, SessionDataValues* stored);

/// The Session Data command.
CommandResult OnSessionData(CommandContext& ctx);

/// Start Logger: flips the manual logging state and writes the logger start word (0x80 on,
/// 0 off). The state and its check mark follow the command even when the write fails; there
/// is no on-line test, a closed link simply makes the write fail.
CommandResult OnStartLogger(CommandContext& ctx);

/// Forgets the manual logging state when the LCU is found off line; sends nothing.
void ResetLoggerStarted(CommandContext& ctx);

/// The settings toggles: flip the setting, set its check mark and store it as 1 or 0 in
/// the profile section "Settings". They do not talk to the LCU.
CommandResult OnAutoDownload(CommandContext& ctx);
CommandResult OnProtectData(CommandContext& ctx);
CommandResult OnPreserveQmt(CommandContext& ctx);

}  // namespace lcu
