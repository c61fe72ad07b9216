// The channel model against the simulated LCU with the sample setup: the definitions load,
// the monitor exchange turns readings into the sample quantities, and zeroing shifts an
// offset by the shown value, saves the calibration file and sends the configuration once.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/app/messages.h"
#include "core/channels/channel_calibration.h"
#include "core/channels/channel_conversion.h"
#include "core/channels/channel_table.h"
#include "core/channels/channel_zeroing.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"
#include "core/monitor/channel_exchange.h"
#include "core/monitor/monitor_row.h"
#include "core/util/little_endian.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_channels.h"
#include "sim/sample_setup.h"
#include "support/fixed_clock.h"
#include "support/host_reasons.h"
#include "support/recording_prompter.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kOffsetOfChannel5 = cal::kRecords + 5 * kChannelCalibrationSize + 2;

sim::SimulatorOptions ManualTime() {
  sim::SimulatorOptions options;
  options.manualTime = true;
  return options;
}

class ChannelModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("lcu-chan-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root);
    store.WriteString("Paths", "SetupDirectory", (root / "Setup").string());
    store.WriteString("Paths", "DataDirectory", (root / "Sample").string());
    ASSERT_EQ(sim::WriteSampleSetup(store), "");
    device.PollStatus();
    ASSERT_EQ(device.m_bOnline, 1);
    ASSERT_TRUE(LoadChannelDefinitions(ctx));
  }
  void TearDown() override { fs::remove_all(root); }

  // The Value cell a monitor row of the channel shows now.
  std::string ShownValue(std::uint16_t channel) {
    std::uint32_t reading = 0;
    EXPECT_TRUE(ExchangeChannels(device, std::span(&channel, 1), std::span(&reading, 1)));
    return FormatValueCell(ConvertReading(app.m_calibration, reading, channel), app.m_channelTable[channel].decimals);
  }
  std::vector<std::uint8_t> CalibrationFile() const {
    std::ifstream in(root / "Setup" / "@LCU1.cal", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  sim::LcuSimulator lcuSim{ManualTime()};
  CUsbDevice device{lcuSim};
  fs::path root;
  MemorySettingsStore store;
  test::RecordingPrompter prompter;
  test::FixedClock clock;
  StdFileSystem files;
  AppState app;
  SilentCommandUi ui;
  CommandContext ctx{device, store, prompter, clock, files, app, ui};
};

TEST_F(ChannelModelTest, MonitorShowsTheSampleQuantitiesUnderTheirNames) {
  EXPECT_EQ(app.m_nDefinitionGeneration, 1u);
  std::vector<std::uint16_t> channels(sim::kSampleChannelCount);
  for (std::uint16_t ch = 0; ch < channels.size(); ++ch) channels[ch] = ch;
  std::vector<std::uint32_t> readings(channels.size());
  ASSERT_TRUE(ExchangeChannels(device, channels, readings));

  // The run-time channel counts the simulated seconds; a fresh LCU's clock stands on a whole
  // second.
  const sim::EngineState state = sim::EngineStateAt(readings[261]);
  for (const std::uint16_t ch : channels) {
    const sim::SampleChannel info = sim::SampleChannelInfo(ch);
    const ChannelDefinition& definition = app.m_channelTable[ch];
    EXPECT_EQ(definition.NameText(), info.name);
    EXPECT_EQ(definition.UnitsText(), info.units);
    // Within one displayed digit of the quantity the signal model encoded.
    const double digit = std::pow(10.0, -definition.decimals);
    EXPECT_NEAR(ConvertReading(app.m_calibration, readings[ch], ch), sim::SampleValue(ch, state), digit)
        << ch << " " << info.name;
  }
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ChannelModelTest, ZeroingShiftsTheOffsetSavesAndSendsOnce) {
  const std::string shown = ShownValue(5);
  const std::vector<std::uint8_t> fileBefore = CalibrationFile();
  const float offsetBefore = le::F32(fileBefore, kOffsetOfChannel5);
  prompter.answers = {true};  // the LCU holds logged data

  const std::string shown200 = ShownValue(200);
  const ZeroingRow rows[] = {{5, shown}, {200, shown200}};
  EXPECT_EQ(ZeroChannels(ctx, rows, 0.0f), CommandResult::kDone);

  std::vector<std::uint8_t> fileAfter = CalibrationFile();
  const float offsetAfter = le::F32(fileAfter, kOffsetOfChannel5);
  EXPECT_NEAR(offsetAfter - offsetBefore, -std::stod(shown), 1e-5);
  ASSERT_EQ(fileAfter.size(), fileBefore.size());
  std::copy_n(fileBefore.begin() + kOffsetOfChannel5, 4, fileAfter.begin() + kOffsetOfChannel5);
  EXPECT_EQ(fileAfter, fileBefore);  // nothing but that offset changed
  EXPECT_EQ(prompter.questions, std::vector<std::string>{std::string(msg::kLcuContainsData)});
  EXPECT_EQ(prompter.messages, std::vector<std::string>{std::string(msg::kConfigurationUpdated)});
  EXPECT_EQ(le::F32(lcuSim.DataMemory(), kOffsetOfChannel5), offsetAfter);
  EXPECT_EQ(store.ReadValue(Profile::SectionKey(reg::kChannelData), reg::kZeroFlag), "TRUE");
  EXPECT_NEAR(std::stod(ShownValue(5)), 0.0, 0.0051);
}

TEST_F(ChannelModelTest, FailedSaveIsReportedAndSendsNothing) {
  const std::string shown = ShownValue(5);
  const CalibrationImage before = app.m_calibration;
  fs::remove(root / "Setup" / "@LCU1.cal");
  fs::create_directory(root / "Setup" / "@LCU1.cal");
  const int transfers = lcuSim.TransferCount();

  const ZeroingRow row{5, shown};
  EXPECT_EQ(ZeroChannels(ctx, std::span(&row, 1), 0.0f), CommandResult::kFailed);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{FormatSystemError(
                                   msg::kFailedToSaveCalibrationFile, (root / "Setup" / "@LCU1.cal").string() + ": " + std::string(test::kFolderOpenedAsFile))});
  EXPECT_EQ(lcuSim.TransferCount(), transfers);
  EXPECT_EQ(app.m_calibration, before);
  EXPECT_FALSE(store.ReadValue(Profile::SectionKey(reg::kChannelData), reg::kZeroFlag));
}

}  // namespace
}  // namespace lcu
