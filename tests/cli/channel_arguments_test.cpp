#include "cli/channel_arguments.h"

#include <optional>

#include <gtest/gtest.h>

namespace lcu::cli {
namespace {

template <typename T>
struct ParseCase {
  const char* text;
  std::optional<T> value;  // nullopt: refused
};

// Each text parses to its value or is refused.
template <typename T, std::size_t N>
void ExpectParses(bool (*parse)(std::string_view, T&), const ParseCase<T> (&cases)[N]) {
  for (const ParseCase<T>& c : cases) {
    T value{};
    EXPECT_EQ(parse(c.text, value), c.value.has_value()) << c.text;
    if (c.value) {
      EXPECT_EQ(value, *c.value) << c.text;
    }
  }
}

TEST(ChannelArgumentsTest, ChannelNumbersAreDecimalUpTo1023) {
  const ParseCase<std::uint16_t> cases[] = {
      {"0", 0},   {"1023", 1023}, {"070", 70}, {"1024", {}}, {"65541", {}},
      {"-1", {}}, {"+5", {}},     {"5 ", {}},  {"0x10", {}}, {"", {}},
  };
  ExpectParses(ParseChannelNumber, cases);
}

TEST(ChannelArgumentsTest, ReadingsAreDecimalOrHexAndFit32Bits) {
  const ParseCase<std::uint32_t> cases[] = {
      {"4095", 4095},
      {"4294967295", 0xFFFFFFFF},
      {"0x00012345", 0x12345},
      {"0XffFFffFF", 0xFFFFFFFF},
      {"4294967296", {}},
      {"0x100000000", {}},
      {"0x", {}},
      {"0x-1", {}},
      {"-1", {}},
      {"FF", {}},
      {"1.5", {}},
  };
  ExpectParses(ParseRawReading, cases);
}

// A value that is not a finite float would become the zero offset of the calibration.
TEST(ChannelArgumentsTest, TypedValuesAreFiniteNumbers) {
  const ParseCase<float> cases[] = {
      {"0", 0.0f}, {"-12.5", -12.5f}, {"1e3", 1000.0f}, {".5", 0.5f}, {"abc", {}}, {"1,5", {}},
      {"nan", {}}, {"inf", {}},       {"1e39", {}},     {"", {}},     {"2 ", {}},
  };
  ExpectParses(ParseTypedValue, cases);
}

}  // namespace
}  // namespace lcu::cli
