// LcuSession: which transfers a step makes and when (the poll's two periods, each document's
// own 200 ms phase, the order within a step, what a download holds back), and who hears of a
// document's readings.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/app/command_guard.h"
#include "core/app/waiting_prompter.h"
#include "core/commands/set_lcu_clock.h"
#include "core/link/logger_transfers.h"
#include "core/session/lcu_session.h"
#include "core/util/little_endian.h"
#include "support/command_fixture.h"
#include "support/download_pause.h"

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

  const struct {
    int ms;
    Sent sent;
    int connections;
  } steps[] = {
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

  test::InsideDownloadPause(f.link, [&] { EXPECT_EQ(StepAt(500), (Sent{"poll", "memory"})) << "a menu download"; });
  EXPECT_EQ(StepAt(700), (Sent{"300", "memory"}));

  Sent insideActions;
  listener.onScheduleChanged = [&] {
    if (session.IsPolling()) return;
    // Past the time the poll would next be due.
    test::InsideDownloadPause(f.link, [&] { insideActions = StepAt(1600); });
  };
  EXPECT_EQ(StepAt(1000), (Sent{"poll", "memory"})) << "the second answering poll connects";
  EXPECT_EQ(listener.connections, 1);
  EXPECT_EQ(insideActions, Sent{"memory"}) << "a step inside the connection actions";
}

// A prompter whose question runs the program's timers before it answers Yes, as a modal box
// does.
class SteppingPrompter final : public Prompter {
 public:
  explicit SteppingPrompter(std::function<void()> whileAsked) : m_whileAsked(std::move(whileAsked)) {}
  void ShowMessage(MessageKind, std::string_view text) override { messages.emplace_back(text); }
  bool AskQuestion(std::string_view) override {
    m_whileAsked();
    return true;
  }
  std::vector<std::string> messages;

 private:
  std::function<void()> m_whileAsked;
};

// A command holds the link from its start to its end: while it asks the user, the program's
// boxes count as its waits, so the session goes on and a second command is refused; the
// connection actions of an LCU that answers meanwhile wait for the first poll after it.
TEST_F(LcuSessionTest, ACommandHoldsTheLinkAndTheSessionGoesOnOnlyWhileItAsks) {
  session.AddMonitor(a, FirstService::kAtOnce);
  a.SetChannels(channelsA);
  std::vector<Sent> whileAsked;
  SteppingPrompter user([&] {
    whileAsked.push_back(StepAt(500));
    whileAsked.push_back(StepAt(1000));
    EXPECT_FALSE(f.link.BeginCommand(CommandKind::kCommand)) << "a second command";
  });
  WaitingPrompter boxes(user, f.link);
  CommandContext ctx{f.device, f.link, f.store, boxes, f.clock, f.files, f.app, f.ui};
  EXPECT_EQ(SetLcuClock(ctx).result, CommandResult::kDone);
  EXPECT_EQ(whileAsked, (std::vector<Sent>{{"poll", "300"}, {"poll", "300"}}));
  EXPECT_EQ(listener.connections, 0) << "the second answering poll came while the command ran";
  EXPECT_EQ(StepAt(1500), (Sent{"poll", "300"}));
  EXPECT_EQ(listener.connections, 1);

  // Without a wait, nothing of the session's reaches the link while a command holds it.
  const CommandLease run = BeginCommand(f.ctx);
  ASSERT_TRUE(run);
  EXPECT_EQ(StepAt(1700), Sent{});
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
    EXPECT_FALSE(BeginCommand(f.ctx));
    return true;
  };
  ASSERT_EQ(ReadLoggerBlock(f.device, f.prompter, 2 * kBlockChunk, 0x8000, 1, sink), BlockReadResult::kOk);
  EXPECT_EQ(insideRead, std::vector<Sent>(3));
  EXPECT_EQ(f.Sent(), (std::vector<std::string>{"out 45 8000/1", "bulk-in 16384", "bulk-in 16384", "bulk-in 128"}));
  EXPECT_FALSE(f.device.IsBusy());
  EXPECT_EQ(StepAt(ms + 400), (Sent{"poll", "300", "memory"}));
}

