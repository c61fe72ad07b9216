#include "core/session/lcu_session.h"

#include <algorithm>
#include <span>
#include <string>
#include <utility>

#include "core/channels/channel_table.h"
#include "core/commands/auto_download.h"
#include "core/commands/load_channel_definitions.h"
#include "core/commands/memory_access.h"
#include "core/commands/start_logger.h"
#include "core/logger/lcu_status_block.h"
#include "core/monitor/channel_exchange.h"
#include "core/session/channel_value_request.h"

namespace lcu {

namespace {

// The next due time of something due at due and served by a step at now: one period on,
// or one period from now when the step came that late. A step held up (by a modal dialog,
// a slow exchange) serves each thing once, without a burst to catch up, as a program timer
// fires; a step that overran its period is still followed at once.
Clock::TimePoint NextAfter(Clock::TimePoint due, std::chrono::milliseconds period, Clock::TimePoint now) {
  return due + period > now ? due + period : now + period;
}

}  // namespace

LcuSession::LcuSession(CommandContext& ctx, SessionListener& listener, LinkUpkeep upkeep)
    : m_ctx(ctx),
      m_listener(listener),
      m_upkeep(upkeep),
      m_profile(ctx.store),
      m_pollDue(ctx.clock.Monotonic() + kWaitingPollPeriod) {}

LcuSession::~LcuSession() {
  for (MonitorSlot& slot : m_monitors) slot.document->RemoveObserver(*this);
  if (m_upkeep == LinkUpkeep::kPoll) m_profile.WriteProfileString(reg::kChannelData, reg::kChannelValue, kNoValue);
}

void LcuSession::Step(TimePoint now) {
  // While a command holds the link (and does not wait), or a block read lets events through
  // between its chunks, whatever is due is passed over for one period: a block read's set-up
  // request and bulk reads must follow each other with nothing between.
  const LinkOwner& link = m_ctx.link;
  if (IsPolling() && now >= m_pollDue) {
    m_pollDue = NextAfter(m_pollDue, m_pollPeriod, now);
    if (link.SessionMayTransfer(SessionTraffic::kPoll)) Poll();
  }
  // By index: a document may be added or removed by what its readings set off.
  for (std::size_t i = 0; i < m_monitors.size(); ++i) {
    MonitorSlot& slot = m_monitors[i];
    if (!slot.due || now < *slot.due) continue;
    slot.due = NextAfter(*slot.due, kDocumentPeriod, now);
    if (link.SessionMayTransfer(SessionTraffic::kMonitor)) Serve(*slot.document);
  }
  if (m_pMemory && m_memoryDue && now >= *m_memoryDue) {
    m_memoryDue = NextAfter(*m_memoryDue, kDocumentPeriod, now);
    if (link.SessionMayTransfer(SessionTraffic::kMemory)) Serve(*m_pMemory);
  }
}

std::optional<Clock::TimePoint> LcuSession::NextDue() const {
  std::optional<TimePoint> next;
  const auto consider = [&next](TimePoint due) {
    if (!next || due < *next) next = due;
  };
  if (IsPolling()) consider(m_pollDue);
  for (const MonitorSlot& slot : m_monitors) {
    if (slot.due) consider(*slot.due);
  }
  if (m_pMemory && m_memoryDue) consider(*m_memoryDue);
  return next;
}

void LcuSession::AddMonitor(MonitorDocument& document, FirstService first) {
  m_monitors.push_back({&document, first, std::nullopt});
  document.AddObserver(*this);
  if (document.IsStarted()) OnRowsChanged(document);
}

void LcuSession::RemoveMonitor(MonitorDocument& document) {
  const auto slot = std::find_if(m_monitors.begin(), m_monitors.end(),
                                 [&document](const MonitorSlot& s) { return s.document == &document; });
  if (slot == m_monitors.end()) return;
  document.RemoveObserver(*this);
  m_monitors.erase(slot);
}

void LcuSession::SetMemory(MemoryDocument* document) {
  m_pMemory = document;
  m_memoryDue.reset();
  if (document) m_memoryDue = m_ctx.clock.Monotonic() + kDocumentPeriod;
  m_listener.OnScheduleChanged();
}

void LcuSession::Subscribe(const MonitorDocument& document, ReadingsSubscriber& subscriber) {
  m_subscriptions.push_back({&document, &subscriber});
}

void LcuSession::Unsubscribe(const MonitorDocument& document, ReadingsSubscriber& subscriber) {
  for (Subscription& s : m_subscriptions) {
    if (s.document == &document && s.subscriber == &subscriber) s.subscriber = nullptr;
  }
  if (m_nPublishing == 0) std::erase_if(m_subscriptions, [](const Subscription& s) { return !s.subscriber; });
}

// By index, and each entry looked at afresh: a subscriber may subscribe or leave from inside
// its call.
template <typename Deliver>
void LcuSession::Publish(const MonitorDocument& document, Deliver deliver) {
  ++m_nPublishing;
  for (std::size_t i = 0; i < m_subscriptions.size(); ++i) {
    const Subscription s = m_subscriptions[i];
    if (s.document == &document && s.subscriber) deliver(*s.subscriber);
  }
  if (--m_nPublishing == 0) std::erase_if(m_subscriptions, [](const Subscription& s) { return !s.subscriber; });
}

void LcuSession::OnRowsChanged(const MonitorDocument& document) {
  for (MonitorSlot& slot : m_monitors) {
    if (slot.document != &document || slot.due || !document.IsStarted()) continue;
    const TimePoint now = m_ctx.clock.Monotonic();
    slot.due = slot.first == FirstService::kAtOnce ? now : now + kDocumentPeriod;
    m_listener.OnScheduleChanged();
  }
}

void LcuSession::Poll() {
  CUsbDevice& device = m_ctx.device;
  device.PollStatus();
  if (device.IsOnline()) {
    ServeChannelValueRequest(device, m_profile);
    const LcuStatusBlock status(device.m_status);
    m_profile.WriteProfileString(reg::kChannelData, reg::kCurrentLcu, std::to_string(status.LcuNumber()));
    m_listener.OnStatusPanes(OnlinePaneTexts(status));
    if (!m_bWasOnline) {
      // A connection needs answers on consecutive polls; until then the LCU does not count
      // as having been on line. While a command holds the link (the poll comes from a window
      // it waits in), the actions wait for the first poll after it.
      if (++m_nConnectTicks < kConnectTicks || m_ctx.link.IsCommandRunning()) return;
      RunConnectionActions();
      m_nConnectTicks = 0;
    }
  } else {
    m_profile.WriteProfileString(reg::kChannelData, reg::kChannelValue, kNoValue);
    m_profile.WriteProfileString(reg::kChannelData, reg::kCurrentLcu, kNoValue);
    StatusPaneTexts texts = OfflinePaneTexts();
    texts.offlineReason = device.OfflineReason();
    m_listener.OnStatusPanes(texts);
    ResetLoggerStarted(m_ctx);
  }
  m_bWasOnline = device.IsOnline() ? 1 : 0;
  if (!m_bWasOnline) m_nConnectTicks = 0;
}

// The poll waits while the actions run, so that no poll comes in while the download lets
// events through; afterwards it runs on the connected period from the actions' end.
void LcuSession::RunConnectionActions() {
  m_bConnecting = true;
  m_listener.OnScheduleChanged();
  AutoDownload(m_ctx);
  LoadChannelDefinitions(m_ctx);
  m_bConnecting = false;
  m_pollPeriod = kConnectedPollPeriod;
  m_pollDue = m_ctx.clock.Monotonic() + m_pollPeriod;
  m_listener.OnScheduleChanged();
  m_listener.OnConnected();
}

bool LcuSession::Serve(MonitorDocument& document) {
  if (!m_ctx.link.SessionMayTransfer(SessionTraffic::kMonitor)) return false;
  const AppState& app = m_ctx.app;
  CUsbDevice& device = m_ctx.device;
  if (device.IsOnline() && app.m_nDefinitionGeneration != document.LabelledGeneration()) {
    document.Relabel(app.m_nDefinitionGeneration);
  }
  const std::span<const std::uint16_t> channels = document.Channels();
  if (channels.empty()) return false;
  if (m_upkeep == LinkUpkeep::kReopenWhenClosed && !device.IsOnline()) device.PollStatus();
  const std::span<std::uint32_t> readings = std::span(m_readings).first(channels.size());
  if (!ExchangeChannels(device, channels, readings)) {
    const LocalTime when = m_ctx.clock.Now();
    Publish(document, [&](ReadingsSubscriber& subscriber) { subscriber.OnMissedReadings(document, when); });
    return false;
  }
  document.TakeReadings(readings, m_ctx.clock.Now(), m_ctx.clock.Monotonic());
  Publish(document, [&](ReadingsSubscriber& subscriber) {
    subscriber.OnReadings(document, document.Readings(), document.ReadingsTime());
  });
  return true;
}

bool LcuSession::Serve(MemoryDocument& document) {
  std::optional<std::vector<MemoryRow>> rows = ReadMemoryRows(m_ctx.device, document.Address(), document.Range());
  if (!rows) return false;
  document.TakeRows(std::move(*rows), m_ctx.clock.Now(), m_ctx.clock.Monotonic());
  return true;
}

}  // namespace lcu
