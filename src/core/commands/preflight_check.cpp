#include "core/commands/preflight_check.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "core/app/command_guard.h"
#include "core/channels/available_channels.h"
#include "core/channels/calibration_file.h"
#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/host/regular_file.h"
#include "core/link/logger_transfers.h"
#include "core/logger/data_file.h"
#include "core/logger/logged_memory_use.h"
#include "core/logger/session_block.h"
#include "core/messages/messages.h"
#include "core/util/decimal_text.h"
#include "core/util/little_endian.h"
#include "core/util/trim_trailing_blanks.h"

namespace lcu {

namespace {

// The check's own texts. The numbers and names are put in where the texts end or between
// two of them.
namespace text {
constexpr std::string_view kSendConfig = "Send Config";
constexpr std::string_view kDownload = "Download";
constexpr std::string_view kNoCalibration = "No calibration file to send: ";
constexpr std::string_view kCopyCalibration = "Copy the LCU's calibration file into the setup folder";
constexpr std::string_view kConfigMatches = "Configuration matches the calibration file: ";
constexpr std::string_view kConfigIdDiffers = "Configuration differs from the calibration file: LCU ";
constexpr std::string_view kConfigBytesDiffer = "Configuration id and version match the calibration file, but ";
constexpr std::string_view kBytesDiffer = " configuration bytes differ";
constexpr std::string_view kFile = ", file ";
constexpr std::string_view kVersion = " version ";
constexpr std::string_view kChecksum = ", checksum ";
constexpr std::string_view kClockAgrees = "LCU clock agrees with the computer: ";
constexpr std::string_view kClockIs = "LCU clock is ";
constexpr std::string_view kBehind = " behind";
constexpr std::string_view kAhead = " ahead of";
constexpr std::string_view kTheComputers = " the computer's: LCU ";
constexpr std::string_view kComputer = ", computer ";
constexpr std::string_view kTimesWillRead = "Times the LCU keeps during the run will read ";
constexpr std::string_view kEarly = " early";
constexpr std::string_view kLate = " late";
constexpr std::string_view kSetOrAllow = ": Set LCU Clock, or allow for the difference when reading them";
constexpr std::string_view kHours = " h ";
constexpr std::string_view kMin = " min";
constexpr std::string_view kClockNotATime = "LCU clock is not a valid time: ";
constexpr std::string_view kMinutesAfterMidnight = " minutes after midnight";
constexpr std::string_view kSetClock =
    "Set LCU Clock before the run: the times the LCU keeps cannot be read until it is set";
constexpr std::string_view kMemoryUsed = "Memory used by logged data: ";
constexpr std::string_view kPercentOf = " % of ";
constexpr std::string_view kKib = " KiB";
constexpr std::string_view kWrapped = ", the buffers have wrapped round (the oldest data is overwritten)";
constexpr std::string_view kInitializeOrSend = "Send Config to lay the buffers out afresh";
constexpr std::string_view kNoData = "No logged data in the LCU";
constexpr std::string_view kDataDownloaded = "The logged data was downloaded to this computer: ";
constexpr std::string_view kDataNotDownloaded = "The LCU holds data that was not downloaded to this computer";
constexpr std::string_view kLastDownloadOther = " (the last download was ";
constexpr std::string_view kNoDownloadRecorded = " (no download recorded)";
constexpr std::string_view kFirmware = "Firmware ";
constexpr std::string_view kProgramChecksum = ", program checksum ";
constexpr std::string_view kNoFirmware = "Firmware version 0: the LCU reports no firmware";
constexpr std::string_view kLoadHexFile = "Load Hex File";
constexpr std::string_view kHardwareLevel = "Hardware level ";
constexpr std::string_view kChannelsOffered = " channels offered";
constexpr std::string_view kNoChannelsOffered = ": no channels offered";
constexpr std::string_view kSetLevel = "Set Config\\Hardware, value Level, to 1 to 5";
constexpr std::string_view kLcu = "LCU ";
constexpr std::string_view kRegisteredInSlot = " is registered in slot ";
constexpr std::string_view kSlotFileMissing = ", but its calibration file is missing: slot 1's is used";
constexpr std::string_view kNotRegistered =
    " is registered in no slot: slot 1's calibration and the general data folder are used";
constexpr std::string_view kRegister =
    "Register the LCU number in a slot: Config\\LCUs\\Serial1 to Serial10, value Serial";
constexpr std::string_view kSession = "Session ";
constexpr std::string_view kOuting = ", outing ";
constexpr std::string_view kLap = ", lap ";
constexpr std::string_view kPaceLaps = ", pace laps ";
}  // namespace text

constexpr std::uint16_t kMinutesPerDay = 24 * 60;
constexpr int kClockTolerance = 2;  // minutes
constexpr std::uint64_t kFullPercent = 90;

std::string Cat(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (const std::string_view part : parts) out += part;
  return out;
}

std::string Hex4(std::uint16_t value) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "%4.4XH", static_cast<unsigned>(value));
  return text.data();
}

