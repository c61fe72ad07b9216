// The download against the simulated LCU: byte-exact data files, file names and folders, the
// registry values, the reset, Protect Data, stopping and quitting part way, the progress
// figures, and full disks that must not reset the LCU. Failing transfers are the fault matrix.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "core/commands/auto_download.h"
#include "core/commands/download.h"
#include "core/commands/stop_download.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"
#include "core/link/logger_transfers.h"
#include "core/logger/data_file.h"
#include "core/logger/file_write_queue.h"
#include "core/messages/messages.h"
#include "platform/host_file_system.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_setup.h"
#include "sim/sim_test_util.h"
#include "support/command_fault_messages.h"
#include "support/fixed_clock.h"
#include "support/host_reasons.h"
#include "support/memory_file_system.h"
#include "support/recording_prompter.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

using test::ReadBytes;

// A fixed clock whose monotonic time moves on by tick at every reading.
class TickingClock : public test::FixedClock {
 public:
  TimePoint Monotonic() override { return monotonic += tick; }
  std::chrono::milliseconds tick{0};
};

// Counts the steps and pumps of the download and can quit it.
class ScriptedUi : public SilentCommandUi {
 public:
  void BeginProgress(int n) override { steps.push_back(-n); }
  void StepProgress() override { steps.push_back(1); }
  void EndProgress() override { steps.push_back(0); }
  void ShowTransferred(const TransferProgress& progress) override { shown.push_back(progress); }
  bool PumpWaitingMessages() override {
    ++pumps;
    if (onPump) onPump(pumps);
    return pumps != quitAtPump;
  }
  bool DataFileSaved(const std::string& path) override {
    toldPaths.push_back(path);
    return pathTold;
  }

  std::vector<int> steps;
  std::vector<TransferProgress> shown;
  int pumps = 0;
  int quitAtPump = 0;
  std::function<void(int pump)> onPump;  // what happens in the LCU while messages go through
  bool pathTold = true;                  // whether the user could be told the file's path
  std::vector<std::string> toldPaths;
};

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root / "Setup");
    fs::create_directories(root / "Sample");
    store.WriteString("Paths", "SetupDirectory", (root / "Setup").string());
    store.WriteString("Paths", "DataDirectory", (root / "Sample").string());
    store.WriteString(SlotKey(1), "Serial", "1");
    test::WriteBytes(root / "Setup" / "@LCU1.cal", sim::MakeSampleCalibration().Bytes());
    device.PollStatus();
    ASSERT_TRUE(device.IsOnline());
  }

  DownloadResult Download(FileSystem& fileSystem) {
    CommandContext ctx{device, link, store, prompter, clock, fileSystem, app, ui};
    return lcu::Download(ctx);
  }
  DownloadResult Download() { return Download(files); }

  // Puts a buffer table into the LCU over data that tells every byte apart.
  LoggerHeader PrepareLcu(std::uint16_t wrap, const std::vector<LogBufferEntry>& entries) {
    std::vector<std::uint8_t> memory = lcuSim.DataMemory();
    const LoggerHeader h = test::PrepareDownload(memory, wrap, entries);
    lcuSim.WriteDataMemory(0, memory);
    return h;
  }

  std::vector<std::uint8_t> Memory(std::uint64_t linear, std::uint64_t length) const {
    const auto memory = lcuSim.DataMemory();
    return {memory.begin() + static_cast<std::ptrdiff_t>(linear),
            memory.begin() + static_cast<std::ptrdiff_t>(linear + length)};
  }

  LoggerHeader LcuHeaderNow() const {
    return LoggerHeader(std::span<const std::uint8_t>(Memory(0, kLoggerHeaderSize)).first<kLoggerHeaderSize>());
  }

  test::TempFolder root;
  sim::LcuSimulator lcuSim{sim::test::ManualTime()};
  CUsbDevice device{lcuSim};
  LinkOwner link{device};
  MemorySettingsStore store;
  test::RecordingPrompter prompter;
  TickingClock clock;
  HostFileSystem files;
  AppState app;
  ScriptedUi ui;
};

