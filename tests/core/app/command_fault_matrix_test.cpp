// Every LCU command of the core against the simulated LCU, as the programs run it: a clean run
// counts its transfers, then each transfer in turn fails, comes up short (bulk ones) and
// unplugs the LCU. Every case must show the command's own messages, send nothing after the
// fault, close its files, leave the link ready for the next poll, let the same command succeed
// once the LCU is back, and never empty an LCU whose data is not in a complete, committed file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/commands/download.h"
#include "core/commands/edit_session_data.h"
#include "core/commands/extract_setup.h"
#include "core/commands/initialize_lcu.h"
#include "core/commands/lcu_configuration.h"
#include "core/commands/load_hex_file.h"
#include "core/commands/memory_access.h"
#include "core/commands/read_program.h"
#include "core/commands/reset_logbook.h"
#include "core/commands/send_config.h"
#include "core/commands/set_lcu_clock.h"
#include "core/commands/start_logger.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"
#include "core/link/recording_backend.h"
#include "core/monitor/channel_exchange.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_setup.h"
#include "sim/sim_test_util.h"
#include "support/command_fault_messages.h"
#include "support/fixed_clock.h"
#include "support/hex_text.h"
#include "support/memory_file_system.h"
#include "support/recording_prompter.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

using test::Fault;
using test::Messages;
namespace expect = test::fault_messages;

const std::vector<std::uint16_t> kMonitorChannels = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
const std::vector<std::uint16_t> kPokeAddresses = {0xF000, 0xF001, 0xF002};

// Everything one case runs against: a fresh simulated LCU behind a recorder, the
// settings with the sample setup registered, files in memory and a prompter that answers Yes.
struct Bench {
  explicit Bench(const fs::path& folder) : setup(folder) {
    store.WriteString("Paths", "SetupDirectory", (folder / "Setup").string());
    store.WriteString("Paths", "DataDirectory", "Sample");
    store.WriteString(SlotKey(1), "Serial", "1");
    files.folders.insert("Sample");
    device.PollStatus();
  }

  // Puts the download's buffer table into the LCU with data that tells every byte apart.
  void PrepareDownload() {
    std::vector<std::uint8_t> memory = lcuSim.DataMemory();
    test::PrepareFaultDownload(memory);
    lcuSim.WriteDataMemory(0, memory);
  }

  fs::path setup;
  sim::LcuSimulator lcuSim{sim::test::ManualTime()};
  std::ostringstream transcript;
  RecordingBackend backend{lcuSim, transcript};
  CUsbDevice device{backend};
  LinkOwner link{device};
  MemorySettingsStore store;
  test::RecordingPrompter prompter;
  test::FixedClock clock;
  test::MemoryFileSystem files;
  AppState app;
  SilentCommandUi ui;
  CommandContext ctx{device, link, store, prompter, clock, files, app, ui};
  DownloadResult download;  // the last download's outcome
};

// What a command may do to the LCU's data memory when it fails.
enum class Effect {
  kReads,     // only reads: the data memory stays as it was
  kWrites,    // writes the LCU: a failed write may leave part of it behind
  kDownload,  // empties the LCU only after its data file is complete and committed
};

struct MatrixCommand {
  const char* name;
  Effect effect;
  // Readies the LCU, the dialogs' answers and the flags for one run.
  std::function<void(Bench&)> prepare;
  std::function<CommandResult(Bench&)> run;
  // The messages a fault at transfer k (from 1) of the clean run must show.
  Messages (*expected)(Fault, int k);
};

// The control and bulk transfers of a transcript, in order.
std::vector<UsbCall> Transfers(const std::string& transcript) {
  std::vector<UsbCall> transfers;
  std::istringstream lines(transcript);
  std::string line, problem;
  while (std::getline(lines, line)) {
    const std::optional<UsbCall> call = ParseUsbCall(line, problem);
    if (call && (call->kind == UsbCallKind::kControl || call->kind == UsbCallKind::kBulkRead ||
                 call->kind == UsbCallKind::kBulkWrite))
      transfers.push_back(*call);
  }
  return transfers;
}

