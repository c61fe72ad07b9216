// Texts that only the command line shows, each kept once.
#pragma once

#include <string_view>

#include "core/messages/messages.h"

namespace lcu::cli::msg {

inline constexpr std::string_view kProgramDescription = "Workstation of the LCU engine data logger";
inline constexpr std::string_view kProgramName = "lcu";
inline constexpr std::string_view kVersionHelp = "Show the version of lcu and of its USB layer, and exit";
inline constexpr std::string_view kCommandRequired = "A command is required.";
inline constexpr std::string_view kGroupNeedsOneOf = " needs one of:";
inline constexpr std::string_view kRunWithHelp = "Run with --help for more information.";
inline constexpr std::string_view kSettingNotFound = "Setting not found: ";
inline constexpr std::string_view kFailedToWriteSettings = "Failed to write settings to ";
inline constexpr std::string_view kNotAnInteger = "With --integer, TEXT must be a 32-bit decimal number.";
inline constexpr std::string_view kTakesDecimalNumber = " takes a 32-bit decimal number, e.g. 1";
inline constexpr std::string_view kTakesHexNumber = " takes a hexadecimal number of up to four digits, e.g. 04CE";
inline constexpr std::string_view kInvalidSettingName = "A value name cannot be empty or contain \\ or /.";
// A value written where no program reads it: "The programs read Preserve Buffer under
// Corvalent\Settings, not under Settings."
inline constexpr std::string_view kProgramsRead = "The programs read ";
inline constexpr std::string_view kUnderKey = " under ";
inline constexpr std::string_view kNotUnderKey = ", not under ";
inline constexpr std::string_view kProgressCaption = lcu::msg::kDownloadingLogger;
inline constexpr std::string_view kCannotReadDataFile = "Cannot read the data file.";
inline constexpr std::string_view kCannotReadFile = "Cannot read ";
inline constexpr std::string_view kLoadHexContinue = "Replace the LCU firmware. Do you want to continue ?";
inline constexpr std::string_view kLoadedLabel = "Loaded :";
inline constexpr std::string_view kIgnoredLabel = "Ignored :";
inline constexpr std::string_view kVerifiedLabel = "Verified :";
// A result that could not be written to stdout; the system's reason follows on a line of its own.
inline constexpr std::string_view kCouldNotWriteOutput = "Could not write the output.";
// After it, when the path of a saved data file could not be printed: the path follows.
inline constexpr std::string_view kDataFileKeptLcuNotEmptied = "The data file is complete; the LCU was not emptied.";
inline constexpr std::string_view kDataFileIncomplete = lcu::msg::kDataFileIncomplete;
inline constexpr std::string_view kGiveTheMemorySize = "Give the memory size with --units M.";
inline constexpr std::string_view kListNeedsUsb =
    "lcu list shows USB devices: it takes no --simulate, --sim-state or --replay.";
inline constexpr std::string_view kJsonHelp = "Print the result as one JSON value (see README for the fields)";
// Before the number of an LCU in the lines of lcu list: "LCU 0".
inline constexpr std::string_view kLcuLabel = "LCU ";

// Refusals of command-line arguments, after the argument in quotes.
inline constexpr std::string_view kNotAnLcuAddress = " is not an LCU address (hex 0 to FFFF, e.g. 8000 or 0x8000)";
inline constexpr std::string_view kNotAChannelNumber = " is not a channel number (0 to 1023)";
inline constexpr std::string_view kNotARawReading = " is not a 32-bit reading (decimal, or hex after 0x)";
inline constexpr std::string_view kNotAValue = " is not a number";
inline constexpr std::string_view kNotAHexByte = " is not a byte in hex (0 to FF)";
inline constexpr std::string_view kNotADecimalByte = " is not a byte in decimal (-128 to 255)";
inline constexpr std::string_view kNotABinaryByte = " is not a byte in binary (0 to 11111111)";
inline constexpr std::string_view kNotOneCharacter = " is not one character";
inline constexpr std::string_view kNotADevice = " is not BUS:PORT (e.g. 1:4 or 1:4.2) nor a number from 0 to 255";
// After an option and its value: "--session: 70000 is not between 1 and 65536".
inline constexpr std::string_view kNotBetween = " is not between ";
inline constexpr std::string_view kAnd = " and ";

// Refusals of lcu convert --lcu and lcu zero. After the reason a calibration file is not the
// LCU's own: %s the LCU whose file would be used, then the file.
inline constexpr std::string_view kGiveFallback = "; give --fallback to use the calibration of %s (%s).";
inline constexpr std::string_view kZeroNeedsChannelsAndValue = "zero needs CHANNEL... and --value V, or --undo.";

// Questions of the command line's own commands.
inline constexpr std::string_view kWriteMemoryContinue = "Write data to LCU memory. Do you want to continue ?";

// The columns of a monitor window, and the first column of the recorded live values.
inline constexpr std::string_view kColumnId = "ID";
inline constexpr std::string_view kColumnChannel = "Channel";
inline constexpr std::string_view kColumnValue = "Value";
inline constexpr std::string_view kColumnUnits = "Units";
inline constexpr std::string_view kColumnRaw = "Raw";

}  // namespace lcu::cli::msg