std::string ClockText(unsigned minutes) {
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), "%u:%02u", minutes / 60, minutes % 60);
  return text.data();
}

// A length of time as a technician says it: "3 min", "11 h 03 min".
std::string DurationText(int minutes) {
  if (minutes < 60) return Cat({std::to_string(minutes), text::kMin});
  std::array<char, 8> twoDigits{};
  std::snprintf(twoDigits.data(), twoDigits.size(), "%02d", minutes % 60);
  return Cat({std::to_string(minutes / 60), text::kHours, twoDigits.data(), text::kMin});
}

std::string Quoted(std::string text) {
  TrimTrailingBlanks(text);
  return "\"" + text + "\"";
}

std::string IdText(const LoggerHeader& header) {
  return Quoted(header.Text(hdr::kConfigId, hdr::kConfigIdLength)) + std::string(text::kVersion) +
         Quoted(header.Text(hdr::kConfigVersion, hdr::kConfigVersionLength));
}

// Whether Send Config takes a header byte from the calibration image unchanged, for a header
// of n buffers.
bool IsConfigurationByte(std::size_t offset, std::size_t n) {
  struct Span {
    std::size_t from, to;  // [from, to)
  };
  constexpr Span kCarriedOrCleared[] = {
      {0x00, 0x56},                                  // status part, run and session fields
      {hdr::kLogbookFirstBlock, hdr::kQmtWord + 2},  // logbook and QMT word
      {hdr::kPaceLaps, hdr::kPaceLaps + 2},
      {hdr::kLogbook80, hdr::kLogbookTail},  // logbook fields
      {hdr::kLogbookSecondBlock, hdr::kConfigId},
      {hdr::kFirstBufferSize, hdr::kFirstBufferSize + 2},
      {hdr::kQmtBlock, hdr::kQmtBlock + 16},
  };
  for (const Span& span : kCarriedOrCleared)
    if (offset >= span.from && offset < span.to) return false;
  const std::size_t tableEnd = LoggerHeader::EntryOffset(n + 1);
  if (offset >= hdr::kBufferTable && offset < tableEnd) {
    const std::size_t within = (offset - hdr::kBufferTable) % hdr::kBufferEntrySize;
    return within < 2 || within >= 10;  // rate code, weight and the carried word; not the positions
  }
  return true;
}

std::size_t TableBuffers(const LoggerHeader& header) {
  return std::min<std::size_t>(header.BufferCount(), LoggerHeader::MaxBufferCount(kLoggerHeaderSize));
}

// The data of the LCU is the data of the last download when that download was complete and
// came from this LCU's header as it stands now: same LCU, same buffers, same ends.
bool SameData(const LoggerHeader& lcu, const DownloadRecord& record) {
  if (!record.header || !record.complete) return false;
  if (lcu.BufferCount() > LoggerHeader::MaxBufferCount(kLoggerHeaderSize)) return false;
  const LoggerHeader& file = *record.header;
  if (file.LcuNumber() != lcu.LcuNumber() || file.DataPresent() != lcu.DataPresent() ||
      file.WrapFlag() != lcu.WrapFlag() || file.BufferCount() != lcu.BufferCount())
    return false;
  for (std::size_t i = 0; i <= lcu.BufferCount(); ++i)
    if (file.Entry(i) != lcu.Entry(i)) return false;
  return true;
}

