#include "gui/app/session_driver.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace lcu::gui {

SessionDriver::SessionDriver(CommandContext& ctx, LinkUpkeep upkeep, QObject* parent)
    : QObject(parent), m_clock(ctx.clock), m_session(ctx, *this, upkeep) {
  m_timer.setSingleShot(true);
  // A coarse timer may fire early, which would only wake the program for nothing.
  m_timer.setTimerType(Qt::PreciseTimer);
  connect(&m_timer, &QTimer::timeout, this, &SessionDriver::OnTimeout);
  Arm();
}

void SessionDriver::OnTimeout() {
  m_session.Step(m_clock.Monotonic());
  Arm();
}

void SessionDriver::Arm() {
  const std::optional<Clock::TimePoint> due = m_session.NextDue();
  if (!due) {
    m_timer.stop();
    return;
  }
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - m_clock.Monotonic());
  m_timer.start(
      static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(wait.count(), 0, std::numeric_limits<int>::max())));
}

}  // namespace lcu::gui
