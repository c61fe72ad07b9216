#include "core/commands/download.h"

#include <algorithm>
#include <chrono>
#include <future>
#include <memory>

#include "core/app/command_guard.h"
#include "core/app/transfer_progress.h"
#include "core/channels/calibration_file.h"
#include "core/commands/configuration_upload.h"
#include "core/commands/logger_download.h"
#include "core/commands/reset_recheck.h"
#include "core/host/registry.h"
#include "core/link/logger_transfers.h"
#include "core/logger/file_write_queue.h"
#include "core/logger/logger_header.h"
#include "core/messages/messages.h"

namespace lcu {

namespace {

constexpr auto kPauseAfterBuffer = std::chrono::milliseconds(20);
// How often the download lets events through while it reads a buffer or waits for its file.
constexpr auto kPumpInterval = std::chrono::milliseconds(10);

// Writes the chunks of one buffer's block read at their final places in the data file:
// a wrapped buffer's older part (from its end position on) comes first.
class BufferWriter {
 public:
  BufferWriter(FileWriteQueue& writes, std::uint64_t base, const BufferExtent& extent)
      : m_writes(writes), m_base(base), m_extent(extent) {}

  bool operator()(std::uint64_t offset, std::span<const std::uint8_t> chunk) {
    const std::uint64_t length = m_extent.length;
    if (offset >= length) return true;
    chunk = chunk.first(static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), length - offset)));
    const std::uint64_t split = m_extent.newerLength;  // block offset where the older part begins
    if (offset < split) {
      const auto newer = chunk.first(static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), split - offset)));
      if (!m_writes.WriteAt(m_base + m_extent.olderLength + offset, newer)) return false;
      chunk = chunk.subspan(newer.size());
      offset += newer.size();
    }
    return chunk.empty() || m_writes.WriteAt(m_base + (offset - split), chunk);
  }

 private:
  FileWriteQueue& m_writes;
  std::uint64_t m_base;
  BufferExtent m_extent;
};

// A failed download keeps the header and the buffers it finished, and nothing of the buffer
// it was reading: a wrapped buffer's parts land out of order, so a partly read one could
// otherwise leave a file of full length with a gap in it.
void KeepFinishedBuffers(OutputFile& file, std::uint64_t finishedLength) {
  file.Truncate(finishedLength);
  file.Close();
}

// A download under way: the header as read (with the download time set) and the data file
// that holds it. A commit started while the buffers stream is waited for before the file goes.
struct DownloadPlan {
  LoggerHeader header;
  std::unique_ptr<OutputFile> file;
  std::future<bool> committed;
};

// The checks, the header and the data file: the LCU must be on line and not logging, and its
// header readable, holding data and sound; then the data file is created with the header in
// it. False when any step failed, its message shown; path names the data file once created.
bool PlanDownload(CommandContext& ctx, DownloadPlan& plan, std::string& path) {
  if (RefusedOffline(ctx, OfflineForm::kPlain)) return false;
  if (ctx.device.IsLogging()) {
    ctx.prompter.Error(msg::kCannotDownloadWhileLogging);
    return false;
  }
  if (!ctx.device.IsOnline()) {
    ShowSystemError(ctx.prompter, msg::kFailedToAccessLcu, ctx.device.LastErrorText());
    return false;
  }
  LoggerHeader& header = plan.header;
  if (!ReadLoggerHeader(ctx.device, header.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadHeader, ctx.device.LastErrorText());
    return false;
  }
  if (header.DataPresent() == 0) {
    ctx.prompter.Error(msg::kLcuHasNoData);
    return false;
  }
  if (const auto problem = FindBufferTableProblem(header)) {
    ShowSystemError(ctx.prompter, msg::kLoggerHeaderInvalid, BufferTableProblemText(*problem));
    return false;
  }
  header.SetDownloadTime(FileTimeFromLocal(ctx.clock.Now()));

  std::string reason;
  plan.file = CreateDataFile(ctx, PlanDataFile(ctx, header), path, reason);
  if (!plan.file) {
    ShowFileError(ctx.prompter, msg::kFailedToOpenOutputFile, path, reason);
    path.clear();
    return false;
  }
  if (!plan.file->Write(header.Bytes())) {
    ShowFileError(ctx.prompter, msg::kFailedToWriteHeaderToOutputFile, path, plan.file->ErrorText());
    plan.file->Close();
    return false;
  }
  return true;
}

enum class StreamEnd {
  kComplete,  // every buffer is in the file; its commit may have started
  kStopped,   // the user stopped the download; the file is closed
  kFailed,    // a read or a write failed, or the program is quitting; the file holds the
              // buffers finished before and is closed, and any message has been shown
};

