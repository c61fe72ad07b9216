// Load Hex File against the simulated LCU: the program memory after the upload is exactly
// the image the file describes, sealed with the checksum word the LCU itself computes, and
// a refused file leaves the LCU untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/firmware/hex_file_upload.h"
#include "core/firmware/hex_image.h"
#include "core/host/memory_settings_store.h"
#include "core/util/little_endian.h"
#include "platform/host_file_system.h"
#include "sim/lcu_simulator.h"
#include "sim/program_image.h"
#include "support/fixed_clock.h"
#include "support/hex_text.h"
#include "support/recording_prompter.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

class HexUploadSimTest : public ::testing::Test {
 protected:
  static sim::SimulatorOptions ManualTime() {
    sim::SimulatorOptions options;
    options.manualTime = true;
    return options;
  }
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::temp_directory_path() / (std::string("lcu-hexsim-") + info->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    device.PollStatus();
    ASSERT_EQ(device.m_bOnline, 1);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string WriteHex(const std::string& text) const {
    const fs::path path = folder / "firmware.hex";
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  fs::path folder;
  sim::LcuSimulator lcuSim{ManualTime()};
  CUsbDevice device{lcuSim};
  MemorySettingsStore store;
  test::RecordingPrompter prompter;
  test::FixedClock clock;
  HostFileSystem files;
  AppState app;
  SilentCommandUi ui;
  CommandContext ctx{device, store, prompter, clock, files, app, ui};
};

TEST_F(HexUploadSimTest, ProgramMemoryHoldsTheImageOfTheFile) {
  std::mt19937 rng(7);
  std::vector<std::uint8_t> firmware(kFirmwareImageSize);
  for (auto& b : firmware) b = static_cast<std::uint8_t>(rng());
  std::vector<std::uint8_t> boot(0x100, 0xB0);

  // A file as the LCU's build tools write it: an extended address record, boot-loader records
  // below the window, then the firmware in records of 16 and 32 bytes, CR LF line ends.
  const std::string text = test::HexRecord(0, {0x00, 0x00}, test::kHexExtendedLinear) + "\r\n" +
                           test::HexRecords(0x0000, boot, {16}, "\r\n") +
                           test::HexRecords(kFirmwareBase, firmware, {16, 32}, "\r\n") + test::HexEndRecord() + "\r\n";
  const std::vector<std::uint8_t> before = lcuSim.ProgramMemory();
  const int transfersBefore = lcuSim.TransferCount();

  ASSERT_EQ(OnLoadHexFile(ctx, WriteHex(text)), CommandResult::kDone) << ::testing::PrintToString(prompter.messages);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(lcuSim.TransferCount() - transfersBefore, 2);

  const std::vector<std::uint8_t> program = lcuSim.ProgramMemory();
  ASSERT_EQ(program.size(), kProgramMemorySize);
  std::vector<std::uint8_t> expected = before;
  std::copy(firmware.begin(), firmware.end() - 2, expected.begin() + kFirmwareBase);
  // The word the LCU computes over what it received, not the file's last two bytes.
  le::PutU16(expected, kChecksumAddress, sim::ProgramChecksum(expected));
  EXPECT_TRUE(program == expected);
}

TEST_F(HexUploadSimTest, RefusedFileLeavesTheLcuUntouched) {
  const std::vector<std::uint8_t> before = lcuSim.ProgramMemory();
  const int transfersBefore = lcuSim.TransferCount();
  const std::string text =
      test::HexRecord(0x2000, {1, 2, 3}) + "\n" + test::HexRecord(0x7FE0, std::vector<std::uint8_t>(33, 0x5A));
  EXPECT_EQ(OnLoadHexFile(ctx, WriteHex(text)), CommandResult::kFailed);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{HexErrorText({HexError::kPastImageEnd, 2})});
  EXPECT_EQ(lcuSim.TransferCount(), transfersBefore);
  EXPECT_TRUE(lcuSim.ProgramMemory() == before);
}

}  // namespace
}  // namespace lcu
