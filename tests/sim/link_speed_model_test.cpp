// The time a transfer takes on each link speed: whole frames of packets, and a limited
// link that really waits.
#include <gtest/gtest.h>

#include <chrono>

#include "sim_test_util.h"

namespace lcu::sim {
namespace {

using namespace std::chrono_literals;

TEST(LinkSpeedModel, ChargesWholeFramesOfPackets) {
  struct Case {
    LinkSpeed speed;
    std::uint64_t bytes;
    std::chrono::nanoseconds expected;
  };
  const Case cases[] = {
      {LinkSpeed::kUnlimited, 1 << 20, 0ns},    {LinkSpeed::kFullSpeed, 0, 1ms},
      {LinkSpeed::kFullSpeed, 64 * 19, 1ms},    {LinkSpeed::kFullSpeed, 64 * 19 + 1, 2ms},
      {LinkSpeed::kFullSpeed, 16384, 14ms},     {LinkSpeed::kFullSpeed, 1216000, 1s},
      {LinkSpeed::kHighSpeed, 512 * 13, 125us}, {LinkSpeed::kHighSpeed, 512 * 13 + 1, 250us},
      {LinkSpeed::kHighSpeed, 16384, 375us},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ModelBulkTime(c.speed, c.bytes), c.expected) << static_cast<int>(c.speed) << " " << c.bytes;
  }
  EXPECT_EQ(ModelControlTime(LinkSpeed::kFullSpeed), 1ms);
  EXPECT_EQ(ModelControlTime(LinkSpeed::kHighSpeed), 125us);
  EXPECT_EQ(ModelControlTime(LinkSpeed::kUnlimited), 0ns);
}

TEST(LinkSpeedModel, ALimitedLinkReallyTakesItsTime) {
  LcuSimulator sim(test::ManualTime());
  CUsbDevice device(sim);
  device.PollStatus();
  sim.SetLinkSpeed(LinkSpeed::kFullSpeed);
  const auto start = std::chrono::steady_clock::now();
  test::ReadHeader(device);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, ModelControlTime(LinkSpeed::kFullSpeed) + ModelBulkTime(LinkSpeed::kFullSpeed, 16384));
}

}  // namespace
}  // namespace lcu::sim