TEST_F(DownloadTest, PlainBuffersGoIntoTheFileInEntryOrderAndTheLcuIsReset) {
  const LoggerHeader before = PrepareLcu(0, {{2, 10, {0x8000, 1}, {0x9234, 3}},
                                             {4, 8, {0xA000, 20}, {0xA000, 20}},  // empty
                                             {5, 1, {0x8000, 30}, {0x8081, 30}},
                                             {0, 0, {0x8000, 40}, {0x8000, 40}}});
  const DownloadResult result = Download();
  ASSERT_EQ(result.result, CommandResult::kDone) << ::testing::PrintToString(prompter.messages);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(fs::path(result.path), root / "Sample" / "C040C32C.DAT");

  LoggerHeader expectedHeader = before;
  expectedHeader.SetDownloadTime(FileTimeFromLocal(clock.now));
  std::vector<std::uint8_t> expected(expectedHeader.Bytes().begin(), expectedHeader.Bytes().end());
  for (const auto& buffer : {Memory(16384, Distance({0x8000, 1}, {0x9234, 3})), Memory(30 * 16384, 0x81)})
    expected.insert(expected.end(), buffer.begin(), buffer.end());
  EXPECT_TRUE(ReadBytes(result.path) == expected);

  // One progress step, one pause and one pump per non-empty buffer, and a pump once the file
  // is saved.
  EXPECT_EQ(ui.steps, (std::vector<int>{-3, 1, 1, 0}));
  EXPECT_EQ(clock.sleeps.size(), 2u);
  EXPECT_EQ(ui.pumps, 3);

  EXPECT_EQ(store.ReadValue("Corvalent\\Download", "File"), result.path);
  EXPECT_EQ(store.ReadValue("Corvalent\\Download", "New"), "TRUE");

  // The reset: the LCU holds the calibration's buffers, empty, with the laps carried.
  const LoggerHeader after = LcuHeaderNow();
  EXPECT_EQ(after.DataPresent(), 0u);
  EXPECT_EQ(after.U16(hdr::kLapBase),
            static_cast<std::uint16_t>(before.U16(hdr::kLapsSinceReset) + before.U16(hdr::kLapBase)));
  for (std::size_t i = 0; i < after.BufferCount(); ++i) EXPECT_EQ(after.ExtentOf(i).length, 0u) << i;
  // The status block is never written.
  EXPECT_TRUE(std::equal(after.Bytes().begin(), after.Bytes().begin() + 64, before.Bytes().begin()));
}

// A wrapped buffer goes into the file older part first. Its newer part is read first: when the
// read fails after that, the file must not keep a full-length buffer with a gap.
TEST_F(DownloadTest, WrappedBuffersStreamAcrossChunkBoundariesOrLeaveNoBytes) {
  // 40000-byte region whose older part starts inside the second chunk.
  const std::uint32_t start = 16384 * 3 + 100, end = start + 20000, next = start + 40000;
  PrepareLcu(1, {{3, 1, PositionOf(start), PositionOf(end)}, {0, 0, PositionOf(next), PositionOf(next)}});
  app.m_bPreserveBuffer = 1;
  const DownloadResult result = Download();
  ASSERT_EQ(result.result, CommandResult::kDone);
  const auto file = ReadBytes(result.path);
  auto expected = Memory(end, next - end);
  const auto newer = Memory(start, end - start);
  expected.insert(expected.end(), newer.begin(), newer.end());
  EXPECT_TRUE(std::vector(file.begin() + 16384, file.end()) == expected);

  // Logging state, header (2), the buffer's set-up and first chunk, then its second fails.
  lcuSim.SetFaults({.failTransfer = 6});
  clock.now.second += 1;
  const DownloadResult failed = Download();
  ASSERT_FALSE(failed.fileSaved);
  EXPECT_EQ(prompter.messages,
            (std::vector<std::string>{FormatSystemError(msg::kReadingFromLcuFailed, device.LastErrorText()),
                                      FormatSystemError(msg::kFailedToReadChannelData, device.LastErrorText()),
                                      FormatSystemError(msg::kDataFileIncomplete, failed.path)}));
  EXPECT_EQ(ReadBytes(failed.path).size(), 16384u);
}

TEST_F(DownloadTest, NoBuffersGivesAHeaderOnlyFileAndStillResets) {
  PrepareLcu(0, {{0, 0, {0x8000, 1}, {0x8000, 1}}});
  const DownloadResult result = Download();
  ASSERT_EQ(result.result, CommandResult::kDone);
  EXPECT_EQ(ReadBytes(result.path).size(), 16384u);
  EXPECT_EQ(ui.steps, (std::vector<int>{0, 0}));
  EXPECT_EQ(LcuHeaderNow().DataPresent(), 0u);
}