PreflightLine ConfigurationLine(const PreflightInputs& in) {
  PreflightLine line{CheckItem::kConfiguration, CheckLevel::kOk, {}, {}};
  if (!in.calibration) {
    line.level = CheckLevel::kError;
    line.text = Cat({text::kNoCalibration, FileErrorLine(in.calibrationPath, in.calibrationRefusal)});
    line.action = text::kCopyCalibration;
    return line;
  }
  const LoggerHeader& lcu = in.header;
  const CalibrationImage& image = *in.calibration;
  const std::string lcuSum = Hex4(ConfigurationChecksum(lcu));
  const std::string fileSum = Hex4(ConfigurationChecksum(image));
  const std::string lcuId = IdText(lcu);
  const std::string fileId = IdText(image);
  if (lcuId != fileId) {
    line.level = CheckLevel::kError;
    line.text =
        Cat({text::kConfigIdDiffers, lcuId, text::kChecksum, lcuSum, text::kFile, fileId, text::kChecksum, fileSum});
    line.action = text::kSendConfig;
    return line;
  }
  const std::size_t differences = ConfigurationDifferences(lcu, image);
  if (differences != 0) {
    line.level = CheckLevel::kWarning;
    line.text = Cat({text::kConfigBytesDiffer, std::to_string(differences), text::kBytesDiffer, text::kChecksum, lcuSum,
                     text::kFile, fileSum});
    line.action = text::kSendConfig;
    return line;
  }
  line.text = Cat({text::kConfigMatches, lcuId, text::kChecksum, lcuSum});
  return line;
}

PreflightLine ClockLine(const PreflightInputs& in) {
  const std::uint16_t minutes = in.header.U16(hdr::kClock);
  // A day has 1440 minutes: a larger count (an erased 0xFFFF, a stray 0x7FFF) is no time of
  // day, and taken modulo a day it would pass for one.
  if (minutes >= kMinutesPerDay)
    return {CheckItem::kClock, CheckLevel::kError,
            Cat({text::kClockNotATime, Hex4(minutes), " (", std::to_string(minutes), text::kMinutesAfterMidnight, ")"}),
            std::string(text::kSetClock)};
  const int drift = ClockDriftMinutes(minutes, in.now);
  const std::string lcu = ClockText(minutes % kMinutesPerDay);
  const std::string computer = ClockText(static_cast<unsigned>(in.now.hour * 60 + in.now.minute));
  if (std::abs(drift) <= kClockTolerance)
    return {CheckItem::kClock, CheckLevel::kOk, Cat({text::kClockAgrees, lcu}), {}};
  const std::string difference = DurationText(std::abs(drift));
  const bool ahead = drift > 0;
  return {CheckItem::kClock, CheckLevel::kWarning,
          Cat({text::kClockIs, difference, ahead ? text::kAhead : text::kBehind, text::kTheComputers, lcu,
               text::kComputer, computer}),
          Cat({text::kTimesWillRead, difference, ahead ? text::kLate : text::kEarly, text::kSetOrAllow})};
}

PreflightLine MemoryLine(const PreflightInputs& in) {
  const LoggerHeader& h = in.header;
  if (h.MemorySize() == 0 || h.MemorySize() > kMaxMemorySize)
    return {CheckItem::kMemory, CheckLevel::kError,
            Cat({msg::kLoggerHeaderInvalid, " ", MemorySizeProblemText(h.MemorySize())}),
            std::string(text::kInitializeOrSend)};
  if (const auto problem = FindBufferTableProblem(h))
    return {CheckItem::kMemory, CheckLevel::kError,
            Cat({msg::kLoggerHeaderInvalid, " ", BufferTableProblemText(*problem)}),
            std::string(text::kInitializeOrSend)};
  const LoggedMemoryUse use = *MemoryUseOf(h);
  const std::uint64_t used = use.usedBytes;
  const std::uint64_t capacity = use.capacityBytes;
  const std::uint64_t percent = use.Percent();
  std::string message = Cat({text::kMemoryUsed, std::to_string(used / 1024), text::kKib, " (", std::to_string(percent),
                             text::kPercentOf, std::to_string(capacity / 1024), text::kKib, ")"});
  const bool wrapped = h.WrapFlag() != 0;
  if (wrapped) message += text::kWrapped;
  if (wrapped || percent >= kFullPercent)
    return {CheckItem::kMemory, CheckLevel::kWarning, message, std::string(text::kDownload)};
  return {CheckItem::kMemory, CheckLevel::kOk, message, {}};
}

