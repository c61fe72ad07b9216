// The sample setup and the signal model fit each other: the core's conversion turns every
// simulated reading back into the quantity the model meant. (That the definition file names
// the channels as the image does shows in every download's and monitor's names.)
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "core/channels/calibration_file.h"
#include "core/channels/channel_calibration.h"
#include "core/channels/channel_conversion.h"
#include "core/channels/channel_definition.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"
#include "sim/sample_channels.h"
#include "sim/sample_setup.h"
#include "sim/signal_model.h"
#include "sim_test_util.h"

namespace lcu::sim {
namespace {

using test::TempFolder;

// Every reading converts back to the quantity the signal model meant, within one displayed
// digit of the channel's definition.
TEST(SampleSetup, CalibrationTurnsEveryReadingBackIntoItsQuantity) {
  const LoggerHeader image = MakeSampleCalibration();
  const auto definitions = ChannelDefinitionFile::Parse(MakeSampleChannelDefinitions());
  for (const double t : {0.0, 7.3, 100.25, 3000.0}) {
    const SignalSnapshot snapshot(t);
    for (std::uint16_t ch = 0; ch < kSampleChannelCount; ++ch) {
      const double digit = std::pow(10.0, -definitions.records[ch].decimals);
      EXPECT_NEAR(ConvertReading(image, snapshot.Reading(ch), ch), SampleValue(ch, snapshot.State()), digit)
          << "channel " << ch << " (" << SampleChannelInfo(ch).name << ") at " << t << " s";
    }
  }
}

TEST(SampleSetup, WrittenIntoTheSetupFolderAndRegisteredOrSaysWhyNot) {
  TempFolder folder;
  MemorySettingsStore store;
  ASSERT_TRUE(store.WriteString(reg::kPaths, reg::kSetupDirectory, (folder.Path() / "Setup").string()));
  ASSERT_TRUE(store.WriteString(reg::kPaths, reg::kDataDirectory, (folder.Path() / "Data").string()));

  ASSERT_EQ(WriteSampleSetup(store, 7), "");
  EXPECT_EQ(std::filesystem::file_size(folder.Path() / "Setup" / "channel.dsc"), 256u + 128u * kSampleChannelCount);
  EXPECT_EQ(store.ReadValue(SlotKey(1), reg::kSerial), "7");
  EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "Data"));

  CalibrationImage image;
  ASSERT_TRUE(LoadCalibration(store, 7, image));
  EXPECT_EQ(image.LcuNumber(), 7);
  EXPECT_EQ(CalibrationName(image.Bytes(), 0), "WATER TEMP");

  // Why it could not write: a file where the setup folder should be, or a store that takes
  // no registration.
  std::ofstream(folder.Path() / "occupied") << "a file, not a folder";
  MemorySettingsStore occupied;
  ASSERT_TRUE(occupied.WriteString(reg::kPaths, reg::kSetupDirectory, (folder.Path() / "occupied").string()));
  const std::string error = WriteSampleSetup(occupied);
  EXPECT_NE(error.find("occupied"), std::string::npos) << error;
  store.SetReadOnly(true);
  EXPECT_NE(WriteSampleSetup(store), "");
}

}  // namespace
}  // namespace lcu::sim
