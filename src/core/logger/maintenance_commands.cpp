#include "logger/maintenance_commands.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <new>

#include "app/clock.h"
#include "app/command_ids.h"
#include "app/default_paths.h"
#include "app/logger_transfers.h"
#include "app/messages.h"
#include "app/registry.h"
#include "util/little_endian.h"

namespace lcu {

namespace {

constexpr std::uint16_t kProgramMemoryAddress = 0x0000;
constexpr std::uint16_t kStatusBlockAddress = 0x8000;
constexpr std::uint16_t kSessionBlockAddress = 0x8040;
constexpr std::uint16_t kLoggerStartWord = 0xF752;
constexpr std::uint16_t kLoggerStartOn = 0x80;
constexpr std::uint16_t kLoggerStartOff = 0;
constexpr std::int64_t kLargestLcuNumber = 65535;

// The session block is header bytes 0x40 to 0x7F; these are its fields' places in it.
constexpr std::size_t kSessionBase = 0x40;
constexpr std::size_t kLapsSinceResetAt = hdr::kLapsSinceReset - kSessionBase;
constexpr std::size_t kSessionAt = hdr::kSession - kSessionBase;
constexpr std::size_t kOutingAt = hdr::kOuting - kSessionBase;
constexpr std::size_t kLapBaseAt = hdr::kLapBase - kSessionBase;
constexpr std::size_t kPaceLapsAt = hdr::kPaceLaps - kSessionBase;

bool RefusedDuringDownload(CommandContext& ctx) {
  if (!ctx.app.m_bDownloadRunning) return false;
  ctx.prompter.Error(msg::kDownloadInProgress);
  return true;
}

bool RefusedOffline(CommandContext& ctx, std::string_view offlineMessage) {
  if (ctx.device.m_bOnline) return false;
  ctx.prompter.Error(offlineMessage);
  return true;
}

// A 64-byte write into LCU memory: the set-up request and its one bulk write.
bool WriteBlock(CUsbDevice& device, std::uint16_t address, std::span<const std::uint8_t> block) {
  return device.VendorWrite(LCU_BULK_WRITE, address, 0) && BulkWriteAll(device, block);
}

enum class FileOutcome { kWritten, kNotCreated, kNotWritten };

// Creates (or truncates) the file and writes all bytes to disk; a file that was not
// committed is closed and does not count as written.
FileOutcome WriteWholeFile(FileSystem& files, const std::string& path, std::span<const std::uint8_t> bytes) {
  auto file = files.Create(path, CreateMode::kTruncate);
  if (!file) return FileOutcome::kNotCreated;
  if (!file->Write(bytes)) {
    file->Close();
    return FileOutcome::kNotWritten;
  }
  return file->Commit() ? FileOutcome::kWritten : FileOutcome::kNotWritten;
}

void ClearBytes(LoggerHeader& header, std::size_t offset, std::size_t length) {
  const auto bytes = header.Bytes().subspan(offset, length);
  std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
}

// A value entered in the Session Data dialog as the LCU stores it: never below 0, low 16 bits.
std::uint16_t StoredU16(std::int64_t value) {
  return static_cast<std::uint16_t>(static_cast<std::uint64_t>(std::max<std::int64_t>(value, 0)) & 0xFFFFu);
}

CommandResult ToggleSetting(CommandContext& ctx, std::int32_t& flag, int commandId, std::string_view valueName) {
  flag = flag == 0 ? 1 : 0;
  ctx.ui.SetMenuCheck(commandId, flag != 0);
  Profile(ctx.store).WriteProfileInt(reg::kSettings, valueName, flag);
  return CommandResult::kDone;
}

}  // namespace

std::string DefaultProgramDumpPath() { return JoinPath(VelmoraRoot(), "Read.bin"); }

std::string DefaultSetupExtractPath() { return JoinPath(JoinPath(VelmoraRoot(), "libs"), "extract.stp"); }

std::unique_ptr<std::uint8_t[]> ReadProgramMemory(CommandContext& ctx) {
  std::unique_ptr<std::uint8_t[]> memory(new (std::nothrow) std::uint8_t[kProgramMemoryBytes]);
  if (!memory) {
    ctx.prompter.Error(msg::kFailedToAllocateDumpMemory);
    return nullptr;
  }
  if (!ctx.device.VendorWrite(LCU_BULK_READ, kProgramMemoryAddress, 0)) {
    ShowSystemError(ctx.prompter, msg::kFailedToSendCommand, ctx.device.LastErrorText());
    return nullptr;
  }
  if (!BulkReadAll(ctx.device, std::span(memory.get(), kProgramMemoryBytes))) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadLogger, ctx.device.LastErrorText());
    return nullptr;
  }
  return memory;
}

