// LcuCheckCommand: the LCU check in the desktop program, and Set LCU Clock beside it. It
// keeps the one check window (LcuCheckDlg): LCU Check... opens or refreshes it in front; a
// new connection refreshes it, or opens it without taking the focus when a line is amber or
// red; going off line greys it. Set LCU Clock refreshes an open window, so that the clock
// line shows the clock as now set.
#pragma once

#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>

#include "core/app/command_context.h"
#include "core/commands/preflight_check.h"
#include "core/logger/lcu_status_block.h"

class QWidget;

namespace lcu::gui {

class LcuCheckDlg;

class LcuCheckCommand final : public QObject {
  Q_OBJECT

 public:
  /// The window belongs to owner (the main window).
  LcuCheckCommand(CommandContext& ctx, QWidget& owner, QObject* parent = nullptr);
  ~LcuCheckCommand() override;
  LcuCheckCommand(const LcuCheckCommand&) = delete;
  LcuCheckCommand& operator=(const LcuCheckCommand&) = delete;

  /// LCU Check...: runs the check and shows its window in front.
  void OnLcuCheck();
  /// Set LCU Clock; an open check window then checks again.
  void OnSetLcuClock();
  /// The check a new connection runs by itself (see the definition).
  void CheckOnConnection();
  /// Each poll's link state: going off line makes an open window's lines stale.
  void OnStatusPanes(const StatusPaneTexts& texts);

 signals:
  /// Each check's header as read, before the check's lines are shown.
  void headerChecked(const LoggerHeader& header);

 private:
  /// The check's lines read with ctx's link and the given prompter; nullopt when a refusal
  /// or a failed read was shown to it.
  std::optional<std::vector<PreflightLine>> RunCheck(Prompter& prompter);
  /// Puts the lines into the window, opening it first when it is not open.
  LcuCheckDlg& ShowLines(const std::vector<PreflightLine>& lines, bool activate);
  /// Check Again, and the check after Set LCU Clock.
  void Refresh(Prompter& prompter);

  CommandContext& m_ctx;
  QWidget& m_owner;
  QPointer<LcuCheckDlg> m_window;
};

}  // namespace lcu::gui