TEST_F(DownloadTest, AnInvalidBufferTableIsRefusedBeforeAnyFileExists) {
  PrepareLcu(0, {{2, 1, {0x8000, 1}, {0x8000, 70}}, {0, 0, {0x8000, 71}, {0x8000, 71}}});
  EXPECT_EQ(Download().result, CommandResult::kFailed);
  EXPECT_EQ(prompter.messages,
            std::vector<std::string>{"Logger header is invalid.\nEntry 0 ends past the end of memory."});
  EXPECT_TRUE(fs::is_empty(root / "Sample"));
}

// A taken name is never replaced. A new account has no data folder yet: the download makes it,
// with its parents. The LCU's own folder is only used when it exists; a data folder that
// cannot be made is named.
TEST_F(DownloadTest, NamesAndFoldersOfTheDataFile) {
  PrepareLcu(0, {{2, 1, {0x8000, 1}, {0x8100, 1}}, {0, 0, {0x8000, 2}, {0x8000, 2}}});
  std::ofstream(root / "Sample" / "C040C32C.DAT") << "earlier download";
  std::ofstream(root / "Sample" / "C040C32D.DAT") << "another";
  app.m_bPreserveBuffer = 1;
  const DownloadResult result = Download();
  ASSERT_EQ(result.result, CommandResult::kDone);
  EXPECT_EQ(fs::path(result.path).filename(), "C040C32E.DAT");
  EXPECT_EQ(app.m_szDownloadFile, result.path);
  EXPECT_EQ(fs::file_size(root / "Sample" / "C040C32C.DAT"), 16u);

  const fs::path fresh = root / "home" / "Velmora" / "Sample";
  store.WriteString("Paths", "DataDirectory", fresh.string());
  store.WriteString(SlotKey(1), "Download", (root / "Own").string());
  EXPECT_EQ(fs::path(Download().path).parent_path(), fresh);
  EXPECT_FALSE(fs::exists(root / "Own"));
  fs::create_directories(root / "Own");
  clock.now.second += 1;
  EXPECT_EQ(fs::path(Download().path).parent_path(), root / "Own");
  EXPECT_TRUE(prompter.messages.empty()) << prompter.messages.front();

  std::ofstream(root / "plain") << "a file, not a folder";
  const fs::path unusable = root / "plain" / "Sample";
  store.WriteString("Paths", "DataDirectory", unusable.string());
  store.WriteString(SlotKey(1), "Download", "");
  const DownloadResult refused = Download();
  EXPECT_EQ(refused.result, CommandResult::kFailed);
  EXPECT_TRUE(refused.path.empty());
  EXPECT_EQ(prompter.messages,
            std::vector<std::string>{FormatSystemError(
                msg::kFailedToOpenOutputFile, unusable.string() + ": " + std::string(test::kFolderBelowAFile))});
}