CommandResult OnReadHexFile(CommandContext& ctx, const std::string& path) {
  if (RefusedDuringDownload(ctx) || RefusedOffline(ctx, msg::kLcuOffline)) return CommandResult::kFailed;
  const std::unique_ptr<std::uint8_t[]> memory = ReadProgramMemory(ctx);
  if (!memory) return CommandResult::kFailed;
  const std::span<std::uint8_t> buffer(memory.get(), kProgramMemoryBytes);
  switch (WriteWholeFile(ctx.files, path, buffer)) {
    case FileOutcome::kNotCreated:
      ctx.prompter.Error(msg::kFailedToCreateOutputFile);
      return CommandResult::kFailed;
    case FileOutcome::kNotWritten:
      ctx.prompter.Error(msg::kFailedToWriteOutputFile);
      return CommandResult::kFailed;
    case FileOutcome::kWritten:
      break;
  }
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
  if (RefusedDuringDownload(ctx) || RefusedOffline(ctx, msg::kLcuOfflineDot)) return CommandResult::kFailed;
  if (!ctx.prompter.AskQuestion(msg::kResetLogbookContinue)) return CommandResult::kDeclined;
  LoggerHeader header;
  if (!ReadLoggerHeader(ctx.device, header.Bytes())) {
    ctx.prompter.Error(msg::kFailedToResetLogbook);
    return CommandResult::kFailed;
  }
  ResetLogbookFields(header, FileTimeFromLocal(ctx.clock.Now()));
  if (!WriteLoggerHeader(ctx.device, header.Bytes())) {
    ctx.prompter.Error(msg::kFailedToResetLogbook);
    return CommandResult::kFailed;
  }
  return CommandResult::kDone;
}

CommandResult OnExtractSetup(CommandContext& ctx, const std::string& path) {
  if (RefusedDuringDownload(ctx) || RefusedOffline(ctx, msg::kLcuOfflineDot)) return CommandResult::kFailed;
  if (!ctx.prompter.AskQuestion(msg::kExtractSetupContinue)) return CommandResult::kDeclined;
  LoggerHeader header;
  if (!ReadLoggerHeader(ctx.device, header.Bytes())) {
    ctx.prompter.Error(msg::kFailedToReadHeader);
    return CommandResult::kFailed;
  }
  switch (WriteWholeFile(ctx.files, path, header.Bytes())) {
    case FileOutcome::kNotCreated:
      ctx.prompter.Error(msg::kFailedToOpenOutputFile);
      return CommandResult::kFailed;
    case FileOutcome::kNotWritten:
      ctx.prompter.Error(msg::kFailedToWriteHeaderToOutputFile);
      return CommandResult::kFailed;
    case FileOutcome::kWritten:
      break;
  }
  return CommandResult::kDone;
}

std::optional<std::string> ValidateInitLcuNumber(std::string_view text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || !std::all_of(text.begin(), text.end(), digit)) return std::string(msg::kEnterInteger);
  // Any number of digits is an integer; only its range decides whether it is accepted.
  std::int64_t value = 0;
  for (const char c : text) {
    value = value * 10 + (c - '0');
    if (value > kLargestLcuNumber) break;
  }
  if ((negative && value != 0) || value > kLargestLcuNumber) return std::string(msg::kEnterIntegerInLcuRange);
  return std::nullopt;
}