std::vector<MatrixCommand> Commands() {
  const auto none = [](Bench&) {};
  const auto yes = [](Bench& b) { b.prompter.answers = {true, true}; };
  return {
      {"Download", Effect::kDownload, [](Bench& b) { b.PrepareDownload(); },
       [](Bench& b) { return (b.download = Download(b.ctx)).result; }, expect::Download},
      {"SendConfig", Effect::kWrites, yes, [](Bench& b) { return SendConfig(b.ctx).result; }, expect::SendConfig},
      {"ResetLogbook", Effect::kWrites, yes, [](Bench& b) { return ResetLogbook(b.ctx).result; }, expect::ResetLogbook},
      {"ExtractSetup", Effect::kReads, yes, [](Bench& b) { return ExtractSetup(b.ctx, "extract.stp").result; },
       expect::ExtractSetup},
      {"ReadHexFile", Effect::kReads, none, [](Bench& b) { return ReadProgram(b.ctx, "Read.bin").result; },
       expect::ReadHexFile},
      {"InitializeLcu", Effect::kWrites,
       [](Bench& b) {
         b.prompter.initAnswer = 1;
         b.prompter.answers = {true};
       },
       [](Bench& b) { return InitializeLcu(b.ctx).result; }, expect::InitializeLcu},
      {"SessionData", Effect::kWrites,
       [](Bench& b) {
         b.prompter.sessionAnswer = SessionDataValues{5, 2, 40, 3};
       },
       [](Bench& b) { return EditSessionData(b.ctx).result; }, expect::SessionData},
      {"SetLcuClock", Effect::kWrites, yes, [](Bench& b) { return SetLcuClock(b.ctx).result; }, expect::SetLcuClock},
      {"StartLogger", Effect::kWrites, [](Bench& b) { b.app.m_bLoggerStarted = 0; },
       [](Bench& b) { return StartLogger(b.ctx, true).result; }, expect::StartLogger},
      {"StopLogger", Effect::kWrites, [](Bench& b) { b.app.m_bLoggerStarted = 1; },
       [](Bench& b) { return StartLogger(b.ctx, false).result; }, expect::StartLogger},
      {"LcuConfiguration", Effect::kReads, none,
       [](Bench& b) { return CLcuConfg(b.ctx).IsReady() ? CommandResult::kDone : CommandResult::kFailed; },
       expect::ReadLcu},
      {"LoadHexFile", Effect::kReads, none,
       [](Bench& b) { return LoadHexFile(b.ctx, (b.setup / "Setup" / "firmware.hex").string()).result; },
       expect::LoadHexFile},
      {"MonitorTick", Effect::kReads, none,
       [](Bench& b) {
         std::vector<std::uint32_t> readings(kMonitorChannels.size());
         return ExchangeChannels(b.device, kMonitorChannels, readings) ? CommandResult::kDone : CommandResult::kFailed;
       },
       expect::Silent},
      {"MemoryRefresh", Effect::kReads, none,
       [](Bench& b) { return ReadMemoryRows(b.device, 0x8000, 16) ? CommandResult::kDone : CommandResult::kFailed; },
       expect::Silent},
      {"MemoryWrite", Effect::kWrites, none, [](Bench& b) { return WriteMemoryDatum(b.ctx, kPokeAddresses, 0x12); },
       expect::MemoryWrite},
      {"StatusPoll", Effect::kReads, none,
       [](Bench& b) {
         b.device.PollStatus();
         return b.device.IsOnline() ? CommandResult::kDone : CommandResult::kFailed;
       },
       expect::Silent},
  };
}

class CommandFaultMatrix : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root / "Setup");
    test::WriteBytes(root / "Setup" / "@LCU1.cal", sim::MakeSampleCalibration().Bytes());
    std::ofstream(root / "Setup" / "firmware.hex", std::ios::binary)
        << test::HexRecords(0x2000, std::vector<std::uint8_t>(256, 0x5A), {16}) << test::HexEndRecord() << "\n";
  }

  test::TempFolder root;
};