// Between the chunks of a buffer the download lets events through with the link busy; a stop
// or a quit there ends the read at once and the file keeps the header and the buffers
// finished before, as after a failure. The figures count the bytes as they arrive.
TEST_F(DownloadTest, StopOrQuitBetweenChunksKeepsTheFinishedBuffers) {
  constexpr std::uint16_t kPages = 10;  // the second buffer's chunks
  const LoggerHeader before = PrepareLcu(0, {{2, 1, {0x8000, 1}, {0x8200, 1}},
                                             {2, 1, {0x8000, 2}, {0x8000, 2 + kPages}},
                                             {0, 0, {0x8000, 3 + kPages}, {0x8000, 3 + kPages}}});
  constexpr std::uint64_t kTotal = 0x200 + kPages * kBlockChunk;
  clock.tick = std::chrono::milliseconds(10);
  struct Case {
    const char* name;
    int stopAtPump, quitAtPump;
    CommandResult result;
    std::uint64_t fileSize;
    int pumps;
  };
  // Pump 1 follows the first buffer's one chunk and 2 the buffer; 3 to 13 follow the second
  // buffer's chunks and 14 the buffer. A stop at a buffer's last chunk keeps the buffer.
  for (const Case& c : {Case{"stop after a buffer", 2, 0, CommandResult::kDeclined, 16384 + 0x200, 2},
                        Case{"quit after a buffer", 0, 2, CommandResult::kFailed, 16384 + 0x200, 2},
                        Case{"stop", 4, 0, CommandResult::kDeclined, 16384 + 0x200, 4},
                        Case{"quit", 0, 4, CommandResult::kFailed, 16384 + 0x200, 4},
                        Case{"stop at the last chunk", 13, 0, CommandResult::kDeclined, 16384 + kTotal, 14},
                        Case{"to the end", 0, 0, CommandResult::kDone, 16384 + kTotal, 14}}) {
    SCOPED_TRACE(c.name);
    ui = ScriptedUi{};
    ui.quitAtPump = c.quitAtPump;
    ui.onPump = [&](int pump) {
      // Busy at every pump between chunks, free at those after a buffer.
      if (pump <= c.pumps) {
        EXPECT_EQ(device.IsBusy(), pump != 2 && pump != 14) << "pump " << pump;
      }
      if (pump == c.stopAtPump) StopDownload(link);
    };
    app.m_bPreserveBuffer = c.result == CommandResult::kDone ? 1 : 0;  // a stop or quit never resets
    const DownloadResult result = Download();
    EXPECT_EQ(result.result, c.result);
    EXPECT_EQ(result.fileSaved, c.result == CommandResult::kDone);
    EXPECT_EQ(store.ReadValue("Corvalent\\Download", "File").has_value(), c.result == CommandResult::kDone);
    EXPECT_EQ(link.StopRequested(), c.stopAtPump != 0);  // stays set until the next download starts
    EXPECT_EQ(ReadBytes(result.path).size(), c.fileSize);
    // Pumps while the file syncs may follow a whole download.
    ASSERT_GE(ui.pumps, c.pumps);
    if (c.result != CommandResult::kDone) {
      EXPECT_EQ(ui.pumps, c.pumps);
    }
    // The part a stop or a quit leaves is named.
    if (c.result == CommandResult::kDone) {
      EXPECT_TRUE(prompter.messages.empty());
    } else {
      EXPECT_EQ(prompter.messages, std::vector<std::string>{FormatSystemError(msg::kDataFileIncomplete, result.path)});
    }
    prompter.messages.clear();
    EXPECT_EQ(LcuHeaderNow(), before);
    EXPECT_FALSE(device.IsBusy() || link.IsCommandRunning());
    ASSERT_EQ(ui.shown.size(), static_cast<std::size_t>(c.pumps));
    EXPECT_EQ(ui.shown[1].done, 0x200u);
    if (c.pumps > 2) {
      EXPECT_EQ(ui.shown[2].done, 0x200u + kBlockChunk);
    }
    EXPECT_EQ(ui.shown.back().total, kTotal);
    if (c.result == CommandResult::kDone) {
      EXPECT_EQ(ui.shown.back().done, kTotal);
    }
  }
}

TEST(TransferProgressText, BytesRateAndTimeLeft) {
  constexpr std::uint64_t kMiB = 1 << 20;
  using std::chrono::seconds;
  const struct {
    TransferProgress progress;
    const char* text;
  } cases[] = {
      {{0, 64 * kMiB, seconds(5)}, "0.0 MiB of 64.0 MiB"},
      {{64 * kMiB, 64 * kMiB, std::chrono::milliseconds(51200)}, "64.0 MiB of 64.0 MiB, 1.3 MB/s, 0:00 left"},
  };
  for (const auto& c : cases) EXPECT_EQ(TransferProgressText(c.progress), c.text);
}

// A slow sync lets events through while it runs; a quit then leaves the file saved and the
// LCU as it was.
TEST_F(DownloadTest, QuittingDuringASlowSyncKeepsTheFileAndSkipsTheReset) {
  const LoggerHeader before = PrepareLcu(0, {{2, 1, {0x8000, 1}, {0x8100, 1}}, {0, 0, {0x8000, 2}, {0x8000, 2}}});
  clock.tick = std::chrono::milliseconds(10);
  ui.quitAtPump = 4;  // after the buffer's one chunk and after the buffer, the sync's second
  test::MemoryFileSystem disk;
  disk.commitDelay = std::chrono::milliseconds(200);
  const DownloadResult result = Download(disk);
  EXPECT_NE(result.result, CommandResult::kDone);
  EXPECT_TRUE(result.fileSaved);
  EXPECT_EQ(ui.pumps, 4);
  ASSERT_NE(disk.Committed(result.path), nullptr);
  EXPECT_EQ(disk.Committed(result.path)->bytes.size(), 16384u + 0x100);
  EXPECT_EQ(LcuHeaderNow(), before);
}