// Lets the waiting messages through, through the lease, with the monitor documents standing
// still; false once the program is quitting.
bool LetEventsThrough(CommandContext& ctx, CommandLease& run) {
  return run.LetEventsThrough([&ctx] { return ctx.ui.PumpWaitingMessages(); });
}

// Why the download ended its current buffer's read early.
enum class BreakOff { kNone, kStop, kQuit };

// The progress figures and the waiting messages between two chunks of a block read. The link
// stays busy meanwhile, so nothing else reaches the LCU; the stop and quit requests are seen
// here, so a stop takes effect within one chunk, not one buffer.
class ChunkPump {
 public:
  ChunkPump(CommandContext& ctx, CommandLease& run, std::uint64_t total)
      : m_ctx(ctx), m_run(run), m_start(ctx.clock.Monotonic()), m_lastPump(m_start) {
    m_progress.total = total;
  }

  // After a chunk of count bytes reached the file queue: false when the read must end.
  bool AfterChunk(std::uint64_t count) {
    m_progress.done += count;
    const Clock::TimePoint now = m_ctx.clock.Monotonic();
    // Chunks come every 14 ms on a full-speed link and far more often on faster ones; letting
    // events through at most every kPumpInterval keeps the program live at little cost.
    if (now - m_lastPump < kPumpInterval) return true;
    if (!Pump())
      m_breakOff = BreakOff::kQuit;
    else if (m_run.StopRequested())
      m_breakOff = BreakOff::kStop;
    return m_breakOff == BreakOff::kNone;
  }

  // Shows the figures and lets the waiting messages through; false once the program is
  // quitting.
  bool Pump() {
    m_progress.elapsed = m_ctx.clock.Monotonic() - m_start;
    m_ctx.ui.ShowTransferred(m_progress);
    const bool running = LetEventsThrough(m_ctx, m_run);
    m_lastPump = m_ctx.clock.Monotonic();
    return running;
  }

  BreakOff BrokenOff() const { return m_breakOff; }

 private:
  CommandContext& m_ctx;
  CommandLease& m_run;
  TransferProgress m_progress;
  Clock::TimePoint m_start;
  Clock::TimePoint m_lastPump;
  BreakOff m_breakOff = BreakOff::kNone;
};

// Streams every buffer with data into the file behind the header, in the header's order,
// with the progress dialog, and after each buffer the pause and the waiting messages; the
// waiting messages also go through between the chunks of a buffer (where the user may stop
// the download or the program may quit). A buffer not read to its end is not kept.
StreamEnd StreamBuffers(CommandContext& ctx, CommandLease& run, DownloadPlan& plan, const std::string& path) {
  const LoggerHeader& header = plan.header;
  OutputFile& file = *plan.file;
  const std::size_t n = header.BufferCount();
  // Once the last buffer with data is in, the file is synced while the download pauses after
  // it: the sync then costs the download little more than the pause it takes anyway.
  std::size_t lastWithData = n;
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < n; ++i) {
    total += header.ExtentOf(i).length;
    if (header.ExtentOf(i).length != 0) lastWithData = i;
  }
  const auto awaitCommit = [&] {
    if (plan.committed.valid()) plan.committed.wait();
  };
  // The chunks are written while the next ones cross the link; each buffer's writes are all
  // made before it counts as finished, so the file is never cut, synced or closed under them.
  FileWriteQueue writes(file);
  ctx.ui.BeginProgress(static_cast<int>(n));
  run.ClearStopRequest();
  ChunkPump pump(ctx, run, total);
  std::uint64_t base = kLoggerHeaderSize;
  for (std::size_t i = 0; i < n; ++i) {
    if (run.StopRequested()) break;
    const BufferExtent extent = header.ExtentOf(i);
    if (extent.length == 0) continue;
    ctx.ui.StepProgress();
    BufferWriter writer(writes, base, extent);
    const auto sink = [&](std::uint64_t offset, std::span<const std::uint8_t> chunk) {
      if (!writer(offset, chunk)) return false;
      const std::uint64_t useful =
          std::min<std::uint64_t>(chunk.size(), extent.length - std::min<std::uint64_t>(offset, extent.length));
      // Once the buffer's last bytes are in, a stop or a quit is left to the pump after the
      // buffer, which keeps it.
      return pump.AfterChunk(useful) || offset + chunk.size() >= extent.length;
    };
    const BlockReadResult read =
        ReadLoggerBlock(ctx.device, ctx.prompter, extent.length, extent.readFrom.window, extent.readFrom.page, sink);
    const bool written = writes.Drain();
    if (read == BlockReadResult::kSinkFailed && written && pump.BrokenOff() != BreakOff::kNone) {
      // Stopped or quitting in the middle of the buffer: the file keeps the finished ones.
      KeepFinishedBuffers(file, base);
      ctx.ui.EndProgress();
      return pump.BrokenOff() == BreakOff::kStop ? StreamEnd::kStopped : StreamEnd::kFailed;
    }
    if (read != BlockReadResult::kOk || !written) {
      // A failed write is noticed some chunks later, when the sink refuses one, or only by the
      // drain; either way it is a failure to save. A read that fails before a failed write is
      // noticed has shown its own messages and is reported as a failed read. Nothing of this
      // buffer is kept in either case.
      const bool readFailed = read == BlockReadResult::kSetupFailed || read == BlockReadResult::kReadFailed;
      if (readFailed)
        ShowSystemError(ctx.prompter, msg::kFailedToReadChannelData, ctx.device.LastErrorText());
      else
        ShowFileError(ctx.prompter, msg::kFailedToSaveChannelData, path, file.ErrorText());
      KeepFinishedBuffers(file, base);
      ctx.ui.EndProgress();
      return StreamEnd::kFailed;
    }
    base += extent.length;
    if (i == lastWithData) plan.committed = std::async(std::launch::async, [&file] { return file.Commit(); });
    ctx.clock.Sleep(kPauseAfterBuffer);
    if (!pump.Pump()) {
      awaitCommit();
      KeepFinishedBuffers(file, base);
      ctx.ui.EndProgress();
      return StreamEnd::kFailed;
    }
  }
  ctx.ui.EndProgress();

  if (run.StopRequested()) {
    awaitCommit();
    file.Close();
    return StreamEnd::kStopped;
  }
  return StreamEnd::kComplete;
}

