// Zeroing rows: the shown text read like a "%f" scan and the offset shift it gives.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "channels/channel_calibration.h"
#include "channels/channel_conversion.h"
#include "channels/channel_zeroing.h"

namespace lcu {
namespace {

TEST(ChannelZeroingTest, ShownTextReadsLikeAFloatScan) {
  const std::pair<std::string, float> cases[] = {
      {"12.5", 12.5f},       {"", 0.0f},        {"  -3.25abc", -3.25f}, {"+2", 2.0f},        {"+-2", 0.0f},
      {"abc", 0.0f},         {"\t1e3", 1000.0f}, {"654.36", 654.36f},   {"1e50", HUGE_VALF}, {"-1e50", -HUGE_VALF},
      {"inf", HUGE_VALF},    {std::string(79, ' ') + "7", 0.0f},         {std::string(78, ' ') + "7", 7.0f},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseShownValue(text), value) << '"' << text << '"';
  EXPECT_TRUE(std::isnan(ParseShownValue("-nan")));
}

TEST(ChannelZeroingTest, RowShiftsItsOffsetByTheShownDifference) {
  CalibrationImage image;
  ChannelCalibration linear;
  linear.type = CAL_LINEAR;
  linear.b = 0.1f;
  WriteChannelCalibration(image.Bytes(), 5, linear);

  EXPECT_EQ(ZeroRow(image, {5, "12.5"}, 0.0f), 1);
  EXPECT_EQ(ReadChannelCalibration(image.Bytes(), 5).offset, -12.5f);
  EXPECT_EQ(ConvertReading(image, 125, 5), 0.0);
  EXPECT_EQ(ZeroRow(image, {5, ""}, 2.0f), 1);  // an empty cell counts as 0
  EXPECT_EQ(ReadChannelCalibration(image.Bytes(), 5).offset, -10.5f);

  const CalibrationImage before = image;
  EXPECT_EQ(ZeroRow(image, {200, "12.5"}, 0.0f), 0);
  EXPECT_EQ(image, before);
}

}  // namespace
}  // namespace lcu
