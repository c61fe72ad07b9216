#include "gui/memory/up_down_control.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace lcu::gui {

namespace {
constexpr int kUpDelta = -1;
constexpr int kDownDelta = 1;

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
  return button;
}
}  // namespace

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent), m_pUp(ArrowButton(Qt::UpArrow, this)), m_pDown(ArrowButton(Qt::DownArrow, this)) {
  setFocusPolicy(Qt::StrongFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_pUp);
  layout->addWidget(m_pDown);
  connect(m_pUp, &QToolButton::clicked, this, [this] { emit deltaPos(kUpDelta); });
  connect(m_pDown, &QToolButton::clicked, this, [this] { emit deltaPos(kDownDelta); });
}

void UpDownControl::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    emit deltaPos(kUpDelta);
  } else if (event->key() == Qt::Key_Down) {
    emit deltaPos(kDownDelta);
  } else {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

}  // namespace lcu::gui
