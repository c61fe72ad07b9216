#include "cli/channel_arguments.h"

#include <gtest/gtest.h>

namespace lcu::cli {
namespace {

TEST(ChannelArgumentsTest, ChannelNumbersAreDecimalUpTo1023) {
  const struct {
    const char* text;
    bool ok;
    std::uint16_t channel;
  } cases[] = {
      {"0", true, 0},     {"1023", true, 1023}, {"070", true, 70}, {"1024", false, 0}, {"65541", false, 0},
      {"-1", false, 0},   {"+5", false, 0},     {"5 ", false, 0},  {"0x10", false, 0}, {"", false, 0},
  };
  for (const auto& c : cases) {
    std::uint16_t channel = 0;
    EXPECT_EQ(ParseChannelNumber(c.text, channel), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(channel, c.channel) << c.text;
    }
  }
}

TEST(ChannelArgumentsTest, ReadingsAreDecimalOrHexAndFit32Bits) {
  const struct {
    const char* text;
    bool ok;
    std::uint32_t reading;
  } cases[] = {
      {"4095", true, 4095},         {"4294967295", true, 0xFFFFFFFF}, {"0x00012345", true, 0x12345},
      {"0XffFFffFF", true, 0xFFFFFFFF}, {"4294967296", false, 0},   {"0x100000000", false, 0},
      {"0x", false, 0},             {"0x-1", false, 0},             {"-1", false, 0},
      {"FF", false, 0},             {"1.5", false, 0},
  };
  for (const auto& c : cases) {
    std::uint32_t reading = 0;
    EXPECT_EQ(ParseRawReading(c.text, reading), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(reading, c.reading) << c.text;
    }
  }
}

// A value that is not a finite float would become the zero offset of the calibration.
TEST(ChannelArgumentsTest, TypedValuesAreFiniteNumbers) {
  const struct {
    const char* text;
    bool ok;
    float value;
  } cases[] = {
      {"0", true, 0.0f},    {"-12.5", true, -12.5f}, {"1e3", true, 1000.0f}, {".5", true, 0.5f},
      {"abc", false, 0.0f}, {"1,5", false, 0.0f},    {"nan", false, 0.0f},   {"inf", false, 0.0f},
      {"1e39", false, 0.0f}, {"", false, 0.0f},      {"2 ", false, 0.0f},
  };
  for (const auto& c : cases) {
    float value = 0.0f;
    EXPECT_EQ(ParseTypedValue(c.text, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

}  // namespace
}  // namespace lcu::cli
