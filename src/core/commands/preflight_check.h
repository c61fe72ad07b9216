// The pre-flight check: one view, before a run, of everything about the connected LCU that can
// be wrong, each line ok, a warning or an error, with what to do about it. It compares the
// LCU's configuration with the calibration file this workstation would send, its clock with
// the computer's, looks at the memory its logged data takes and whether that data reached
// this computer (the last download record against the header), at the firmware, the hardware
// level and the LCU's registration, and shows the session data.
//
// Reading the LCU is kept apart from judging it: ReadPreflightInputs only reads (the status
// block of the last poll, the checksum word, the header page) and never sends anything that
// changes the LCU; EvaluatePreflight works on what was read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/command_context.h"
#include "core/host/clock.h"
#include "core/logger/logger_header.h"

namespace lcu {

enum class CheckLevel {
  kOk,
  kWarning,
  kError,
};

/// What one line is about, in the order the lines come.
enum class CheckItem {
  kConfiguration,
  kClock,
  kMemory,
  kDownloaded,
  kFirmware,
  kHardwareLevel,
  kRegistration,
  kSession,
};

struct PreflightLine {
  CheckItem item = CheckItem::kConfiguration;
  CheckLevel level = CheckLevel::kOk;
  std::string text;
  std::string action;  // what to do; empty when nothing needs doing
};

/// The last download this computer recorded: the data file the settings name and what its
/// header says.
struct DownloadRecord {
  std::string path;
  std::optional<LoggerHeader> header;  // none when the file cannot be read
  bool complete = false;               // the file holds all the data its header names
};

/// The record of the data file at path: its header and whether the file is as long as that
/// header says; no header when the file cannot be read or is shorter than a header.
DownloadRecord ReadDownloadRecord(const FileSystem& files, const std::string& path);

/// Everything the check judges.
struct PreflightInputs {
  LoggerHeader header;  // the LCU's header page, its status part included
  std::uint16_t programChecksum = 0;
  std::optional<CalibrationImage> calibration;  // the image Send Config would send
  std::string calibrationPath;
  std::string calibrationRefusal;  // why that file was not read, when it is not a regular file
  LocalTime now;
  std::optional<DownloadRecord> lastDownload;  // none when no download was recorded
  int registeredSlot = 0;                      // the slot whose "Serial" is the LCU number; 0 for none
  bool slotFileExists = false;                 // that slot has a calibration file of its own
  std::string hardwareLevel;                   // the setting's text
};

/// Reads what the check needs: refuses as every LCU command does (off line, a download
/// running), then reads the checksum word and the header page, and the host's side (the
/// calibration file, the settings, the last data file). Nullopt when a read failed; the
/// failure has been shown.
std::optional<PreflightInputs> ReadPreflightInputs(CommandContext& ctx);

/// The lines of the check, one per CheckItem in order.
std::vector<PreflightLine> EvaluatePreflight(const PreflightInputs& inputs);

/// The worst level among the lines (kOk for none).
CheckLevel WorstLevel(const std::vector<PreflightLine>& lines);

/// "ok", "warning", "error"; and the item's name ("configuration", "clock", ...).
std::string_view LevelName(CheckLevel level);
std::string_view ItemName(CheckItem item);

/// The 16-bit sum of the header bytes that Send Config takes from the calibration image
/// unchanged: every byte from 0x40 on except the run, lap, session and logbook fields, the
/// QMT data and the buffer positions it lays out afresh.
std::uint16_t ConfigurationChecksum(const LoggerHeader& header);

/// How many of those bytes differ between two headers (a different buffer count counts as
/// a difference of its own bytes).
std::size_t ConfigurationDifferences(const LoggerHeader& lcu, const LoggerHeader& image);

/// The signed difference between the LCU clock (minutes, taken as the time of day) and the
/// computer's local time, in minutes, the shorter way round the day: -720 to 719.
int ClockDriftMinutes(std::uint16_t lcuClockMinutes, const LocalTime& now);

}  // namespace lcu
