// SessionDriver: the desktop program's one timer. It owns the LcuSession and a single-shot
// timer armed for the session's next due time; each timeout runs a step and arms the timer
// again. The session's news for the main window (status panes, a new connection) leave as
// signals, so that the window only draws.
#pragma once

#include <QObject>
#include <QTimer>

#include "core/app/command_context.h"
#include "core/session/lcu_session.h"

namespace lcu::gui {

class SessionDriver final : public QObject, private SessionListener {
  Q_OBJECT

 public:
  /// Starts the session (its poll first due in 500 ms) and the timer.
  explicit SessionDriver(CommandContext& ctx, LinkUpkeep upkeep = LinkUpkeep::kPoll, QObject* parent = nullptr);

  LcuSession& Session() { return m_session; }

 signals:
  void statusPanes(const lcu::StatusPaneTexts& texts);
  /// The connection actions of a new connection have run.
  void lcuConnected();

 private:
  void OnTimeout();
  /// Arms the timer for the next due time, or stops it when nothing is due.
  void Arm();

  void OnStatusPanes(const StatusPaneTexts& texts) override { emit statusPanes(texts); }
  void OnConnected() override { emit lcuConnected(); }
  // Also while a step runs: the connection actions let events through, and the documents
  // are served there as their times come.
  void OnScheduleChanged() override { Arm(); }

  Clock& m_clock;
  QTimer m_timer;
  LcuSession m_session;
};

}  // namespace lcu::gui
