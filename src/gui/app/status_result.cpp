#include "gui/app/status_result.h"

#include <QEvent>
#include <QFontMetrics>
#include <QStatusBar>

namespace lcu::gui {

namespace {

// Where the status bar draws its message: from 6 pixels in to a pixel before the first pane.
constexpr int kMessageLeft = 6;
constexpr int kGapBeforePane = 1;

}  // namespace

StatusResult::StatusResult(QStatusBar& bar, QWidget& firstPane) : QObject(&bar), m_bar(bar), m_firstPane(firstPane) {
  // The room ends where the first pane begins: it changes exactly when that pane moves.
  firstPane.installEventFilter(this);
  // Another message (a menu item's prompt, or none) ends the result's turn.
  connect(&bar, &QStatusBar::messageChanged, this, [this](const QString& message) {
    if (m_text.isEmpty() || message == m_shown) return;
    m_text.clear();
    m_bar.setToolTip({});
  });
}

void StatusResult::Show(const QString& text) {
  m_text = text;
  m_shown.clear();
  m_bar.setToolTip(text);
  Fit();
}

int StatusResult::Room() const { return m_firstPane.x() - kGapBeforePane - kMessageLeft; }

bool StatusResult::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &m_firstPane && event->type() == QEvent::Move && !m_text.isEmpty()) Fit();
  return QObject::eventFilter(watched, event);
}

void StatusResult::Fit() {
  const QString shown = QFontMetrics(m_bar.font()).elidedText(m_text, Qt::ElideRight, Room());
  if (shown == m_shown && m_bar.currentMessage() == shown) return;
  m_shown = shown;
  m_bar.showMessage(shown);
}

}  // namespace lcu::gui