// The sync of a large file may take a while: the commit that started after the last buffer
// is waited for with the waiting messages let through. False when the program is quitting
// (the commit has then ended too).
bool AwaitCommitLive(CommandContext& ctx, CommandLease& run, DownloadPlan& plan) {
  if (!plan.committed.valid()) return true;
  Clock::TimePoint lastPump = ctx.clock.Monotonic();
  while (plan.committed.wait_for(kPumpInterval) != std::future_status::ready) {
    if (ctx.clock.Monotonic() - lastPump < kPumpInterval) continue;
    if (!LetEventsThrough(ctx, run)) {
      plan.committed.wait();
      return false;
    }
    lastPump = ctx.clock.Monotonic();
  }
  return true;
}

// The data must be on disk before the LCU forgets it: the commit that started while the
// buffers streamed is waited for (or the file is committed now). False with "Failed to save
// channel data" shown.
bool CommitDataFile(CommandContext& ctx, DownloadPlan& plan, const std::string& path) {
  if (plan.committed.valid() ? plan.committed.get() : plan.file->Commit()) return true;
  ShowFileError(ctx.prompter, msg::kFailedToSaveChannelData, path, plan.file->ErrorText());
  return false;
}

// The file is recorded as the new download in the registry, for the product family's other
// programs.
void RecordDownload(CommandContext& ctx, const std::string& path) {
  Profile profile(ctx.store);
  profile.WriteProfileString(reg::kDownloadSection, reg::kFile, path);
  profile.WriteProfileString(reg::kDownloadSection, reg::kNew, reg::kTrue);
}

std::uint64_t CompleteFileSize(const LoggerHeader& header) {
  std::uint64_t size = kLoggerHeaderSize;
  for (std::size_t i = 0; i < header.BufferCount(); ++i) size += header.ExtentOf(i).length;
  return size;
}

