// LcuSession: the one owner of the link's timing. A program's single timer (the desktop
// program's) or loop (lcu monitor's) calls Step with the monotonic time, and sleeps until
// NextDue. A step first polls the LCU when the poll is due (the status panes, the
// channel-value request, and on the second answering poll in a row the connection actions),
// then serves each registered document whose period has come, in a fixed order: the monitor
// documents in the order they were registered, then the memory document. Each monitor
// document's readings are published to the subscribers of that document.
//
// A step can be entered again from inside itself: the connection actions run the automatic
// download, which lets events through between buffers, and a timer may step there. Such a
// step never polls (the poll waits while the actions run) and serves the documents as their
// times come. Who may use the link is the LinkOwner's to say: while a command holds it the
// session makes no transfer, except while the command waits for the user or lets events
// through between two exchanges; monitor documents stand still while a download does, the
// memory document is read between buffers. While a block read lets events through between
// its chunks, a step makes no transfer at all: the poll, the channel-value request and every
// document wait for their next period.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/app/command_context.h"
#include "core/host/registry.h"
#include "core/memory/memory_document.h"
#include "core/monitor/monitor_document.h"
#include "core/monitor/readings_subscriber.h"
#include "core/session/session_listener.h"

namespace lcu {

/// Poll periods: until the first connection, and from then on.
inline constexpr std::chrono::milliseconds kWaitingPollPeriod{500};
inline constexpr std::chrono::milliseconds kConnectedPollPeriod{200};
/// Answering polls in a row that make a connection.
inline constexpr int kConnectTicks = 2;
/// Every document's period.
inline constexpr std::chrono::milliseconds kDocumentPeriod{200};

/// How a session keeps the link.
enum class LinkUpkeep {
  /// Polls on its own period, with the channel-value request and the connection actions
  /// (the desktop program).
  kPoll,
  /// No poll of its own: a link that a failed exchange closed is reopened before the next
  /// exchange (lcu monitor).
  kReopenWhenClosed,
};

/// When a monitor document is first served once it has channels.
enum class FirstService {
  kAfterOnePeriod,  // as a window's first update
  kAtOnce,          // as lcu monitor's first line
};

class LcuSession final : private MonitorDocumentObserver {
 public:
  using TimePoint = Clock::TimePoint;

  /// The poll, if any, is first due one waiting period from now.
  LcuSession(CommandContext& ctx, SessionListener& listener, LinkUpkeep upkeep);
  /// A polling session answers "-1" for the channel value: nobody serves it any more.
  ~LcuSession() override;
  LcuSession(const LcuSession&) = delete;
  LcuSession& operator=(const LcuSession&) = delete;

  /// Runs whatever is due at now (see above).
  void Step(TimePoint now);
  /// The earliest time something is due; none while nothing is scheduled.
  std::optional<TimePoint> NextDue() const;

  /// A monitor document is served from the moment it first has channels; it stays
  /// registered until removed or until the session ends, and must not go before either.
  void AddMonitor(MonitorDocument& document, FirstService first = FirstService::kAfterOnePeriod);
  void RemoveMonitor(MonitorDocument& document);
  /// The memory document (one at a time; null for none), served one period from now on.
  void SetMemory(MemoryDocument* document);

  /// The subscriber hears the document's readings (and missed readings) from now on, and no
  /// other document's. The document need not be registered yet; only its address is kept.
  /// Unsubscribing is safe while readings are published, also from inside OnReadings: a
  /// subscriber that leaves hears nothing more, the others still hear that tick.
  void Subscribe(const MonitorDocument& document, ReadingsSubscriber& subscriber);
  void Unsubscribe(const MonitorDocument& document, ReadingsSubscriber& subscriber);

  /// The parts of a step, each as a step runs it when it is due.
  /// The poll: status, channel-value request, panes, connection actions, off-line reset.
  void Poll();
  /// A monitor document's update: nothing while a download lets events through; relabelled
  /// when on line and the definitions were reloaded; its channels exchanged and, when that
  /// succeeded, the readings kept and published; a failed exchange is published as missed.
  /// True when readings were published.
  bool Serve(MonitorDocument& document);
  /// The memory document's refresh: the 64 bytes at its address; a failed read changes
  /// nothing. True when the rows were read.
  bool Serve(MemoryDocument& document);

  /// The poll's period now, and whether it runs (not while the connection actions do).
  std::chrono::milliseconds PollPeriod() const { return m_pollPeriod; }
  bool IsPolling() const { return m_upkeep == LinkUpkeep::kPoll && !m_bConnecting; }

 private:
  struct Subscription {
    const MonitorDocument* document;
    ReadingsSubscriber* subscriber;  // null once unsubscribed while publishing
  };
  struct MonitorSlot {
    MonitorDocument* document;
    FirstService first;
    std::optional<TimePoint> due;
  };

  void OnRowsChanged(const MonitorDocument& document) override;
  void OnLayoutChanged(const MonitorDocument&) override {}
  void RunConnectionActions();
  /// Calls deliver with each subscriber of the document.
  template <typename Deliver>
  void Publish(const MonitorDocument& document, Deliver deliver);

  CommandContext& m_ctx;
  SessionListener& m_listener;
  LinkUpkeep m_upkeep;
  Profile m_profile;
  /// Whether the LCU was on line at the end of the last completed poll, and how many
  /// answering polls in a row have been seen since it was not.
  std::int32_t m_bWasOnline = 0;
  std::int32_t m_nConnectTicks = 0;
  bool m_bConnecting = false;
  std::chrono::milliseconds m_pollPeriod = kWaitingPollPeriod;
  TimePoint m_pollDue;
  std::vector<MonitorSlot> m_monitors;
  MemoryDocument* m_pMemory = nullptr;
  std::optional<TimePoint> m_memoryDue;
  std::vector<Subscription> m_subscriptions;
  // Publications running now (one may start inside another's subscriber): while any runs,
  // leaving subscriptions are marked, and removed when the last one ends.
  int m_nPublishing = 0;
  // The readings of the exchange running now: a failed exchange leaves the document's own.
  std::array<std::uint32_t, kChannelTableSize> m_readings{};
};

}  // namespace lcu