PreflightLine DownloadedLine(const PreflightInputs& in) {
  if (in.header.DataPresent() == 0) return {CheckItem::kDownloaded, CheckLevel::kOk, std::string(text::kNoData), {}};
  if (in.lastDownload && SameData(in.header, *in.lastDownload))
    return {CheckItem::kDownloaded, CheckLevel::kOk, Cat({text::kDataDownloaded, in.lastDownload->path}), {}};
  std::string message(text::kDataNotDownloaded);
  message += in.lastDownload ? Cat({text::kLastDownloadOther, in.lastDownload->path, ")"})
                             : std::string(text::kNoDownloadRecorded);
  return {CheckItem::kDownloaded, CheckLevel::kWarning, message, std::string(text::kDownload)};
}

PreflightLine FirmwareLine(const PreflightInputs& in) {
  const std::uint16_t version = in.header.U16(hdr::kFirmwareVersion);
  if (version == 0)
    return {CheckItem::kFirmware, CheckLevel::kWarning, std::string(text::kNoFirmware),
            std::string(text::kLoadHexFile)};
  return {CheckItem::kFirmware,
          CheckLevel::kOk,
          Cat({text::kFirmware, std::to_string(version), ".0", text::kProgramChecksum, Hex4(in.programChecksum)}),
          {}};
}

PreflightLine HardwareLevelLine(const PreflightInputs& in) {
  std::array<std::int32_t, kChannelTableSize> table{};
  const std::size_t offered = FillAvailableChannels(table, ParseDecimalInt(in.hardwareLevel));
  if (offered == 0)
    return {CheckItem::kHardwareLevel, CheckLevel::kWarning,
            Cat({text::kHardwareLevel, Quoted(in.hardwareLevel), text::kNoChannelsOffered}),
            std::string(text::kSetLevel)};
  return {CheckItem::kHardwareLevel,
          CheckLevel::kOk,
          Cat({text::kHardwareLevel, in.hardwareLevel, ": ", std::to_string(offered), text::kChannelsOffered}),
          {}};
}

PreflightLine RegistrationLine(const PreflightInputs& in) {
  const std::string lcu = Cat({text::kLcu, std::to_string(in.header.LcuNumber())});
  if (in.registeredSlot == 0)
    return {CheckItem::kRegistration, CheckLevel::kWarning, Cat({lcu, text::kNotRegistered}),
            std::string(text::kRegister)};
  const std::string registered = Cat({lcu, text::kRegisteredInSlot, std::to_string(in.registeredSlot)});
  if (!in.slotFileExists)
    return {CheckItem::kRegistration, CheckLevel::kWarning, Cat({registered, text::kSlotFileMissing}),
            std::string(text::kCopyCalibration)};
  return {CheckItem::kRegistration, CheckLevel::kOk, registered, {}};
}

PreflightLine SessionLine(const PreflightInputs& in) {
  SessionBlock block{};
  const auto bytes = in.header.Bytes().subspan(kBlockSize, kBlockSize);
  std::copy(bytes.begin(), bytes.end(), block.begin());
  const SessionDataValues v = SessionValuesOf(block);
  return {CheckItem::kSession,
          CheckLevel::kOk,
          Cat({text::kSession, std::to_string(v.session), text::kOuting, std::to_string(v.outing), text::kLap,
               std::to_string(v.lapCount), text::kPaceLaps, std::to_string(v.paceLaps)}),
          {}};
}

}  // namespace

DownloadRecord ReadDownloadRecord(const FileSystem& files, const std::string& path) {
  DownloadRecord record;
  record.path = path;
  std::string reason;
  const std::optional<FileStart> start = files.ReadStart(path, kLoggerHeaderSize, reason);
  if (!start || start->bytes.size() != kLoggerHeaderSize) return record;
  LoggerHeader header;
  std::copy(start->bytes.begin(), start->bytes.end(), header.Bytes().begin());
  record.header = header;
  std::string_view refusal;
  const std::optional<DataFileInfo> info = ReadDataFileInfo(header.Bytes(), start->size, refusal);
  record.complete = info && info->Complete();
  return record;
}