// The user must learn where the data went before the LCU forgets it: when the path cannot be
// told (the command line's output is full), the file stays and the LCU is left as it is.
TEST_F(DownloadTest, APathThatCannotBeToldLeavesTheLcuAsItIs) {
  const LoggerHeader before = PrepareLcu(0, {{2, 1, {0x8000, 1}, {0x8100, 1}}, {0, 0, {0x8000, 2}, {0x8000, 2}}});
  ui.pathTold = false;
  const DownloadResult result = Download();
  EXPECT_EQ(result.result, CommandResult::kFailed);
  EXPECT_TRUE(result.fileSaved);
  EXPECT_EQ(ui.toldPaths, std::vector<std::string>{result.path});
  EXPECT_EQ(fs::file_size(result.path), 16384u + 0x100);
  EXPECT_EQ(LcuHeaderNow(), before);
}

// A write that fails mid buffer stops the buffer's read too, once the queue behind it is full
// at the latest, and the file keeps none of the buffer.
TEST_F(DownloadTest, FullDiskAndFailedSyncStopBeforeTheReset) {
  constexpr int kChunks = 40;
  const LoggerHeader before =
      PrepareLcu(0, {{2, 1, {0x8000, 1}, {0x8000, 1 + kChunks}}, {0, 0, {0x8000, 2 + kChunks}, {0x8000, 2 + kChunks}}});
  app.m_bPreserveBuffer = 1;
  int transfers = lcuSim.TransferCount();
  ASSERT_EQ(Download().result, CommandResult::kDone);
  const int clean = lcuSim.TransferCount() - transfers;
  const int notRead = kChunks - 2 - static_cast<int>(FileWriteQueue::kSlotCount);
  app.m_bPreserveBuffer = 0;
  store.WriteString("Corvalent\\Download", "New", "FALSE");
  struct Case {
    std::optional<std::size_t> space;
    bool failCommit;
    std::string message;
    std::size_t kept;
    int reads;
  };
  for (const Case& c : {Case{100, false, "Failed to write header to output file.\n", 100, clean},
                        Case{2 * 16384, false, "Failed to save channel data\n", 16384, clean - notRead},
                        Case{std::nullopt, true, "Failed to save channel data\n", 16384 * (1 + kChunks), clean}}) {
    prompter.messages.clear();
    test::MemoryFileSystem disk;
    disk.spaceLeft = c.space;
    disk.failCommit = c.failCommit;
    transfers = lcuSim.TransferCount();
    const DownloadResult result = Download(disk);
    EXPECT_FALSE(result.fileSaved);
    const char* reason = c.failCommit ? ": Input/output error" : ": No space left on device";
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{c.message + result.path + reason,
                                                           FormatSystemError(msg::kDataFileIncomplete, result.path)}));
    EXPECT_EQ(disk.files[result.path].bytes.size(), c.kept);
    EXPECT_LE(lcuSim.TransferCount() - transfers, c.reads);
    EXPECT_TRUE(std::all_of(disk.files.begin(), disk.files.end(), [](const auto& file) { return file.second.closed; }));
    EXPECT_EQ(LcuHeaderNow(), before);
    EXPECT_EQ(store.ReadValue("Corvalent\\Download", "New"), "FALSE");
  }
}

