#include "core/logger/maintenance_commands.h"

#include <algorithm>
#include <memory>
#include <new>

#include "core/app/command_guard.h"
#include "core/app/messages.h"
#include "core/host/clock.h"
#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/host/whole_file_save.h"
#include "core/link/logger_transfers.h"
#include "core/util/little_endian.h"
#include "core/util/strict_number.h"

namespace lcu {

namespace {

constexpr std::int64_t kLargestLcuNumber = 65535;
// A 16-bit field stores 0 to 65535; session and outing are shown one higher.
constexpr std::int64_t kLargestU16 = 0xFFFF;

// The session block is header bytes 0x40 to 0x7F; these are its fields' places in it.
constexpr std::size_t kSessionBase = kSessionBlockAddress - kStatusAddress;
constexpr std::size_t kLapsSinceResetAt = hdr::kLapsSinceReset - kSessionBase;
constexpr std::size_t kSessionAt = hdr::kSession - kSessionBase;
constexpr std::size_t kOutingAt = hdr::kOuting - kSessionBase;
constexpr std::size_t kLapBaseAt = hdr::kLapBase - kSessionBase;
constexpr std::size_t kPaceLapsAt = hdr::kPaceLaps - kSessionBase;

// A 64-byte write into LCU memory: the set-up request and its one bulk write.
bool WriteBlock(CUsbDevice& device, std::uint16_t address, std::span<const std::uint8_t> block) {
  return device.VendorWrite(LCU_BULK_WRITE, address, 0) && BulkWriteAll(device, block);
}

// Saves a command's output file over whatever that file held, reporting a failure with the
// command's own message for the step that failed, the path and the system's reason.
bool SaveOutputFile(CommandContext& ctx, const std::string& path, std::span<const std::uint8_t> bytes,
                    std::string_view notCreated, std::string_view notWritten) {
  const SaveOutcome saved = SaveWholeFile(ctx.files, path, bytes);
  if (saved.Saved()) return true;
  ShowFileError(ctx.prompter, saved.step == SaveStep::kNotCreated ? notCreated : notWritten, path, saved.reason);
  return false;
}

void ClearBytes(LoggerHeader& header, std::size_t offset, std::size_t length) {
  const auto bytes = header.Bytes().subspan(offset, length);
  std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
}

// A value entered in the Session Data dialog as the LCU stores it: never below 0, low 16 bits.
std::uint16_t StoredU16(std::int64_t value) {
  return static_cast<std::uint16_t>(static_cast<std::uint64_t>(std::max<std::int64_t>(value, 0)) & 0xFFFFu);
}

CommandResult ToggleSetting(CommandContext& ctx, std::int32_t& flag, AppFlag changed, std::string_view valueName) {
  flag = flag == 0 ? 1 : 0;
  ctx.ui.FlagChanged(changed, flag != 0);
  Profile(ctx.store).WriteProfileInt(reg::kSettings, valueName, flag);
  return CommandResult::kDone;
}

}  // namespace

std::string DefaultProgramDumpPath() { return JoinPath(VelmoraRoot(), "Read.bin"); }

std::string DefaultSetupExtractPath() { return JoinPath(JoinPath(VelmoraRoot(), "libs"), "extract.stp"); }

std::unique_ptr<std::uint8_t[]> ReadProgramMemory(CommandContext& ctx) {
  std::unique_ptr<std::uint8_t[]> memory(new (std::nothrow) std::uint8_t[kProgramMemorySize]);
  if (!memory) {
    ctx.prompter.Error(msg::kFailedToAllocateDumpMemory);
    return nullptr;
  }
  if (!ctx.device.VendorWrite(LCU_BULK_READ, kProgramMemoryAddress, 0)) {
    ShowSystemError(ctx.prompter, msg::kFailedToSendCommand, ctx.device.LastErrorText());
    return nullptr;
  }
  if (!BulkReadAll(ctx.device, std::span(memory.get(), kProgramMemorySize))) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadLogger, ctx.device.LastErrorText());
    return nullptr;
  }
  return memory;
}

CommandResult OnReadHexFile(CommandContext& ctx, const std::string& path) {
  if (CommandRefused(ctx, OfflineForm::kPlain)) return CommandResult::kFailed;
  const std::unique_ptr<std::uint8_t[]> memory = ReadProgramMemory(ctx);
  if (!memory) return CommandResult::kFailed;
  const std::span<std::uint8_t> buffer(memory.get(), kProgramMemorySize);
  if (!SaveOutputFile(ctx, path, buffer, msg::kFailedToCreateOutputFile, msg::kFailedToWriteOutputFile))
    return CommandResult::kFailed;
  ctx.prompter.Information(msg::kHexFileDownloaded);
  return CommandResult::kDone;
}