// Runs one case and returns what went wrong, empty when nothing did.
std::vector<std::string> RunCase(const fs::path& root, const MatrixCommand& command, Fault fault, int k) {
  std::vector<std::string> problems;
  const auto check = [&](bool ok, const std::string& what) {
    if (!ok) problems.push_back(what);
  };
  Bench b(root);
  if (!b.device.IsOnline()) return {"the LCU is not on line before the command"};
  command.prepare(b);
  const std::vector<std::uint8_t> memoryBefore = b.lcuSim.DataMemory();
  sim::FaultPlan plan;
  if (fault == Fault::kFail) plan.failTransfer = k;
  if (fault == Fault::kShort) plan.shortTransfer = k;
  if (fault == Fault::kUnplug) plan.unplugAtTransfer = k;
  b.lcuSim.SetFaults(plan);

  const CommandResult result = command.run(b);
  const Messages expected = test::fault_messages::WithDataFilePath(command.expected(fault, k), b.download.path);
  check(result == CommandResult::kFailed, "the command did not fail");
  check(b.prompter.messages == expected, "messages " + ::testing::PrintToString(b.prompter.messages) + " instead of " +
                                             ::testing::PrintToString(expected));
  check(b.lcuSim.TransferCount() == k, "it made " + std::to_string(b.lcuSim.TransferCount()) + " transfers");
  check(!b.device.IsOnline() && b.device.m_hDevice == kInvalidUsbHandle, "the link was not closed");
  check(!b.device.IsBusy() && !b.link.IsCommandRunning(), "the link or the download stayed busy");
  for (const auto& [path, file] : b.files.files) check(file.closed, path + " was left open");
  check(!b.store.ReadValue("Corvalent\\ChannelData", "ConfigStamp"), "a failed command counted a configuration");

  if (command.effect == Effect::kDownload) {
    const test::MemoryFileRecord* committed = b.files.Committed(b.download.path);
    if (b.download.fileSaved) {
      check(committed && committed->bytes.size() == kLoggerHeaderSize + test::kFaultDownloadDataBytes,
            "a saved data file is not complete");
    } else {
      check(b.lcuSim.DataMemory() == memoryBefore, "the LCU lost its data although the file was not saved");
      check(!b.store.ReadValue("Corvalent\\Download", "File"), "the registry names an unsaved file");
      check(committed == nullptr, "an incomplete data file was committed");
    }
  } else {
    for (const auto& [path, file] : b.files.files) check(!file.committed, path + " was committed after a failure");
    if (command.effect == Effect::kReads)
      check(b.lcuSim.DataMemory() == memoryBefore, "a command that only reads changed the LCU's data memory");
  }

  // The LCU comes back: the next poll finds it and the same command succeeds.
  b.lcuSim.SetFaults({});
  b.lcuSim.Replug();
  b.device.PollStatus();
  check(b.device.IsOnline(), "the next poll did not find the LCU");
  b.prompter.messages.clear();
  command.prepare(b);
  b.clock.now.second += 1;
  check(command.run(b) == CommandResult::kDone,
        "the command failed again after the replug: " + ::testing::PrintToString(b.prompter.messages));
  return problems;
}

TEST_F(CommandFaultMatrix, EveryTransferOfEveryCommandFailsShortAndUnpluggedInTurn) {
  for (const MatrixCommand& command : Commands()) {
    Bench b(root.Path());
    ASSERT_TRUE(b.device.IsOnline());
    command.prepare(b);
    b.lcuSim.SetFaults({});
    b.transcript.str({});
    ASSERT_EQ(command.run(b), CommandResult::kDone) << command.name << ::testing::PrintToString(b.prompter.messages);
    const std::vector<UsbCall> clean = Transfers(b.transcript.str());
    ASSERT_EQ(b.lcuSim.TransferCount(), static_cast<int>(clean.size())) << command.name;
    ASSERT_FALSE(clean.empty()) << command.name;
    for (const Fault fault : {Fault::kFail, Fault::kShort, Fault::kUnplug}) {
      for (int k = 1; k <= static_cast<int>(clean.size()); ++k) {
        const UsbCall& transfer = clean[static_cast<std::size_t>(k - 1)];
        if (fault == Fault::kShort && transfer.kind == UsbCallKind::kControl) continue;
        for (const std::string& problem : RunCase(root.Path(), command, fault, k))
          ADD_FAILURE() << command.name << ", " << FaultName(fault) << " at transfer " << k << " ("
                        << DescribeUsbRequest(transfer) << "): " << problem;
      }
    }
  }
}

}  // namespace
}  // namespace lcu