// The reset's upload onto the header just read. Its write is the first transfer after the
// logging-state read that allowed it. A failed write may have emptied the LCU already; the
// data is safe in the file, and the message says so.
CommandResult ResetOnto(CommandContext& ctx, const LoggerHeader& now, const std::string& path) {
  if (const auto error = CheckUploadOnto(ctx.app.m_calibration, now)) {
    ctx.prompter.Error(*error);
    ShowSystemError(ctx.prompter, msg::kErrorWhileResettingLcu, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  if (UploadConfigurationOnto(ctx, ctx.app.m_calibration, UploadMode::kReset, now) == CommandResult::kDone)
    return CommandResult::kDone;
  std::string text = FormatSystemError(msg::kErrorWhileResettingLcu, ctx.device.LastErrorText());
  text += '\n';
  text += msg::kResetFailedDataFileComplete;
  ShowFileError(ctx.prompter, text, path, {});
  return CommandResult::kFailed;
}

// A data file the LCU logged into while it was read is kept, but must not pass for a whole
// download: the header the LCU held afterwards is added behind the last buffer, so that the
// file is longer than its own header says (readers take it as not complete) and still shows
// what had changed. Every byte that was read stays where readers look for it.
// False, with the reason shown, when it could not be added.
bool MarkLoggedDuring(CommandContext& ctx, const std::string& path, const LoggerHeader& now) {
  std::string reason;
  const std::unique_ptr<OutputFile> file = ctx.files.Create(path, CreateMode::kAppend, reason);
  if (file && file->Write(now.Bytes()) && file->Commit()) return true;
  if (file) {
    reason = file->ErrorText();
    file->Close();
  }
  ShowFileError(ctx.prompter, msg::kDataFileNotMarkedMixed, path, reason);
  return false;
}

// After the data file is safely on disk: the LCU's calibration is loaded and the LCU is looked
// at once more (the header, then the logging state). Only when it logged nothing while it was
// read is the file recorded as the new download and, unless Protect Data is on or the
// program is quitting, the LCU emptied, by the reset's write directly after that look: no
// other transfer lies between the last read and the write. An LCU that logged is left as it
// is, and the file, kept and marked, is not recorded: it may mix older and newer data.
CommandResult FinishDownload(CommandContext& ctx, const LoggerHeader& header, DownloadResult& outcome, bool running) {
  // A program that is quitting leaves the LCU as it is: its data is safe in the file.
  const bool calibrated = running && LoadAppCalibration(ctx.app, ctx.store, header.LcuNumber(), ctx.prompter,
                                                        msg::kResetCouldNotReadCalibration);
  bool reset = calibrated && !ctx.app.m_bPreserveBuffer;
  bool failed = !calibrated;
  if (reset) {
    if (const auto error = ValidateUploadImage(ctx.app.m_calibration)) {
      ctx.prompter.Error(*error);
      ShowSystemError(ctx.prompter, msg::kErrorWhileResettingLcu, ctx.device.LastErrorText());
      reset = false;
      failed = true;
    }
  }
  LoggerHeader now;
  switch (RecheckAfterDownload(ctx, header, now)) {
    case ResetRecheck::kLoggedMore:
      outcome.loggedDuring = true;
      ShowFileError(ctx.prompter, reset ? msg::kLcuLoggedDuringDownload : msg::kDataFileMayMixData, outcome.path, {});
      if (MarkLoggedDuring(ctx, outcome.path, now)) outcome.fileSize += kLoggerHeaderSize;
      return CommandResult::kFailed;
    case ResetRecheck::kNotRead:
      if (reset) ShowSystemError(ctx.prompter, msg::kErrorWhileResettingLcu, ctx.device.LastErrorText());
      RecordDownload(ctx, outcome.path);
      return CommandResult::kFailed;
    case ResetRecheck::kUnchanged: break;
  }
  if (reset) {
    const CommandResult result = ResetOnto(ctx, now, outcome.path);
    outcome.lcuEmptied = result == CommandResult::kDone;
    failed = !outcome.lcuEmptied;
  }
  RecordDownload(ctx, outcome.path);
  ctx.ui.DownloadSaved(outcome.path, outcome.fileSize, outcome.lcuEmptied);
  return failed ? CommandResult::kFailed : CommandResult::kDone;
}

// A stopped, failed or abandoned download keeps the part it has: its file is named, so that
// it is not taken for a whole one.
DownloadResult& ReportPartialFile(CommandContext& ctx, DownloadResult& outcome) {
  if (!outcome.fileSaved && !outcome.path.empty())
    ShowFileError(ctx.prompter, msg::kDataFileIncomplete, outcome.path, {});
  return outcome;
}

}  // namespace

DownloadResult Download(CommandContext& ctx) {
  DownloadResult outcome;
  CommandLease run = BeginCommand(ctx, CommandKind::kDownload);
  if (!run) return outcome;
  DownloadPlan plan;
  if (!PlanDownload(ctx, plan, outcome.path)) return ReportPartialFile(ctx, outcome);
  switch (StreamBuffers(ctx, run, plan, outcome.path)) {
    case StreamEnd::kFailed: return ReportPartialFile(ctx, outcome);
    case StreamEnd::kStopped: outcome.result = CommandResult::kDeclined; return ReportPartialFile(ctx, outcome);
    case StreamEnd::kComplete: break;
  }
  // The events are let through once more after the file is saved, so that a quit that came
  // after the last buffer still leaves the LCU as it is.
  const bool running = AwaitCommitLive(ctx, run, plan) && LetEventsThrough(ctx, run);
  if (!CommitDataFile(ctx, plan, outcome.path)) return ReportPartialFile(ctx, outcome);
  outcome.fileSaved = true;
  // Where the data went must be known before the LCU forgets it.
  if (!ctx.ui.DataFileSaved(outcome.path)) return outcome;
  outcome.fileSize = CompleteFileSize(plan.header);
  outcome.result = FinishDownload(ctx, plan.header, outcome, running);
  return outcome;
}

}  // namespace lcu