// Data the LCU logs while the download runs is in no file: the LCU is not reset, the file
// keeps every buffer its header names and carries the header read afterwards behind them, and
// the user is asked to download again.
TEST_F(DownloadTest, AnLcuThatLoggedDuringTheDownloadIsNotReset) {
  const std::vector<LogBufferEntry> table = {
      {2, 1, {0x8000, 1}, {0x8100, 1}}, {2, 1, {0x8000, 2}, {0x8100, 2}}, {0, 0, {0x8000, 3}, {0x8000, 3}}};
  struct Case {
    const char* name;
    int atPump;
    std::function<void()> change;
  };
  const std::vector<Case> cases = {
      {"a buffer moved on, logging has stopped again", 1, [this] { lcuSim.FillBuffer(0, 64); }},
      {"the buffers wrapped", 2,
       [this] {
         lcuSim.WriteDataMemory(hdr::kWrapFlag, std::array<std::uint8_t, 2>{1, 0});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PrepareLcu(0, table);
    prompter.messages.clear();
    ui.pumps = 0;
    ui.onPump = [&c](int pump) {
      if (pump == c.atPump) c.change();
    };
    const DownloadResult result = Download();
    EXPECT_EQ(result.result, CommandResult::kFailed);
    EXPECT_TRUE(result.fileSaved);
    EXPECT_EQ(prompter.messages,
              std::vector<std::string>{FormatSystemError(msg::kLcuLoggedDuringDownload, result.path)});
    EXPECT_EQ(ReadBytes(result.path).size(), 16384u + 2 * 0x100 + 16384u);
    const LoggerHeader after = LcuHeaderNow();
    EXPECT_NE(after.DataPresent(), 0u) << "the LCU was reset";
    EXPECT_EQ(after.Entry(1).start, table[1].start);
    EXPECT_GE(LinearOf(after.Entry(0).end), LinearOf(table[0].end));
  }
}

// Switched off it does nothing and on it downloads, as the desktop program's connection tests
// show; while the LCU logs it is refused.
TEST_F(DownloadTest, AutoDownloadIsRefusedWhileLogging) {
  app.m_bAutoDownload = 1;
  ASSERT_TRUE(device.VendorWrite(LCU_WRITE_WORD, 0xF752, 0x80));
  CommandContext ctx{device, link, store, prompter, clock, files, app, ui};
  EXPECT_EQ(AutoDownload(ctx).result, CommandResult::kFailed);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"Cannot download while logging is in progress !"});
}

// An LCU a technician may start at any moment of a download (the simulator's fault plan starts
// it before transfer K): its clock runs on before every transfer, so that once it logs, it logs
// between two transfers as a real one does. When the reset's write arrives, the LCU's whole
// data memory is noted: that is what the reset erases.
class RunningLcu final : public UsbBackend {
 public:
  explicit RunningLcu(sim::LcuSimulator& lcu) : m_lcu(lcu) {}

  UsbHandle OpenNode(int node) override { return m_lcu.OpenNode(node); }
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) override {
    return m_lcu.GetDeviceDescriptor(handle, descriptor);
  }
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) override {
    m_lcu.AdvanceTime(kBetweenTransfers);
    if (request.bRequest == LCU_BULK_WRITE && request.wValue == 0x8040 && !atReset) atReset = m_lcu.DataMemory();
    return m_lcu.ControlRequest(handle, request, data);
  }
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override {
    m_lcu.AdvanceTime(kBetweenTransfers);
    return m_lcu.BulkRead(handle, buffer, moved);
  }
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override {
    m_lcu.AdvanceTime(kBetweenTransfers);
    return m_lcu.BulkWrite(handle, buffer, moved);
  }
  void CloseNode(UsbHandle handle) override { m_lcu.CloseNode(handle); }
  std::uint32_t LastError() const override { return m_lcu.LastError(); }
  std::string ErrorText(std::uint32_t code) const override { return m_lcu.ErrorText(code); }

  std::optional<std::vector<std::uint8_t>> atReset;

 private:
  static constexpr std::chrono::milliseconds kBetweenTransfers{20};
  sim::LcuSimulator& m_lcu;
};

// What a complete download of data memory holds behind its header: each buffer's bytes as the
// header places them, a wrapped buffer's older part first.
std::vector<std::uint8_t> DownloadedData(const std::vector<std::uint8_t>& memory, const LoggerHeader& header) {
  std::vector<std::uint8_t> data;
  for (std::size_t i = 0; i < header.BufferCount(); ++i) {
    const BufferExtent extent = header.ExtentOf(i);
    const auto block = memory.begin() + static_cast<std::ptrdiff_t>(LinearOf(extent.readFrom));
    data.insert(data.end(), block + extent.newerLength, block + extent.length);
    data.insert(data.end(), block, block + extent.newerLength);
  }
  return data;
}

// A simulated LCU of one memory unit whose time the test moves.
sim::SimulatorOptions OneUnitOnManualTime() {
  sim::SimulatorOptions o = sim::test::ManualTime();
  o.memoryUnits = 1;
  return o;
}

