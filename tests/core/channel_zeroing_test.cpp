// Zeroing reads the shown Value cell like a "%f" scan.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/channels/channel_zeroing.h"

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

}  // namespace
}  // namespace lcu