void ResetLogbookFields(LoggerHeader& header, std::uint64_t resetFileTime) {
  header.SetU32(hdr::kLogbookResetTime, static_cast<std::uint32_t>(resetFileTime & 0xFFFFFFFFu));
  header.SetU32(hdr::kLogbookResetTime + 4, static_cast<std::uint32_t>(resetFileTime >> 32));
  for (const std::size_t o : {hdr::kLogbook80, hdr::kLogbookTotal, hdr::kLogbook90, hdr::kLogbook94})
    header.SetU32(o, 0);
  header.SetU16(hdr::kLogbook98, 0);
  ClearBytes(header, hdr::kLogbookFirstBlock, 32);
  ClearBytes(header, hdr::kLogbookTail, 6);
  ClearBytes(header, hdr::kLogbookSecondBlock, 96);
}

CommandResult OnResetLogbook(CommandContext& ctx) {
  if (CommandRefused(ctx, OfflineForm::kFullStop)) return CommandResult::kFailed;
  if (!ctx.prompter.AskQuestion(msg::kResetLogbookContinue)) return CommandResult::kDeclined;
  LoggerHeader header;
  if (!ReadLoggerHeader(ctx.device, header.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToResetLogbook, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  ResetLogbookFields(header, FileTimeFromLocal(ctx.clock.Now()));
  if (!WriteLoggerHeader(ctx.device, header.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToResetLogbook, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  return CommandResult::kDone;
}

CommandResult OnExtractSetup(CommandContext& ctx, const std::string& path) {
  if (CommandRefused(ctx, OfflineForm::kFullStop)) return CommandResult::kFailed;
  if (!ctx.prompter.AskQuestion(msg::kExtractSetupContinue)) return CommandResult::kDeclined;
  LoggerHeader header;
  if (!ReadLoggerHeader(ctx.device, header.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadHeader, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  if (!SaveOutputFile(ctx, path, header.Bytes(), msg::kFailedToOpenOutputFile, msg::kFailedToWriteHeaderToOutputFile))
    return CommandResult::kFailed;
  return CommandResult::kDone;
}

std::optional<std::string> ValidateInitLcuNumber(std::string_view text) {
  // Any number of digits is an integer; only its range decides whether it is accepted.
  switch (ParseStrictNumber(text, {NumberBase::kDecimal, true, true}, 0, kLargestLcuNumber).error) {
    case NumberError::kNone:
      return std::nullopt;
    case NumberError::kNotANumber:
      return std::string(msg::kEnterInteger);
    case NumberError::kOutOfRange:
      break;
  }
  return std::string(msg::kEnterIntegerInLcuRange);
}

StatusBlock InitLcuBlock(std::uint16_t lcuNumber) {
  StatusBlock block{};
  le::PutU16(block, hdr::kMemorySize, kInitialMemorySize);
  le::PutU16(block, hdr::kLcuNumber, lcuNumber);
  return block;
}

CommandResult OnInitializeLcu(CommandContext& ctx) {
  if (CommandRefused(ctx, OfflineForm::kFullStop)) return CommandResult::kFailed;
  const std::optional<std::int32_t> number = ctx.prompter.RunInitLcuDialog();
  if (!number) return CommandResult::kDeclined;
  if (*number < 0 || *number > kLargestLcuNumber) {
    ctx.prompter.Error(msg::kEnterIntegerInLcuRange);
    return CommandResult::kFailed;
  }
  SessionBlock session{};
  if (!ctx.device.VendorRead(LCU_READ_BLOCK, kSessionBlockAddress, 0, kBlockSize, session)) {
    ShowSystemError(ctx.prompter, msg::kFailedToInitializeLcu, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  const bool holdsData = le::U32(session, hdr::kDataPresent - kSessionBase) != 0;
  if (!ctx.prompter.AskQuestion(holdsData ? msg::kInitializeLcuWithData : msg::kInitializeLcuContinue))
    return CommandResult::kDeclined;
  const StatusBlock block = InitLcuBlock(static_cast<std::uint16_t>(*number));
  if (!WriteBlock(ctx.device, kStatusAddress, block)) {
    ShowSystemError(ctx.prompter, msg::kFailedToInitializeLcu, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  return CommandResult::kDone;
}

SessionDataValues SessionValuesOf(const SessionBlock& block) {
  SessionDataValues v;
  v.session = le::U16(block, kSessionAt) + 1;
  v.outing = le::U16(block, kOutingAt) + 1;
  v.lapCount = le::U16(block, kLapsSinceResetAt) + le::U16(block, kLapBaseAt) + 1;
  v.paceLaps = le::U16(block, kPaceLapsAt);
  return v;
}

std::array<std::int32_t, 4> SessionFields(const SessionDataValues& values) {
  return {values.session, values.outing, values.lapCount, values.paceLaps};
}

SessionDataRanges SessionValueRanges(const SessionBlock& block) {
  const std::int64_t lapsSinceReset = le::U16(block, kLapsSinceResetAt);
  return {IntegerRange{1, kLargestU16 + 1}, IntegerRange{1, kLargestU16 + 1},
          IntegerRange{0, lapsSinceReset + kLargestU16 + 1}, IntegerRange{0, kLargestU16}};
}

std::string EnterIntegerBetween(const IntegerRange& range) {
  std::string text(msg::kEnterIntegerBetween);
  text.replace(text.find("%1"), 2, std::to_string(range.lowest));
  text.replace(text.find("%2"), 2, std::to_string(range.highest));
  return text;
}

SessionBlock SessionBlockAfterUpdate(const SessionBlock& block, const SessionDataValues& values) {
  SessionBlock out = block;
  const std::int64_t lapsSinceReset = le::U16(block, kLapsSinceResetAt);
  le::PutU16(out, kSessionAt, StoredU16(std::int64_t{values.session} - 1));
  le::PutU16(out, kOutingAt, StoredU16(std::int64_t{values.outing} - 1));
  le::PutU16(out, kLapBaseAt, StoredU16(std::int64_t{values.lapCount} - lapsSinceReset - 1));
  le::PutU16(out, kPaceLapsAt, StoredU16(values.paceLaps));
  return out;
}

CommandResult EditSessionData(CommandContext& ctx, SessionDataValues* stored) {
  if (CommandRefused(ctx, OfflineForm::kPlain)) return CommandResult::kFailed;
  SessionBlock block{};
  if (!ctx.device.VendorRead(LCU_READ_BLOCK, kSessionBlockAddress, 0, kBlockSize, block)) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadSessionData, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  const SessionDataRanges ranges = SessionValueRanges(block);
  const std::optional<SessionDataValues> entered = ctx.prompter.RunSessionDataDialog(SessionValuesOf(block), ranges);
  if (!entered) return CommandResult::kDeclined;
  const auto values = SessionFields(*entered);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (ranges[i].Contains(values[i])) continue;
    ctx.prompter.Error(EnterIntegerBetween(ranges[i]));
    return CommandResult::kFailed;
  }
  const SessionBlock updated = SessionBlockAfterUpdate(block, *entered);
  if (!WriteBlock(ctx.device, kSessionBlockAddress, updated)) {
    ShowSystemError(ctx.prompter, msg::kFailedToUpdateSessionData, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  if (stored) *stored = SessionValuesOf(updated);
  return CommandResult::kDone;
}

CommandResult OnSessionData(CommandContext& ctx) { return EditSessionData(ctx, nullptr); }

CommandResult OnStartLogger(CommandContext& ctx) {
  if (RefusedDuringDownload(ctx)) return CommandResult::kFailed;
  ctx.app.m_bLoggerStarted = ctx.app.m_bLoggerStarted == 0 ? 1 : 0;
  const bool started = ctx.app.m_bLoggerStarted != 0;
  ctx.ui.FlagChanged(AppFlag::kLoggerStarted, started);
  if (!ctx.device.VendorWrite(LCU_WRITE_WORD, kStartWordAddress, started ? kStartWordOn : 0)) {
    ShowSystemError(ctx.prompter, msg::kFailedToWriteDataToLcu, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  // The start word off stops the logging: a logging state read before no longer holds.
  if (!started) ctx.device.m_bLoggingSeen = 0;
  return CommandResult::kDone;
}

void ResetLoggerStarted(CommandContext& ctx) {
  ctx.app.m_bLoggerStarted = 0;
  ctx.ui.FlagChanged(AppFlag::kLoggerStarted, false);
}

CommandResult OnAutoDownload(CommandContext& ctx) {
  return ToggleSetting(ctx, ctx.app.m_bAutoDownload, AppFlag::kAutoDownload, reg::kAutoDownload);
}

CommandResult OnProtectData(CommandContext& ctx) {
  return ToggleSetting(ctx, ctx.app.m_bPreserveBuffer, AppFlag::kProtectData, reg::kPreserveBuffer);
}

CommandResult OnPreserveQmt(CommandContext& ctx) {
  return ToggleSetting(ctx, ctx.app.m_bPreserveQmt, AppFlag::kPreserveQmt, reg::kPreserveQmt);
}

}  // namespace lcu