// Writes down what it hears, as "<document> readings" or "<document> missed", and runs
// whatever the test wants done while it is being told.
class Subscriber final : public ReadingsSubscriber {
 public:
  Subscriber(const MonitorDocument& a, std::vector<std::string>& heard) : m_a(a), m_heard(heard) {}
  void OnReadings(const MonitorDocument& document, std::span<const std::uint32_t>, const LocalTime&) override {
    Heard(document, " readings");
  }
  void OnMissedReadings(const MonitorDocument& document, const LocalTime&) override { Heard(document, " missed"); }
  std::function<void()> onHeard;

 private:
  void Heard(const MonitorDocument& document, const char* what) {
    m_heard.push_back((&document == &m_a ? "a" : "b") + std::string(what));
    if (onHeard) onHeard();
  }
  const MonitorDocument& m_a;
  std::vector<std::string>& m_heard;
};

// Both documents are served at every step; the second step's first exchange fails, which
// closes the link and leaves both without readings.
TEST_F(LcuSessionTest, ASubscriberHearsOnlyItsOwnDocument) {
  std::vector<std::string> ofA;
  std::vector<std::string> ofB;
  std::vector<std::string> ofBoth;
  Subscriber hearsA(a, ofA);
  Subscriber hearsB(a, ofB);
  Subscriber hearsBoth(a, ofBoth);
  session.Subscribe(a, hearsA);
  session.Subscribe(b, hearsB);
  session.Subscribe(a, hearsBoth);
  session.Subscribe(b, hearsBoth);
  session.AddMonitor(a, FirstService::kAtOnce);
  a.SetChannels(channelsA);
  session.AddMonitor(b, FirstService::kAtOnce);
  b.SetChannels(channelsB);

  StepAt(0);
  EXPECT_EQ(ofBoth, (Sent{"a readings", "b readings"}));
  session.Unsubscribe(b, hearsBoth);
  f.backend.failTransfers.push_back(f.backend.transfers + 3);
  StepAt(200);
  EXPECT_EQ(ofA, (Sent{"a readings", "a missed"}));
  EXPECT_EQ(ofB, (Sent{"b readings", "b missed"}));
  EXPECT_EQ(ofBoth, (Sent{"a readings", "b readings", "a missed"})) << "still subscribed to a";
}

// A subscriber that leaves while a tick is published hears nothing more; the others still
// hear that tick, also the one after it in the list.
TEST_F(LcuSessionTest, LeavingWhileReadingsArePublishedIsSafe) {
  std::vector<std::string> heard1;
  std::vector<std::string> heard2;
  std::vector<std::string> heard3;
  Subscriber first(a, heard1);
  Subscriber second(a, heard2);
  Subscriber third(a, heard3);
  session.Subscribe(a, first);
  session.Subscribe(a, second);
  session.Subscribe(a, third);
  session.AddMonitor(a, FirstService::kAtOnce);
  a.SetChannels(channelsA);

  first.onHeard = [&] { session.Unsubscribe(a, first); };
  StepAt(0);
  EXPECT_EQ(heard2, Sent{"a readings"}) << "the next in the list is not passed over";
  second.onHeard = [&] { session.Unsubscribe(a, third); };
  StepAt(200);
  EXPECT_EQ(heard1, Sent{"a readings"});
  EXPECT_EQ(heard2, (Sent{"a readings", "a readings"}));
  EXPECT_EQ(heard3, Sent{"a readings"}) << "left before its turn";
  StepAt(400);
  EXPECT_EQ(heard2.size(), 3U);
  EXPECT_EQ(heard1.size() + heard3.size(), 2U);
}

}  // namespace
}  // namespace lcu
