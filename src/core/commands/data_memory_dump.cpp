#include "core/commands/data_memory_dump.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "core/app/command_guard.h"
#include "core/link/logger_transfers.h"
#include "core/logger/logger_header.h"
#include "core/messages/messages.h"

namespace lcu {

namespace {

constexpr std::uint32_t kPagesPerUnit = kMemoryUnit / kPageSize;

bool MemorySizeOk(std::uint32_t units) { return units >= 1 && units <= kMaxMemorySize; }

// The memory size the header gives, or nullopt with the message shown.
std::optional<std::uint16_t> UnitsOfHeader(CommandContext& ctx, DataMemoryDump& dump) {
  LoggerHeader header;
  if (!ReadLoggerHeader(ctx.device, header.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadHeader, ctx.device.LastErrorText());
    return std::nullopt;
  }
  if (!MemorySizeOk(header.MemorySize())) {
    ShowSystemError(ctx.prompter, msg::kLoggerHeaderInvalid, MemorySizeProblemText(header.MemorySize()));
    dump.memorySizeRefused = true;
    return std::nullopt;
  }
  return header.MemorySize();
}

// The file, created only where no file of that name exists; null with the message shown.
std::unique_ptr<OutputFile> CreateDumpFile(CommandContext& ctx, const std::string& path) {
  std::string reason;
  auto file = ctx.files.Create(path, CreateMode::kExclusive, reason);
  if (file) return file;
  // A name that is taken says so, whatever the file system's own words for it.
  if (ctx.files.Exists(path)) reason = std::generic_category().message(EEXIST);
  ShowFileError(ctx.prompter, msg::kFailedToCreateOutputFile, path, reason);
  return nullptr;
}

// Reads one unit of 512 KiB into the file at its linear address; the block read's extra
// bytes past the unit are dropped. The events are let through after each chunk: a program
// that is quitting ends the dump there, with no message. Shows the messages of a failure.
bool DumpUnit(CommandContext& ctx, OutputFile& file, const std::string& path, std::uint32_t unit) {
  const std::uint64_t base = static_cast<std::uint64_t>(unit) * kMemoryUnit;
  bool quitting = false;
  const auto sink = [&](std::uint64_t offset, std::span<const std::uint8_t> chunk) {
    if (offset >= kMemoryUnit) return true;
    chunk = chunk.first(static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), kMemoryUnit - offset)));
    if (!file.WriteAt(base + offset, chunk)) return false;
    quitting = !ctx.ui.PumpWaitingMessages();
    return !quitting;
  };
  const auto page = static_cast<std::uint16_t>(unit * kPagesPerUnit);
  switch (ReadLoggerBlock(ctx.device, ctx.prompter, kMemoryUnit, kWindowBase, page, sink)) {
    case BlockReadResult::kOk: return true;
    case BlockReadResult::kSetupFailed:
      ShowSystemError(ctx.prompter, msg::kFailedToSendCommand, ctx.device.LastErrorText());
      return false;
    case BlockReadResult::kReadFailed: ctx.prompter.Error(msg::kFailedToReadLogger); return false;
    case BlockReadResult::kSinkFailed:
      if (!quitting) ShowFileError(ctx.prompter, msg::kFailedToWriteOutputFile, path, file.ErrorText());
      return false;
  }
  return false;
}

}  // namespace

std::optional<std::string> ValidateDumpUnits(std::uint32_t units) {
  if (MemorySizeOk(units)) return std::nullopt;
  return MemorySizeProblemText(units);
}

DataMemoryDump DumpDataMemory(CommandContext& ctx, const std::string& path, std::optional<std::uint16_t> units) {
  DataMemoryDump dump;
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kPlain);
  if (!run) return dump;
  if (const std::optional<std::string> refusal = units ? ValidateDumpUnits(*units) : std::nullopt) {
    ctx.prompter.Error(*refusal);
    return dump;
  }
  if (!units) units = UnitsOfHeader(ctx, dump);
  if (!units) return dump;
  dump.bytesPlanned = static_cast<std::uint64_t>(*units) * kMemoryUnit;

  const std::unique_ptr<OutputFile> file = CreateDumpFile(ctx, path);
  if (!file) return dump;
  dump.path = path;
  ctx.ui.BeginProgress(*units);
  for (std::uint32_t unit = 0; unit < *units; ++unit) {
    ctx.ui.StepProgress();
    if (!DumpUnit(ctx, *file, path, unit)) {
      ctx.ui.EndProgress();
      file->Truncate(dump.bytesDumped);
      file->Close();
      return dump;
    }
    dump.bytesDumped += kMemoryUnit;
  }
  ctx.ui.EndProgress();
  if (!file->Commit()) {
    ShowFileError(ctx.prompter, msg::kFailedToWriteOutputFile, path, file->ErrorText());
    return dump;
  }
  dump.result = CommandResult::kDone;
  return dump;
}

}  // namespace lcu
