// Whether shown values are current: the rule itself, and the times the session stamps on the
// documents it serves. A download's pause is seen in the monitor window's own test.
#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "core/session/lcu_session.h"
#include "core/session/reading_freshness.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

using std::chrono::milliseconds;

constexpr Clock::TimePoint kTaken = Clock::TimePoint{} + std::chrono::hours(1);

TEST(ReadingFreshness, ValuesAreCurrentOnlyWhileOnLineAndYoung) {
  const struct {
    const char* what;
    std::optional<Clock::TimePoint> taken;
    milliseconds later;
    bool online;
    bool current;
  } cases[] = {
      {"just taken", kTaken, milliseconds(0), true, true},
      {"a late tick", kTaken, kReadingsCurrentFor, true, true},
      {"just too old", kTaken, kReadingsCurrentFor + milliseconds(1), true, false},
      {"off line at once", kTaken, milliseconds(0), false, false},
      {"no values yet", std::nullopt, milliseconds(0), true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AreReadingsCurrent(c.taken, kTaken + c.later, c.online), c.current) << c.what;
  }
  EXPECT_EQ(SecondsSince(kTaken, kTaken + milliseconds(55999)), 55);
  EXPECT_EQ(SecondsSince(kTaken, kTaken - milliseconds(5)), 0) << "never negative";
}

class ServedFreshness : public ::testing::Test {
 protected:
  ServedFreshness() {
    f.GoOnline();
    session.AddMonitor(monitor, FirstService::kAtOnce);
    monitor.SetChannels(channels);
    memory.SetRun(0x9000, 4);
  }
  bool MonitorCurrent() {
    return AreReadingsCurrent(monitor.ReadingsTakenAt(), f.clock.Monotonic(), f.device.IsOnline());
  }

  test::CommandFixture f;
  MonitorDocument monitor;
  MemoryDocument memory;
  SessionListener listener;
  LcuSession session{f.ctx, listener, LinkUpkeep::kPoll};
  const std::array<std::uint16_t, 2> channels{5, 6};
};

TEST_F(ServedFreshness, TheSessionStampsEachGoodExchangeAndAFailedOneEndsTheValuesBeingCurrent) {
  f.clock.Advance(milliseconds(700));
  ASSERT_TRUE(session.Serve(monitor));
  EXPECT_EQ(monitor.ReadingsTakenAt(), f.clock.Monotonic());
  ASSERT_TRUE(session.Serve(memory));
  EXPECT_EQ(memory.RowsReadAt(), f.clock.Monotonic());
  EXPECT_TRUE(MonitorCurrent());

  // A failed exchange closes the link: the values are not current from that moment.
  f.FailTransfer(f.backend.transfers - f.transfersBefore + 1);  // the next one
  EXPECT_FALSE(session.Serve(monitor));
  EXPECT_FALSE(MonitorCurrent());

  // New rows or a new run have no values, and so no time.
  monitor.SetChannels(channels);
  EXPECT_FALSE(monitor.ReadingsTakenAt().has_value());
  memory.SetRun(0x9000, 8);
  EXPECT_FALSE(memory.RowsReadAt().has_value());
}

}  // namespace
}  // namespace lcu