StatusBlock InitLcuBlock(std::uint16_t lcuNumber) {
  StatusBlock block{};
  le::PutU16(block, hdr::kMemorySize, kInitialMemorySize);
  le::PutU16(block, hdr::kLcuNumber, lcuNumber);
  return block;
}

CommandResult OnInitializeLcu(CommandContext& ctx) {
  if (RefusedDuringDownload(ctx) || RefusedOffline(ctx, msg::kLcuOfflineDot)) return CommandResult::kFailed;
  const std::optional<std::int32_t> number = ctx.prompter.RunInitLcuDialog();
  if (!number) return CommandResult::kDeclined;
  if (*number < 0 || *number > kLargestLcuNumber) {
    ctx.prompter.Error(msg::kEnterIntegerInLcuRange);
    return CommandResult::kFailed;
  }
  const StatusBlock block = InitLcuBlock(static_cast<std::uint16_t>(*number));
  if (!WriteBlock(ctx.device, kStatusBlockAddress, block)) {
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

SessionBlock SessionBlockAfterUpdate(const SessionBlock& block, const SessionDataValues& values) {
  SessionBlock out = block;
  const std::int64_t lapsSinceReset = le::U16(block, kLapsSinceResetAt);
  le::PutU16(out, kSessionAt, StoredU16(std::int64_t{values.session} - 1));
  le::PutU16(out, kOutingAt, StoredU16(std::int64_t{values.outing} - 1));
  le::PutU16(out, kLapBaseAt, StoredU16(std::int64_t{values.lapCount} - lapsSinceReset - 1));
  le::PutU16(out, kPaceLapsAt, StoredU16(values.paceLaps));
  return out;
}

CommandResult OnSessionData(CommandContext& ctx) {
  if (RefusedDuringDownload(ctx) || RefusedOffline(ctx, msg::kLcuOffline)) return CommandResult::kFailed;
  SessionBlock block{};
  if (!ctx.device.VendorRead(LCU_READ_BLOCK, kSessionBlockAddress, 0, kSessionBlockBytes, block)) {
    ctx.prompter.Error(msg::kFailedToReadSessionData);
    return CommandResult::kFailed;
  }
  const std::optional<SessionDataValues> entered = ctx.prompter.RunSessionDataDialog(SessionValuesOf(block));
  if (!entered) return CommandResult::kDeclined;
  if (!WriteBlock(ctx.device, kSessionBlockAddress, SessionBlockAfterUpdate(block, *entered))) {
    ShowSystemError(ctx.prompter, msg::kFailedToUpdateSessionData, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  return CommandResult::kDone;
}

CommandResult OnStartLogger(CommandContext& ctx) {
  if (RefusedDuringDownload(ctx)) return CommandResult::kFailed;
  ctx.app.m_bLoggerStarted = ctx.app.m_bLoggerStarted == 0 ? 1 : 0;
  const bool started = ctx.app.m_bLoggerStarted != 0;
  ctx.ui.SetMenuCheck(cmd::kStartLogger, started);
  if (!ctx.device.VendorWrite(LCU_WRITE_WORD, kLoggerStartWord, started ? kLoggerStartOn : kLoggerStartOff)) {
    ctx.prompter.Error(msg::kFailedToWriteDataToLcu);
    return CommandResult::kFailed;
  }
  return CommandResult::kDone;
}

void ResetLoggerStarted(CommandContext& ctx) {
  ctx.app.m_bLoggerStarted = 0;
  ctx.ui.SetMenuCheck(cmd::kStartLogger, false);
}

CommandResult OnAutoDownload(CommandContext& ctx) {
  return ToggleSetting(ctx, ctx.app.m_bAutoDownload, cmd::kAutoDownload, reg::kAutoDownload);
}

CommandResult OnProtectData(CommandContext& ctx) {
  return ToggleSetting(ctx, ctx.app.m_bPreserveBuffer, cmd::kProtectData, reg::kPreserveBuffer);
}

CommandResult OnPreserveQmt(CommandContext& ctx) {
  return ToggleSetting(ctx, ctx.app.m_bPreserveQmt, cmd::kPreserveQmt, reg::kPreserveQmt);
}

}  // namespace lcu
