// LcuSession: which transfers a step makes and when (the poll's two periods, each document's
// own 200 ms phase, the order within a step, what a download holds back). Who hears of the
// readings is shown by the strip chart and the recording, which subscribe to them.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/app/command_guard.h"
#include "core/link/logger_transfers.h"
#include "core/session/lcu_session.h"
#include "core/util/little_endian.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

using std::chrono::milliseconds;

class Listener final : public SessionListener {
 public:
  void OnConnected() override { ++connections; }
  void OnScheduleChanged() override {
    if (onScheduleChanged) onScheduleChanged();
  }
  int connections = 0;
  std::function<void()> onScheduleChanged;
};

class LcuSessionTest : public ::testing::Test {
 protected:
  LcuSessionTest() {
    f.GoOnline();
    memory.SetRun(0x9000, 1);
  }

  void AdvanceTo(int ms) { f.clock.monotonic = Clock::TimePoint{} + milliseconds(ms); }
  /// A step at ms after the start; what it sent, one word per transfer that tells who sent
  /// it: "poll", "memory", or the monitor document's first channel.
  std::vector<std::string> StepAt(int ms) {
    AdvanceTo(ms);
    const std::size_t from = f.backend.calls.size();
    session.Step(f.clock.Monotonic());
    std::vector<std::string> sent;
    for (std::size_t i = from; i < f.backend.calls.size(); ++i) {
      const test::BackendCall& c = f.backend.calls[i];
      if (c.kind == test::BackendCall::kBulkWrite) sent.push_back(std::to_string(le::U16(c.data, 0)));
      if (c.kind == test::BackendCall::kControl && c.request.bRequest == LCU_READ_BLOCK)
        sent.push_back(c.request.wValue == kStatusAddress ? "poll" : "memory");
    }
    return sent;
  }

  test::CommandFixture f;
  Listener listener;
  MonitorDocument a;  // before the session, which leaves them when it goes
  MonitorDocument b;
  MemoryDocument memory;
  LcuSession session{f.ctx, listener, LinkUpkeep::kPoll};
  const std::array<std::uint16_t, 1> channelsA{300};
  const std::array<std::uint16_t, 1> channelsB{400};
};

using Sent = std::vector<std::string>;

// Document A and the memory document start at 0, B at 100: each is served on its own phase,
// the poll every 500 ms until the second answering poll connects and every 200 ms from then
// on, and a step serves the poll, the monitor documents in the order they came, then the
// memory document.
TEST_F(LcuSessionTest, EachStepServesWhatIsDueOnItsOwnPhaseInAFixedOrder) {
  session.AddMonitor(a);
  a.SetChannels(channelsA);
  session.SetMemory(&memory);
  AdvanceTo(100);
  session.AddMonitor(b);
  b.SetChannels(channelsB);

  const struct { int ms; Sent sent; int connections; } steps[] = {
      {150, {}, 0},
      {200, {"300", "memory"}, 0},
      {300, {"400"}, 0},
      {400, {"300", "memory"}, 0},
      {500, {"poll", "400"}, 0},
      {600, {"300", "memory"}, 0},
      {700, {"400"}, 0},
      // Held up past 800 and 900: everything due is served once, then on from here.
      {1000, {"poll", "300", "400", "memory"}, 1},
      {1100, {"400"}, 1},
      {1200, {"poll", "300", "memory"}, 1},
  };
  for (const auto& s : steps) {
    EXPECT_EQ(StepAt(s.ms), s.sent) << s.ms;
    EXPECT_EQ(listener.connections, s.connections) << s.ms;
  }
  EXPECT_EQ(session.PollPeriod(), kConnectedPollPeriod);
  EXPECT_EQ(session.NextDue(), Clock::TimePoint{} + milliseconds(1300));
}

// A menu download lets the poll run between its buffers; the connection actions' automatic
// download does not. Monitor documents stand still in both; the memory document is read.
TEST_F(LcuSessionTest, WhileADownloadLetsEventsThroughMonitorsStandStill) {
  session.AddMonitor(a, FirstService::kAtOnce);
  a.SetChannels(channelsA);
  session.SetMemory(&memory);

  f.app.m_bDownloading = 1;
  EXPECT_EQ(StepAt(500), (Sent{"poll", "memory"})) << "a menu download";
  f.app.m_bDownloading = 0;
  EXPECT_EQ(StepAt(700), (Sent{"300", "memory"}));

  Sent insideActions;
  listener.onScheduleChanged = [&] {
    if (session.IsPolling()) return;
    // Past the time the poll would next be due.
    f.app.m_bDownloading = 1;
    insideActions = StepAt(1600);
    f.app.m_bDownloading = 0;
  };
  EXPECT_EQ(StepAt(1000), (Sent{"poll", "memory"})) << "the second answering poll connects";
  EXPECT_EQ(listener.connections, 1);
  EXPECT_EQ(insideActions, Sent{"memory"}) << "a step inside the connection actions";
}

// A block read lets events through between its chunks with the link busy: a step there makes
// no transfer and commands refuse, so the set-up request and its bulk reads stay together;
// what was due then waits for its next period.
TEST_F(LcuSessionTest, WhileABlockReadLetsEventsThroughAStepMakesNoTransfer) {
  session.AddMonitor(a, FirstService::kAtOnce);
  a.SetChannels(channelsA);
  session.SetMemory(&memory);
  f.callsBefore = f.backend.calls.size();

  std::vector<Sent> insideRead;
  int ms = 500;
  const auto sink = [&](std::uint64_t, std::span<const std::uint8_t>) {
    insideRead.push_back(StepAt(ms += 200));
    EXPECT_TRUE(RefusedDuringDownload(f.ctx));
    return true;
  };
  ASSERT_EQ(ReadLoggerBlock(f.device, f.prompter, 2 * kBlockChunk, 0x8000, 1, sink), BlockReadResult::kOk);
  EXPECT_EQ(insideRead, std::vector<Sent>(3));
  EXPECT_EQ(f.Sent(), (std::vector<std::string>{"out 45 8000/1", "bulk-in 16384", "bulk-in 16384", "bulk-in 128"}));
  EXPECT_EQ(f.device.m_bBusy, 0);
  EXPECT_EQ(StepAt(ms + 400), (Sent{"poll", "300", "memory"}));
}

}  // namespace
}  // namespace lcu