// The memory of an LCU that logged the sample setup, plain or long enough to wrap.
std::vector<std::uint8_t> LoggedMemory(bool wrapped) {
  sim::LcuSimulator lcu{OneUnitOnManualTime()};
  CUsbDevice device{lcu};
  LinkOwner link{device};
  device.PollStatus();
  EXPECT_TRUE(device.VendorWrite(LCU_WRITE_WORD, kStartWordAddress, kStartWordOn));
  const auto header = [&] {
    return LoggerHeader(std::span<const std::uint8_t>(lcu.DataMemory()).first<kLoggerHeaderSize>());
  };
  for (int minute = 0; minute < 600 && (header().WrapFlag() != 0) != wrapped; ++minute)
    lcu.AdvanceTime(std::chrono::minutes(1));
  EXPECT_TRUE(device.VendorWrite(LCU_WRITE_WORD, kStartWordAddress, 0));
  EXPECT_EQ(header().WrapFlag() != 0, wrapped);
  return lcu.DataMemory();
}

struct LoggingRun {
  DownloadResult result;
  std::vector<std::string> messages;
  std::vector<std::uint8_t> file;
  std::optional<std::vector<std::uint8_t>> atReset;
  std::vector<std::uint8_t> memoryAfter;
  bool recorded = false;
  int transfers = 0;
};

// One download from an LCU holding memory, with the LCU starting to log before transfer
// startAt (0: never).
// failMark: the data file cannot be opened again to be marked.
LoggingRun DownloadWhileLoggingStarts(const std::vector<std::uint8_t>& memory, int startAt, bool preserve,
                                      bool failMark = false) {
  sim::LcuSimulator lcu{OneUnitOnManualTime()};
  lcu.WriteDataMemory(0, memory);
  RunningLcu backend(lcu);
  CUsbDevice device{backend};
  LinkOwner link{device};
  device.PollStatus();
  test::TempFolder setup;
  MemorySettingsStore store;
  store.WriteString("Paths", "SetupDirectory", setup.Path().string());
  store.WriteString("Paths", "DataDirectory", "Sample");
  test::WriteBytes(setup.Path() / "@LCU1.cal", sim::MakeSampleCalibration().Bytes());
  test::RecordingPrompter prompter;
  test::FixedClock clock;
  test::MemoryFileSystem disk;
  disk.folders.insert("Sample");
  disk.failAppend = failMark;
  AppState app;
  app.m_bPreserveBuffer = preserve ? 1 : 0;
  SilentCommandUi ui;
  CommandContext ctx{device, link, store, prompter, clock, disk, app, ui};
  lcu.SetFaults({.startLoggingAtTransfer = startAt});
  LoggingRun run;
  run.result = Download(ctx);
  run.transfers = lcu.TransferCount();
  run.messages = prompter.messages;
  run.file = disk.files[run.result.path].bytes;
  run.atReset = backend.atReset;
  run.memoryAfter = lcu.DataMemory();
  run.recorded = store.ReadValue("Corvalent\\Download", "File") == run.result.path;
  return run;
}

// A file the LCU logged into carries the header it held afterwards behind its data, so that it
// does not read as complete; every byte read is where it was.
void ExpectMarkedAsLoggedInto(const LoggingRun& run) {
  std::string_view error;
  const auto info = ReadDataFile(run.file, error);
  ASSERT_TRUE(info) << error;
  EXPECT_TRUE(info->loggedDuring);
  EXPECT_FALSE(info->Complete());
  EXPECT_EQ(run.file.size(), info->expectedSize + kLoggerHeaderSize);
  EXPECT_EQ(run.result.fileSize, run.file.size());
  const LoggerHeader after(std::span<const std::uint8_t>(run.file).last<kLoggerHeaderSize>());
  EXPECT_EQ(after.LcuNumber(), info->lcuNumber);
}

