// The monitor windows' exchange with the LCU: groups of 16, each block ending in a 0 word.
// What a failed or short transfer shows, and that nothing is sent after it, is the core's
// fault matrix.
#include <gtest/gtest.h>

#include <array>
#include <numeric>

#include "core/monitor/channel_exchange.h"
#include "core/util/little_endian.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

// A reply whose reading j is 1000 * group + j.
std::array<std::uint8_t, 64> Reply(std::uint32_t group) {
  std::array<std::uint8_t, 64> reply{};
  for (std::size_t j = 0; j < 16; ++j) le::PutU32(reply, 4 * j, 1000 * group + static_cast<std::uint32_t>(j));
  return reply;
}

TEST(ChannelExchangeTest, TwentyChannelsTakeTwoExchangesEachBlockEndingInZero) {
  test::CommandFixture f;
  f.GoOnline();
  f.Reply(Reply(1));
  f.Reply(Reply(2));
  std::array<std::uint32_t, 32> readings{};
  std::vector<std::uint16_t> channels(20);
  std::iota(channels.begin(), channels.end(), std::uint16_t{300});
  ASSERT_TRUE(ExchangeChannels(f.device, channels, readings));

  const std::vector<std::string> one = {"out 46 F710/0", "bulk-out 64", "in 47 0000/0 64"};
  std::vector<std::string> expected = one;
  expected.insert(expected.end(), one.begin(), one.end());
  EXPECT_EQ(f.Sent(), expected);
  const auto blocks = f.backend.CallsOf(test::BackendCall::kBulkWrite);
  ASSERT_EQ(blocks.size(), 2u);
  for (std::size_t j = 0; j < 16; ++j) EXPECT_EQ(le::U16(blocks[0].data, 2 * j), channels[j]);
  EXPECT_EQ(le::U16(blocks[0].data, 32), 0);
  for (std::size_t j = 0; j < 4; ++j) EXPECT_EQ(le::U16(blocks[1].data, 2 * j), channels[16 + j]);
  EXPECT_EQ(std::vector<std::uint8_t>(blocks[1].data.begin() + 8, blocks[1].data.end()),
            std::vector<std::uint8_t>(56, 0));
  EXPECT_EQ(readings[15], 1015u);
  EXPECT_EQ(readings[16], 2000u);
  EXPECT_EQ(readings[19], 2003u);
  EXPECT_EQ(readings[20], 0u);  // beyond the channels nothing is written
  const std::size_t calls = f.backend.calls.size();
  EXPECT_TRUE(ExchangeChannels(f.device, {}, readings));
  EXPECT_EQ(f.backend.calls.size(), calls) << "no channels take no exchange";
}

}  // namespace
}  // namespace lcu