std::uint16_t ConfigurationChecksum(const LoggerHeader& header) {
  const std::size_t n = TableBuffers(header);
  std::uint16_t sum = 0;
  const auto bytes = header.Bytes();
  for (std::size_t offset = kBlockSize; offset < kLoggerHeaderSize; ++offset)
    if (IsConfigurationByte(offset, n)) sum = static_cast<std::uint16_t>(sum + bytes[offset]);
  return sum;
}

std::size_t ConfigurationDifferences(const LoggerHeader& lcu, const LoggerHeader& image) {
  const std::size_t n = std::max(TableBuffers(lcu), TableBuffers(image));
  std::size_t differences = 0;
  for (std::size_t offset = kBlockSize; offset < kLoggerHeaderSize; ++offset)
    if (IsConfigurationByte(offset, n) && lcu.Bytes()[offset] != image.Bytes()[offset]) ++differences;
  return differences;
}

int ClockDriftMinutes(std::uint16_t lcuClockMinutes, const LocalTime& now) {
  const int lcu = lcuClockMinutes % kMinutesPerDay;
  const int computer = (now.hour * 60 + now.minute) % kMinutesPerDay;
  int drift = (lcu - computer) % kMinutesPerDay;
  if (drift < -kMinutesPerDay / 2) drift += kMinutesPerDay;
  if (drift >= kMinutesPerDay / 2) drift -= kMinutesPerDay;
  return drift;
}

std::optional<PreflightInputs> ReadPreflightInputs(CommandContext& ctx) {
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kPlain);
  if (!run) return std::nullopt;
  PreflightInputs in;
  std::array<std::uint8_t, kBlockSize> checksum{};
  if (!ctx.device.VendorRead(LCU_READ_BLOCK, kChecksumAddress, 0, kBlockSize, checksum)) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadLcu, ctx.device.LastErrorText());
    return std::nullopt;
  }
  in.programChecksum = le::U16(checksum, 0);
  if (!ReadLoggerHeader(ctx.device, in.header.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadLcu, ctx.device.LastErrorText());
    return std::nullopt;
  }
  const std::uint16_t lcuNumber = in.header.LcuNumber();
  in.now = ctx.clock.Now();
  in.calibrationPath = GetCalibrationPath(ctx.store, lcuNumber);
  in.calibrationRefusal = NotRegularFileReason(in.calibrationPath).value_or("");
  CalibrationImage image;
  if (LoadCalibration(ctx.store, lcuNumber, image)) in.calibration = image;

  in.registeredSlot = RegisteredSlot(ctx.store, lcuNumber);
  if (in.registeredSlot != 0) in.slotFileExists = ctx.files.Exists(SlotCalibrationPath(ctx.store, in.registeredSlot));
  in.hardwareLevel = RegReadString(ctx.store, "", reg::kHardware, reg::kLevel, reg::kDefaultLevel);

  const std::string last = Profile(ctx.store).GetProfileString(reg::kDownloadSection, reg::kFile, "");
  if (!last.empty()) in.lastDownload = ReadDownloadRecord(ctx.files, last);
  return in;
}

std::vector<PreflightLine> EvaluatePreflight(const PreflightInputs& inputs) {
  return {ConfigurationLine(inputs), ClockLine(inputs),         MemoryLine(inputs),       DownloadedLine(inputs),
          FirmwareLine(inputs),      HardwareLevelLine(inputs), RegistrationLine(inputs), SessionLine(inputs)};
}

CheckLevel WorstLevel(const std::vector<PreflightLine>& lines) {
  CheckLevel worst = CheckLevel::kOk;
  for (const PreflightLine& line : lines) worst = std::max(worst, line.level);
  return worst;
}

std::string_view LevelName(CheckLevel level) {
  switch (level) {
    case CheckLevel::kOk: return "ok";
    case CheckLevel::kWarning: return "warning";
    case CheckLevel::kError: return "error";
  }
  return {};
}

std::string_view ItemName(CheckItem item) {
  switch (item) {
    case CheckItem::kConfiguration: return "configuration";
    case CheckItem::kClock: return "clock";
    case CheckItem::kMemory: return "memory";
    case CheckItem::kDownloaded: return "downloaded";
    case CheckItem::kFirmware: return "firmware";
    case CheckItem::kHardwareLevel: return "hardwareLevel";
    case CheckItem::kRegistration: return "registration";
    case CheckItem::kSession: return "session";
  }
  return {};
}

}  // namespace lcu