// Whatever transfer of a download the LCU starts logging before, the reset never erases data
// that is not in the file: the LCU is either left as it is, or everything it had logged when
// the reset's write arrived is in the file. Logging that starts with the write itself is the
// one window left.
TEST(DownloadWhileLoggingStarts, TheResetNeverErasesDataThatIsNotInTheFile) {
  for (const bool wrapped : {false, true}) {
    SCOPED_TRACE(wrapped ? "wrapped" : "plain");
    const std::vector<std::uint8_t> memory = LoggedMemory(wrapped);
    const int transfers = DownloadWhileLoggingStarts(memory, 0, false).transfers;
    int resets = 0;
    int kept = 0;
    for (int k = 1; k <= transfers; ++k) {
      SCOPED_TRACE("logging starts before transfer " + std::to_string(k));
      const LoggingRun run = DownloadWhileLoggingStarts(memory, k, false);
      if (!run.atReset) {
        ++kept;
        EXPECT_NE(run.result.result, CommandResult::kDone);
        EXPECT_FALSE(run.recorded);
        if (run.result.loggedDuring) ExpectMarkedAsLoggedInto(run);
        continue;
      }
      ++resets;
      ASSERT_TRUE(run.result.fileSaved) << ::testing::PrintToString(run.messages);
      const LoggerHeader lcuAtReset(std::span<const std::uint8_t>(*run.atReset).first<kLoggerHeaderSize>());
      const auto fileData = std::vector(run.file.begin() + kLoggerHeaderSize, run.file.end());
      EXPECT_TRUE(fileData == DownloadedData(*run.atReset, lcuAtReset)) << "the reset erased data that is in no file";
      EXPECT_TRUE(run.recorded);
    }
    // Logging that starts up to the look after the download keeps the LCU as it is; from the
    // reset's write on, it no longer can.
    EXPECT_EQ(kept, transfers - 2);
    EXPECT_EQ(resets, 2);
  }
}

// With Protect Data on nothing is erased, but a buffer the LCU logged into while it was read
// may mix older and newer data in the file: such a file is kept, not recorded as the new
// download, and the user is told to download again.
TEST(DownloadWhileLoggingStarts, WithProtectDataAFileTheLcuLoggedIntoIsNotRecorded) {
  for (const bool wrapped : {false, true}) {
    SCOPED_TRACE(wrapped ? "wrapped" : "plain");
    const std::vector<std::uint8_t> memory = LoggedMemory(wrapped);
    const int transfers = DownloadWhileLoggingStarts(memory, 0, true).transfers;
    int mixed = 0;
    for (int k = 1; k <= transfers + 1; ++k) {
      SCOPED_TRACE("logging starts before transfer " + std::to_string(k));
      const LoggingRun run = DownloadWhileLoggingStarts(memory, k, true);
      EXPECT_FALSE(run.atReset);
      if (run.result.result == CommandResult::kDone) {
        // A download reported complete holds exactly what the LCU holds at its end.
        const LoggerHeader now(std::span<const std::uint8_t>(run.memoryAfter).first<kLoggerHeaderSize>());
        const auto fileData = std::vector(run.file.begin() + kLoggerHeaderSize, run.file.end());
        EXPECT_TRUE(fileData == DownloadedData(run.memoryAfter, now)) << "a mixed file was reported complete";
        EXPECT_TRUE(run.recorded);
        continue;
      }
      if (!run.result.loggedDuring) continue;  // refused before the file, or a partial one
      ++mixed;
      EXPECT_TRUE(run.result.fileSaved);
      EXPECT_FALSE(run.recorded);
      EXPECT_EQ(run.messages, std::vector<std::string>{FormatSystemError(msg::kDataFileMayMixData, run.result.path)});
      ExpectMarkedAsLoggedInto(run);
    }
    EXPECT_GT(mixed, 0);
  }
}

// A mixed file that cannot be marked looks complete: the user is told so.
TEST(DownloadWhileLoggingStarts, AMixedFileThatCannotBeMarkedIsNamedAsSuch) {
  const std::vector<std::uint8_t> memory = LoggedMemory(true);
  for (int k = 1;; ++k) {
    const LoggingRun run = DownloadWhileLoggingStarts(memory, k, true, true);
    ASSERT_NE(run.result.result, CommandResult::kDone) << "no transfer left to start logging before";
    if (!run.result.loggedDuring) continue;
    EXPECT_EQ(run.messages, (std::vector<std::string>{
                                FormatSystemError(msg::kDataFileMayMixData, run.result.path),
                                FormatSystemError(msg::kDataFileNotMarkedMixed,
                                                  FileErrorLine(run.result.path, test::MemoryFileSystem::Text(EACCES))),
                            }));
    std::string_view error;
    EXPECT_TRUE(ReadDataFile(run.file, error)->Complete());
    break;
  }
}

}  // namespace
}  // namespace lcu
