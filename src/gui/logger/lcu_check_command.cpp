#include "gui/logger/lcu_check_command.h"

#include <QApplication>
#include <QString>
#include <QWidget>

#include "core/app/waiting_prompter.h"
#include "core/commands/set_lcu_clock.h"
#include "core/host/quiet_prompter.h"
#include "gui/logger/lcu_check_dlg.h"

namespace lcu::gui {

namespace {

// The time of day as the status bar's clock would read it, with the minutes in two digits.
QString TimeOfDay(const LocalTime& time) {
  return QStringLiteral("%1:%2").arg(time.hour).arg(time.minute, 2, 10, QLatin1Char('0'));
}

}  // namespace

LcuCheckCommand::LcuCheckCommand(CommandContext& ctx, QWidget& owner, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_owner(owner) {}

LcuCheckCommand::~LcuCheckCommand() = default;

std::optional<std::vector<PreflightLine>> LcuCheckCommand::RunCheck(Prompter& prompter) {
  WaitingPrompter waiting(prompter, m_ctx.link);
  CommandContext context{m_ctx.device, m_ctx.link, m_ctx.store, waiting, m_ctx.clock, m_ctx.files, m_ctx.app, m_ctx.ui};
  const std::optional<PreflightInputs> inputs = ReadPreflightInputs(context);
  if (!inputs) return std::nullopt;
  emit headerChecked(inputs->header);
  return EvaluatePreflight(*inputs);
}

LcuCheckDlg& LcuCheckCommand::ShowLines(const std::vector<PreflightLine>& lines, bool activate) {
  if (m_window) {
    m_window->SetLines(lines);
  } else {
    m_window = new LcuCheckDlg(lines, &m_owner);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->setModal(false);
    connect(m_window, &LcuCheckDlg::checkAgain, this, [this] { Refresh(m_ctx.prompter); });
    // A closed window is deleted later; from its closing on it is no longer the open one.
    connect(m_window, &QDialog::finished, this, [this] { m_window = nullptr; });
  }
  m_window->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
  m_window->show();
  if (activate) {
    m_window->raise();
    m_window->activateWindow();
  }
  return *m_window;
}

void LcuCheckCommand::OnLcuCheck() {
  if (const auto lines = RunCheck(m_ctx.prompter)) ShowLines(*lines, true);
}

void LcuCheckCommand::Refresh(Prompter& prompter) {
  if (!m_window) return;
  const auto lines = RunCheck(prompter);
  if (LcuCheckDlg* window = m_window; lines && window != nullptr) window->SetLines(*lines);
}

void LcuCheckCommand::OnSetLcuClock() {
  if (SetLcuClock(m_ctx).result != CommandResult::kDone) return;
  QuietPrompter quiet;
  Refresh(quiet);
}

// A new connection's check keeps out of the technician's way: it runs after the connection
// actions (an automatic download has ended by then), reports no failure of its own (the
// status bar already tells a lost link), and opens its window only when a line is amber or
// red, without taking the focus and without blocking the program. It does not run while
// another window waits for an answer (a command may be between its read and its write);
// an open window then stays as it was, stale if the LCU had gone off line.
void LcuCheckCommand::CheckOnConnection() {
  if (QApplication::activeModalWidget() != nullptr) return;
  QuietPrompter quiet;
  const auto lines = RunCheck(quiet);
  if (!lines) return;
  if (!m_window && WorstLevel(*lines) == CheckLevel::kOk) return;
  ShowLines(*lines, false);
}

void LcuCheckCommand::OnStatusPanes(const StatusPaneTexts& texts) {
  LcuCheckDlg* window = m_window;
  if (window == nullptr || texts.link != kOffLine || window->IsStale()) return;
  window->SetStale(TimeOfDay(m_ctx.clock.Now()));
}

}  // namespace lcu::gui
