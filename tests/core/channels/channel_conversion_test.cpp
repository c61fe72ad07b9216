// Channel value conversion: every channel range and every calibration type, single-precision
// rounding exactly at the steps that round (and nowhere else), and zero offsets.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "core/channels/channel_calibration.h"
#include "core/channels/channel_conversion.h"

namespace lcu {
namespace {

constexpr float kHalfStepAtOne = 0x1p-24f;  // 1.0 plus this lies halfway between two floats

ChannelCalibration Table(std::uint16_t type, std::uint16_t lastPoint, std::vector<std::uint16_t> x,
                         std::vector<float> y, float offset = 0.0f) {
  ChannelCalibration cal;
  cal.type = type;
  cal.lastPoint = lastPoint;
  cal.offset = offset;
  std::copy(x.begin(), x.end(), cal.x.begin());
  std::copy(y.begin(), y.end(), cal.y.begin());
  return cal;
}

ChannelCalibration Poly(std::uint16_t type, float a, float b, float c, float offset = 0.0f) {
  ChannelCalibration cal;
  cal.type = type;
  cal.a = a;
  cal.b = b;
  cal.c = c;
  cal.offset = offset;
  return cal;
}

CalibrationImage RangeImage() {
  CalibrationImage image;
  const ImageBytes bytes = image.Bytes();
  WriteChannelCalibration(bytes, 5, Table(CAL_INTERPOLATE, 2, {100, 200, 300}, {0.0f, 10.0f, 40.0f}));
  WriteScaleFlag(bytes, 2, 0x02);  // channel 66
  WriteScaleFlag(bytes, 3, 0x05);  // channel 67
  WriteScaleFlag(bytes, 6, 0x08);  // channel 83
  WriteSourceWord(bytes, 120, 5);
  WriteSourceWord(bytes, 121, 121);
  WriteSourceWord(bytes, 122, 200);
  WriteSourceWord(bytes, 123, 98);
  WriteGainOffset(bytes, 130, {0.5f, -10.0f});
  WriteGainOffset(bytes, 224, {0.1f, 0.0f});
  WriteGainOffset(bytes, 255, {0.25f, 1.5f});
  return image;
}

struct RangeCase {
  int channel;
  std::uint32_t reading;
  double expected;
};

TEST(ConvertReadingTest, EveryChannelRange) {
  const CalibrationImage image = RangeImage();
  const RangeCase cases[] = {
      {5, 150, 5.0},
      {64, 1234, 1234.0},
      {66, 1234, double{123.4f}},
      {67, 1234, 1234.0},
      {70, 0x00012345, 9029.0},
      {72, 0xFFFF, 65535.0},
      {73, 123, double{12.3f}},
      {79, 0x10007, 7.0},
      {80, 12345, double{123.45f}},
      {82, 5, 0.5},
      {83, 250, 25.0},
      {84, 250, 250.0},
      {85, 99, double{9.9f}},
      {93, 10, 1.0},
      {94, 0xFFFF, 65535.0},
      {96, 150, 1.5},
      {97, 1, double{0.01f}},
      {98, 0xFF9C, -1.0},
      {99, 0xFF9C, double{654.36f}},
      {100, 0x8000, double{-327.68f}},
      {101, 1, double{0.01f}},
      {111, 7, double{0.07f}},
      {120, 150, 5.0},
      {121, 0x10007, 7.0},
      {122, 0x40490FDB, double{3.14159274f}},
      {123, 0xFF9C, -1.0},
      {130, 1001, 490.5},
      {192, 0x40490FDB, double{3.14159274f}},
      {223, 0xBF800000, -1.0},
      {224, 3, double{0.3f}},
      {255, 10, 4.0},
      {256, 0xFFFFFFFF, -1.0},
      {257, 0x1FFFF, -1.0},
      {258, 0x8000, -32768.0},
      {259, 0xFFFFFFFF, 4294967295.0},
      {263, 0x80000000, 2147483648.0},
      {264, 0x80000000, -2147483648.0},
      {278, 0xFFFFFFFE, -2.0},
      {279, 0xFFFFFFFF, 4294967295.0},
      {400, 0xFFFFFFFF, 4294967295.0},
      {65535, 0x12345678, 305419896.0},
  };
  for (const RangeCase& c : cases) {
    EXPECT_EQ(ConvertReading(image, c.reading, c.channel), c.expected) << "channel " << c.channel;
  }
  // The scaled values above are the float results, not the exact quotients.
  EXPECT_NE(ConvertReading(image, 0xFF9C, 99), 654.36);
  EXPECT_NE(ConvertReading(image, 3, 224), 0.1f * 3.0);
  const std::array<std::uint8_t, 4> bytes = {0x45, 0x23, 0x01, 0x00};
  EXPECT_EQ(ConvertReading(image, bytes, 70), 9029.0);
}

struct TypeCase {
  const char* name;
  ChannelCalibration cal;
  std::vector<std::pair<std::uint16_t, double>> readings;
};

TEST(ConvertReadingTest, EveryCalibrationType) {
  std::vector<float> tens(13);
  std::vector<std::uint16_t> steps(13);
  for (std::size_t i = 0; i < 13; ++i) {
    tens[i] = static_cast<float>(10 * i);
    steps[i] = static_cast<std::uint16_t>(100 * i);
  }
  const TypeCase cases[] = {
      {"interpolate",
       Table(CAL_INTERPOLATE, 2, {100, 200, 300}, {0.0f, 10.0f, 40.0f}),
       {{50, 0}, {100, 0}, {150, 5}, {200, 10}, {250, 25}, {300, 40}, {400, 40}}},
      {"interpolate with offset",
       Table(CAL_INTERPOLATE, 2, {100, 200, 300}, {0.0f, 10.0f, 40.0f}, 1.5f),
       {{50, 1.5}, {150, 6.5}, {400, 41.5}}},
      {"step", Table(CAL_STEP, 2, {100, 200, 300}, {0.0f, 10.0f, 40.0f}), {{50, 0}, {150, 0}, {250, 10}, {300, 40}}},
      {"interpolate, one point", Table(CAL_INTERPOLATE, 0, {100}, {7.0f}, 1.0f), {{50, 8}, {100, 8}, {101, 8}}},
      {"step, one point", Table(CAL_STEP, 0, {100}, {7.0f}, 1.0f), {{99, 0}, {100, 8}, {65535, 8}}},
      {"lastPoint beyond the table ends at point 12",
       Table(CAL_INTERPOLATE, 40, steps, tens),
       {{1150, 115}, {1200, 120}, {65535, 120}}},
      {"step beyond the table", Table(CAL_STEP, 40, steps, tens), {{1150, 110}, {1250, 120}}},
      {"linear", Poly(CAL_LINEAR, 9.0f, 2.0f, 1.0f, 0.5f), {{10, 21.5}, {0, 1.5}}},
      {"linear, second code", Poly(CAL_LINEAR_ALT, 9.0f, 2.0f, 1.0f, 0.5f), {{10, 21.5}}},
      {"quadratic", Poly(CAL_QUADRATIC, 0.5f, 2.0f, 1.0f), {{10, 71}}},
      {"quadratic square is unsigned", Poly(CAL_QUADRATIC, 1.0f, 0.0f, 0.0f), {{50000, 2500000000.0}}},
      {"unknown type gives 0 without offset", Poly(3, 1.0f, 1.0f, 1.0f, 5.0f), {{100, 0}}},
      {"unknown type 0xFFFF", Poly(0xFFFF, 1.0f, 1.0f, 1.0f, 5.0f), {{100, 0}}},
      // The polynomial is rounded before the offset is added: 1 + 2^-30 rounds to 1, and 1
      // plus half a float step then ties to 1. Without the inner rounding it would round up.
      {"linear rounds before the offset", Poly(CAL_LINEAR, 0.0f, 1.0f, 0x1p-30f, kHalfStepAtOne), {{1, 1.0}}},
      {"table value plus offset is rounded", Table(CAL_INTERPOLATE, 0, {100}, {1.0f}, kHalfStepAtOne), {{100, 1.0}}},
  };
  for (const TypeCase& c : cases) {
    CalibrationImage image;
    WriteChannelCalibration(image.Bytes(), 5, c.cal);
    for (const auto& [reading, expected] : c.readings) {
      EXPECT_EQ(ConvertReading(image, reading, 5), expected) << c.name << ", reading " << reading;
    }
  }
}

TEST(ConvertReadingTest, RoundingOverflowsToInfinity) {
  CalibrationImage image;
  WriteChannelCalibration(image.Bytes(), 0, Poly(CAL_QUADRATIC, 3e38f, 0.0f, 0.0f));
  EXPECT_EQ(ConvertReading(image, 2, 0), HUGE_VAL);
  EXPECT_EQ(RoundToSingle(-1e39), -HUGE_VALF);
  EXPECT_EQ(RoundToSingle(0x1.fffffe8p127), 0x1.fffffep127f);  // below halfway stays the largest float
}

}  // namespace
}  // namespace lcu
