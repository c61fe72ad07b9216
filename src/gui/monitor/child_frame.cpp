#include "gui/monitor/child_frame.h"

#include <QEvent>

#include "gui/app/gui_prompter.h"
#include "gui/app/gui_texts.h"
#include "gui/app/logger_icon.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/child_view.h"
#include "gui/monitor/window_title_dlg.h"

namespace lcu::gui {

CChildFrame::CChildFrame(GuiPrompter& prompter, QWidget* parent)
    : QMdiSubWindow(parent), m_prompter(prompter), m_szWindowName(ToQString(text::kUntitledWindow)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(LoggerIconSet());
}

void CChildFrame::SetWindowName(const QString& name) {
  QString cut = name;
  while (cut.toUtf8().size() > kWindowNameLimit) cut.chop(1);
  // A surrogate pair cut in two would leave half a character.
  if (!cut.isEmpty() && cut.back().isHighSurrogate()) cut.chop(1);
  m_szWindowName = cut;
}

void CChildFrame::OnUpdateFrameTitle() {
  if (windowTitle() != m_szWindowName) setWindowTitle(m_szWindowName);
}

int CChildFrame::ShowCommand() const {
  if (isMinimized()) return kFrameShowMinimized;
  if (isMaximized()) return kFrameShowMaximized;
  return kFrameShowNormal;
}

QRect CChildFrame::NormalGeometry() const {
  if (ShowCommand() == kFrameShowNormal || !m_normalGeometry.isValid()) return geometry();
  return m_normalGeometry;
}

void CChildFrame::OnWindowName() {
  CWindowTitleDlg dialog(m_szWindowName, this);
  if (!m_prompter.RunModal(dialog)) return;
  SetWindowName(dialog.m_strName);
  OnUpdateFrameTitle();
}

void CChildFrame::OnClose() { delete this; }

void CChildFrame::changeEvent(QEvent* event) {
  QMdiSubWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) TellViewShowState();
}

void CChildFrame::moveEvent(QMoveEvent* event) {
  QMdiSubWindow::moveEvent(event);
  TellViewShowState();
}

void CChildFrame::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  TellViewShowState();
}

void CChildFrame::TellViewShowState() {
  if (ShowCommand() == kFrameShowNormal) m_normalGeometry = geometry();
  if (auto* view = dynamic_cast<ChildView*>(widget())) view->OnFrameShowState(ShowCommand());
}

}  // namespace lcu::gui
