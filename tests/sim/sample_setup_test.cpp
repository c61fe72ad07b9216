// The sample setup and the signal model fit each other: the calibration image turns every
// simulated reading back into the quantity the model meant, the channel definition file
// names the calibrated channels as the image does, and a fresh LCU holds the upload's layout.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <fstream>
#include <set>

#include "core/channels/calibration_file.h"
#include "core/channels/channel_calibration.h"
#include "core/channels/channel_definition.h"
#include "core/host/default_paths.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"
#include "sim/sample_channels.h"
#include "sim/sample_setup.h"
#include "sim/signal_model.h"
#include "sim_test_util.h"

namespace lcu::sim {
namespace {

using test::TempFolder;

// The engineering value of a calibrated reading, independently of the simulator.
double Calibrated(const ChannelCalibration& r, double raw) {
  const std::size_t n = r.lastPoint;
  switch (r.type) {
    case CAL_INTERPOLATE:
      if (raw <= r.x[0]) return r.y[0] + r.offset;
      if (raw >= r.x[n]) return r.y[n] + r.offset;
      for (std::size_t i = 0; i < n; ++i) {
        if (r.x[i] < raw && raw <= r.x[i + 1]) {
          return (r.y[i + 1] - r.y[i]) / (r.x[i + 1] - r.x[i]) * (raw - r.x[i]) + r.y[i] + r.offset;
        }
      }
      return 0;
    case CAL_STEP:
      if (raw >= r.x[n]) return r.y[n] + r.offset;
      for (std::size_t i = 0; i < n; ++i) {
        if (raw < r.x[i + 1]) return r.y[i] + r.offset;
      }
      return 0;
    case CAL_LINEAR:
    case CAL_LINEAR_ALT:
      return r.b * raw + r.c + r.offset;
    case CAL_QUADRATIC:
      return r.a * raw * raw + r.b * raw + r.c + r.offset;
    default:
      return 0;
  }
}

struct Decoded {
  double value;
  double tolerance;  // half a count of the channel's resolution
};

Decoded Decode(const LoggerHeader& image, std::uint16_t channel, std::uint32_t reading) {
  const auto bytes = image.Bytes();
  if (channel >= 112 && channel <= 127) channel = ReadSourceWord(bytes, channel);
  const auto r = static_cast<std::uint16_t>(reading & 0xFFFF);
  if (channel < 64) {
    const ChannelCalibration record = ReadChannelCalibration(bytes, channel);
    const double step = std::abs(Calibrated(record, r + 1.0) - Calibrated(record, r));
    return {Calibrated(record, r), step + 1e-4};
  }
  if (channel < 112) {
    double divisor = 100.0;
    if (const auto k = ScaleFlagIndex(channel)) {
      divisor = (ReadScaleFlag(bytes, *k) & 0x0A) != 0 ? 10.0 : 1.0;
    } else if (channel <= 72 || channel == 79 || channel == 94 || channel == 95) {
      divisor = 1.0;
    } else if (channel <= 78 || channel == 82 || (channel >= 85 && channel <= 93)) {
      divisor = 10.0;
    }
    const double raw = (channel == 98 || channel == 100) ? static_cast<std::int16_t>(r) : r;
    return {raw / divisor, 0.5 / divisor + 1e-6};
  }
  if (channel >= 192 && channel < 224) return {std::bit_cast<float>(reading), 1e-4};
  if (channel < 256) {
    const GainOffset pair = ReadGainOffset(bytes, channel);
    return {pair.gain * r + pair.offset, std::abs(pair.gain) * 0.5 + 1e-3};
  }
  const bool signed32 = channel == 256 || (channel >= 264 && channel <= 278);
  if (channel == 257 || channel == 258) return {static_cast<double>(static_cast<std::int16_t>(r)), 0.5};
  return {signed32 ? static_cast<double>(static_cast<std::int32_t>(reading)) : reading, 0.5};
}

TEST(SampleSetup, CalibrationTurnsEveryReadingBackIntoItsQuantity) {
  const LoggerHeader image = MakeSampleCalibration();
  for (const double t : {0.0, 7.3, 45.0, 100.25, 1234.5, 3000.0}) {
    const SignalSnapshot snapshot(t);
    for (std::uint16_t ch = 0; ch < kSampleChannelCount; ++ch) {
      const Decoded d = Decode(image, ch, snapshot.Reading(ch));
      EXPECT_NEAR(d.value, SampleValue(ch, snapshot.State()), d.tolerance)
          << "channel " << ch << " (" << SampleChannelInfo(ch).name << ") at " << t << " s";
    }
  }
}

TEST(SampleSetup, NamedQuantitiesStayPlausibleAndMove) {
  struct Case {
    std::uint16_t channel;
    double low;
    double high;
  };
  const Case cases[] = {{0, 75, 100},  {1, 90, 120},  {4, 1, 6},      {6, -0.1, 100.1},   {7, 12.5, 14.5},
                        {12, 1, 6},    {64, 800, 12000}, {65, 60, 240}, {128, 500, 950}, {192, -2.5, 2.5}};
  const LoggerHeader image = MakeSampleCalibration();
  for (const Case& c : cases) {
    double low = 1e9;
    double high = -1e9;
    std::set<std::uint32_t> distinct;
    for (int step = 0; step < 600; ++step) {
      const std::uint32_t reading = SignalReading(c.channel, step * 1.0);
      const double value = Decode(image, c.channel, reading).value;
      low = std::min(low, value);
      high = std::max(high, value);
      if (step < 5) distinct.insert(reading);
    }
    EXPECT_GE(low, c.low) << SampleChannelInfo(c.channel).name;
    EXPECT_LE(high, c.high) << SampleChannelInfo(c.channel).name;
    EXPECT_GT(high, low) << SampleChannelInfo(c.channel).name;
    if (c.channel != 12) {
      EXPECT_GT(distinct.size(), 1u) << SampleChannelInfo(c.channel).name << " within seconds";
    }
  }
}

TEST(SampleSetup, DefinitionFileNamesTheCalibratedChannelsAsTheImageDoes) {
  const auto file = ChannelDefinitionFile::Parse(MakeSampleChannelDefinitions());
  ASSERT_EQ(file.records.size(), kSampleChannelCount);
  const LoggerHeader image = MakeSampleCalibration();
  std::set<std::string> names;
  for (int i = 0; i < kCalibratedChannels; ++i) {
    const auto field = CalibrationNameField(image.Bytes(), i);
    const auto& record = file.records[static_cast<std::size_t>(i)];
    EXPECT_TRUE(std::equal(field.begin(), field.end(), record.name.begin(),
                           [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }))
        << i;
    EXPECT_FALSE(CalibrationName(image.Bytes(), i).empty());
    names.insert(CalibrationName(image.Bytes(), i));
  }
  EXPECT_EQ(names.size(), 64u) << "a name placing two records would hide one";
  for (std::size_t k = 64; k < file.records.size(); ++k) {
    EXPECT_FALSE(file.records[k].NameText().empty()) << k;
    EXPECT_GE(file.records[k].decimals, 0);
    EXPECT_LE(file.records[k].decimals, 3);
  }
}

TEST(SampleSetup, FreshLcuHoldsTheUploadLayoutOfTheSampleTable) {
  LcuSimulator sim(test::ManualTime());
  CUsbDevice device(sim);
  device.PollStatus();
  const LoggerHeader header = test::ReadHeader(device);
  const LoggerHeader image = MakeSampleCalibration();
  ASSERT_EQ(header.BufferCount(), 4);

  // The upload's arithmetic: shares in double precision in this order, truncated.
  const double freeSpace = 2.0 * 524288 - 16384;
  double w = 0;
  for (std::size_t i = 0; i < 4; ++i) w += image.Entry(i).weight * static_cast<double>(kRates[image.Entry(i).rateCode]);
  std::uint32_t p = 16384;
  for (std::size_t i = 0; i < 4; ++i) {
    const LogBufferEntry e = header.Entry(i);
    EXPECT_EQ(e.rateCode, image.Entry(i).rateCode);
    EXPECT_EQ(e.weight, image.Entry(i).weight);
    EXPECT_EQ(e.start, PositionOf(p)) << i;
    const double share = e.weight * static_cast<double>(kRates[e.rateCode]) * freeSpace / w * 0.25;
    p += 4 * static_cast<std::uint32_t>(share);
  }
  EXPECT_EQ(header.Entry(4).start, PositionOf(p));
  EXPECT_LE(p, 2u * 524288);
  EXPECT_GT(p, 2u * 524288 - 16) << "less than 4 bytes lost per buffer";
  EXPECT_EQ(header.U16(hdr::kFirstBufferSize), Distance(header.Entry(0).start, header.Entry(1).start) >> 8);
  EXPECT_EQ(header.Text(hdr::kConfigId, hdr::kConfigIdLength), "SAMPLE SETUP   ");
}

TEST(SampleSetup, WrittenIntoTheSetupFolderAndRegistered) {
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
}

TEST(SampleSetup, ReportsWhyItCouldNotWrite) {
  TempFolder folder;
  std::filesystem::create_directories(folder.Path());
  std::ofstream(folder.Path() / "occupied") << "a file, not a folder";
  MemorySettingsStore store;
  ASSERT_TRUE(store.WriteString(reg::kPaths, reg::kSetupDirectory, (folder.Path() / "occupied").string()));
  const std::string error = WriteSampleSetup(store);
  EXPECT_NE(error.find("occupied"), std::string::npos) << error;

  MemorySettingsStore readOnly;
  ASSERT_TRUE(readOnly.WriteString(reg::kPaths, reg::kSetupDirectory, (folder.Path() / "Setup").string()));
  ASSERT_TRUE(readOnly.WriteString(reg::kPaths, reg::kDataDirectory, (folder.Path() / "Data").string()));
  readOnly.SetReadOnly(true);
  EXPECT_NE(WriteSampleSetup(readOnly), "");
}

}  // namespace
}  // namespace lcu::sim
