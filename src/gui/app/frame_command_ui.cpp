#include "gui/app/frame_command_ui.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>

#include "gui/app/command_ids.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_frame.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

FrameCommandUi::FrameCommandUi(LinkOwner& link) : m_link(link) {
  if (QCoreApplication* application = QCoreApplication::instance()) application->installEventFilter(this);
}

FrameCommandUi::~FrameCommandUi() { EndProgress(); }

void FrameCommandUi::SetFrame(QWidget* owner, MainMenu* menu) {
  m_owner = owner;
  m_menu = menu;
}

void FrameCommandUi::BeginProgress(int steps) {
  EndProgress();
  m_bBarFollowsBytes = false;
  m_progress = new ProgressDlg(m_link, m_owner);
  m_progress->SetRange(1, steps);
  m_progress->SetStep(1);
  m_progress->SetPos(0);
  m_progress->show();
}

void FrameCommandUi::StepProgress() {
  if (m_progress && !m_bBarFollowsBytes) m_progress->StepIt();
}

void FrameCommandUi::EndProgress() { delete m_progress.data(); }

void FrameCommandUi::ShowTransferred(const TransferProgress& progress) {
  if (!m_progress) return;
  m_progress->SetFigures(ToQString(TransferProgressText(progress)));
  // Once the bytes are known the bar follows them: a download of one large buffer would
  // otherwise show one step for all of it.
  if (!m_bBarFollowsBytes) m_progress->SetRange(0, kBarScale);
  m_bBarFollowsBytes = true;
  const std::uint64_t total = std::max<std::uint64_t>(progress.total, 1);
  m_progress->SetPos(static_cast<int>(std::min(progress.done, total) * kBarScale / total));
}

bool FrameCommandUi::PumpWaitingMessages() {
  QCoreApplication::processEvents();
  return !m_bQuitting;
}

void FrameCommandUi::FlagChanged(AppFlag flag, bool on) {
  if (m_menu) m_menu->SetChecked(cmd::MenuCommandOf(flag), on);
  emit flagChanged();
}

void FrameCommandUi::DownloadSaved(std::string_view path, std::uint64_t bytes, bool lcuEmptied) {
  auto* frame = qobject_cast<CMainFrame*>(m_owner.data());
  if (frame == nullptr) return;
  QString text = ToQString(text::kDownloadSaved).arg(QFileInfo(ToQString(path)).fileName()).arg(bytes);
  text += ToQString(lcuEmptied ? text::kLcuEmptied : text::kLcuKeepsData);
  frame->ShowResult(text);
}

bool FrameCommandUi::eventFilter(QObject* watched, QEvent* event) {
  // The application's quit request is seen here even while a download dispatches events
  // from inside a command, where no event loop would notice it.
  if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) m_bQuitting = true;
  return QObject::eventFilter(watched, event);
}

}  // namespace lcu::gui
