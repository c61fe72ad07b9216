#include "cli/lcu_address.h"

#include <gtest/gtest.h>

namespace lcu::cli {
namespace {

TEST(LcuAddressTest, TakesHexAddressesUpToFFFF) {
  const struct {
    const char* text;
    bool ok;
    std::uint16_t address;
  } cases[] = {
      {"8000", true, 0x8000}, {"0x8000", true, 0x8000},   {"0XfFf8", true, 0xFFF8}, {"0", true, 0},
      {"FFFF", true, 0xFFFF}, {"0000F710", true, 0xF710}, {"10000", false, 0},      {"", false, 0},
      {"0x", false, 0},       {"80 00", false, 0},        {"-1", false, 0},         {"8000h", false, 0},
      {"+8000", false, 0},    {"0x0x1", false, 0},
  };
  for (const auto& c : cases) {
    std::uint16_t address = 0;
    EXPECT_EQ(ParseLcuAddress(c.text, address), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(address, c.address) << c.text;
    }
  }
}

}  // namespace
}  // namespace lcu::cli
