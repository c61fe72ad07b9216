// The explained conversion: its value is ConvertReading's to the bit for every calibration
// type and channel range, and its lines show the numbers a technician needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <vector>

#include "core/channels/channel_calibration.h"
#include "core/channels/channel_conversion.h"
#include "core/monitor/conversion_explanation.h"
#include "core/monitor/monitor_row.h"

namespace lcu {
namespace {

CalibrationImage RandomImage(std::mt19937& random, std::uint16_t type) {
  std::uniform_real_distribution<float> number(-500.0f, 500.0f);
  std::uniform_int_distribution<int> point(0, 12);
  CalibrationImage image;
  for (int channel = 0; channel < kCalibratedChannels; ++channel) {
    ChannelCalibration cal;
    cal.type = type;
    cal.offset = number(random) / 7.0f;
    cal.lastPoint = static_cast<std::uint16_t>(point(random));
    std::uniform_int_distribution<int> gap(1, 5000);
    int x = gap(random);
    for (std::size_t p = 0; p < kCalibrationPoints; ++p) {
      cal.x[p] = static_cast<std::uint16_t>(std::min(x, 65535));
      cal.y[p] = number(random) / 3.0f;
      x += gap(random);
    }
    // Some tables are not ascending: the conversion then finds no segment.
    if (channel % 9 == 0) std::swap(cal.x[1], cal.x[2]);
    cal.a = number(random) / 1.0e6f;
    cal.b = number(random) / 97.0f;
    cal.c = number(random);
    WriteChannelCalibration(image.Bytes(), channel, cal);
  }
  return image;
}

TEST(ConversionExplanationTest, ReproducesConvertReadingForEveryCalibrationType) {
  std::mt19937 random(20261207);
  std::uniform_int_distribution<std::uint32_t> reading;
  for (const std::uint16_t type :
       {CAL_INTERPOLATE, CAL_LINEAR, CAL_QUADRATIC, CAL_STEP, CAL_LINEAR_ALT, std::uint16_t{3}}) {
    const CalibrationImage image = RandomImage(random, type);
    std::vector<TablePosition> seen;
    for (int k = 0; k < 4000; ++k) {
      const int channel = k % kCalibratedChannels;
      // Readings around the breakpoints as well as anywhere.
      std::uint32_t raw = reading(random);
      if (k % 3 == 0)
        raw = ReadChannelCalibration(image.Bytes(), channel).x[static_cast<std::size_t>(k % 13)] +
              static_cast<std::uint32_t>(k % 2);
      const ConversionExplanation e = ExplainConversion(image, raw, channel, 3);
      const double converted = ConvertReading(image, raw, channel);
      ASSERT_EQ(std::bit_cast<std::uint64_t>(e.value), std::bit_cast<std::uint64_t>(converted))
          << "type " << type << " channel " << channel << " reading " << raw;
      if (!e.steps.empty()) {
        ASSERT_EQ(e.steps.back().result, e.value);
      }
      EXPECT_EQ(e.shown, FormatValueCell(converted, 3));
      seen.push_back(e.position);
    }
    // A table always has an enclosing pair between its first and last points; only a step
    // table of one point leaves readings below it in no step.
    if (type == CAL_INTERPOLATE || type == CAL_STEP) {
      std::vector<TablePosition> expected = {TablePosition::kFirstPoint, TablePosition::kLastPoint,
                                             TablePosition::kSegment};
      if (type == CAL_STEP) expected.push_back(TablePosition::kNoSegment);
      for (const TablePosition p : expected)
        EXPECT_NE(std::find(seen.begin(), seen.end(), p), seen.end()) << "type " << type << " never reached a case";
    }
  }
}

TEST(ConversionExplanationTest, ReproducesEveryOtherChannelRule) {
  CalibrationImage image;
  WriteScaleFlag(image.Bytes(), 2, 0x02);
  WriteSourceWord(image.Bytes(), 121, 121);
  WriteSourceWord(image.Bytes(), 122, 200);
  WriteGainOffset(image.Bytes(), 130, {0.37f, -10.5f});
  WriteGainOffset(image.Bytes(), 250, {3.3f, 1.25f});
  const std::uint32_t readings[] = {0, 1, 0x7FFF, 0x8000, 0xFF9C, 0x40490FDB, 0xBF800000, 0xFFFFFFFF, 0x7FC00000};
  for (int channel = 64; channel <= 300; ++channel) {
    for (const std::uint32_t reading : readings) {
      const ConversionExplanation e = ExplainConversion(image, reading, channel, 2);
      ASSERT_EQ(std::bit_cast<std::uint64_t>(e.value),
                std::bit_cast<std::uint64_t>(ConvertReading(image, reading, channel)))
          << "channel " << channel << " reading " << reading;
    }
  }
}

CalibrationImage TableImage(std::uint16_t type) {
  CalibrationImage image;
  ChannelCalibration cal;
  cal.type = type;
  cal.lastPoint = 2;
  cal.offset = 0.5f;
  cal.x = {100, 200, 300};
  cal.y = {0.0f, 10.0f, 40.0f};
  cal.a = 0.001f;
  cal.b = 2.0f;
  cal.c = -3.0f;
  WriteChannelCalibration(image.Bytes(), 5, cal);
  WriteSourceWord(image.Bytes(), 120, 5);
  return image;
}

struct LinesCase {
  std::uint16_t type;
  int channel;
  std::uint32_t reading;
  std::vector<std::string> lines;
};

TEST(ConversionExplanationTest, LinesShowTheNumbersUsed) {
  const LinesCase cases[] = {
      {CAL_INTERPOLATE,
       5,
       150,
       {"Channel 5, reading 0x00000096, r = 150 (low 16 bits)",
        "Calibration type 0 (interpolated table), zero offset 0.5", "Points 0 to 2", "x: 100 200 300", "y: 0 10 40",
        "x[0] = 100 < r = 150 <= x[1] = 200: segment 0, y from 0 to 10", "d = float(y[1] - y[0]) = float(10 - 0) = 10",
        "v = float(d / (x[1] - x[0]) * (r - x[0]) + y[0]) = float(10 / 100 * 50 + 0) = 5",
        "value = float(v + offset) = float(5 + 0.5) = 5.5", "Value 5.5 rounded to the channel's decimals (1): 5.5"}},
      {CAL_STEP,
       120,
       0x10000 + 250,
       {"Channel 120, reading 0x000100FA, r = 250 (low 16 bits)", "Source word: converted by the rule of channel 5",
        "Calibration type 4 (step table), zero offset 0.5", "Points 0 to 2", "x: 100 200 300", "y: 0 10 40",
        "x[1] = 200 <= r = 250 < x[2] = 300: step 1, y[1] = 10",
        "value = float(y[1] + offset) = float(10 + 0.5) = 10.5",
        "Value 10.5 rounded to the channel's decimals (1): 10.5"}},
      {CAL_QUADRATIC,
       5,
       1000,
       {"Channel 5, reading 0x000003E8, r = 1000 (low 16 bits)", "Calibration type 2 (quadratic), zero offset 0.5",
        "a = 0.001, b = 2, c = -3", "p = float(a * r^2 + b * r + c) = float(0.001 * 1000000 + 2 * 1000 + -3) = 2997",
        "value = float(p + offset) = float(2997 + 0.5) = 2997.5",
        "Value 2997.5 rounded to the channel's decimals (1): 2997.5"}},
  };
  for (const LinesCase& c : cases) {
    const CalibrationImage image = TableImage(c.type);
    EXPECT_EQ(ExplanationLines(ExplainConversion(image, c.reading, c.channel, 1)), c.lines);
  }
}

// The rule and step lines of the rules without a calibration record: numbers the image holds
// as floats (gain, offset) print as floats, not as the longer doubles they widen to.
TEST(ConversionExplanationTest, OtherRulesShowTheirRuleAndStep) {
  CalibrationImage image;
  WriteScaleFlag(image.Bytes(), 2, 0x02);
  WriteGainOffset(image.Bytes(), 130, {0.37f, -10.5f});
  const struct {
    int channel;
    std::uint32_t reading;
    std::string rule;
    std::string step;
  } cases[] = {
      {66, 1234, "Scale flag 0x02: a bit of 0x0A is set, tenths",
       "value = float(r / 10) = float(1234 / 10) = 123.4000015258789"},
      {65, 1234, "Scale flag 0x00: no bit of 0x0A, r as it is", "value = r = 1234"},
      {80, 100000, "Rule: hundredths of r", "value = float(r / 100) = float(34464 / 100) = 344.6400146484375"},
      {98, 0xFF9C, "Rule: hundredths of the low 16 bits taken as signed",
       "value = float(rs / 100) = float(-100 / 100) = -1"},
      {130, 100, "Gain 0.37, offset -10.5", "value = float(gain * r + offset) = float(0.37 * 100 + -10.5) = 26.5"},
      {200, 0x40490FDB, "Rule: the reading's bits are a float",
       "value = the 32 bits 0x40490FDB as a float = 3.1415927410125732"},
      {257, 0x8000, "Rule: the low 16 bits taken as signed", "value = rs, the low 16 bits signed = -32768"},
      {256, 0xFFFFFFFF, "Rule: the 32 bits taken as signed", "value = the 32 bits signed = -1"},
      {259, 0xFFFFFFFF, "Rule: the 32 bits taken as unsigned", "value = the 32 bits unsigned = 4294967295"},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> lines = ExplanationLines(ExplainConversion(image, c.reading, c.channel, 2));
    ASSERT_EQ(lines.size(), 4u) << "channel " << c.channel;
    EXPECT_EQ(lines[1], c.rule);
    EXPECT_EQ(lines[2], c.step);
  }
}

}  // namespace
}  // namespace lcu
