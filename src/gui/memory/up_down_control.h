// UpDownControl: a pair of arrow buttons, one above the other, without a text box of its
// own. Each press (held buttons repeat) and each Up or Down key while it has the focus
// reports a step, as an up-down control with its default range does: -1 for the up arrow,
// +1 for the down arrow.
#pragma once

#include <QWidget>

class QToolButton;

namespace lcu::gui {

class UpDownControl final : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownControl(QWidget* parent = nullptr);

  QToolButton& UpButton() const { return *m_pUp; }
  QToolButton& DownButton() const { return *m_pDown; }

 signals:
  /// One step with its delta, before anything else happens.
  void deltaPos(int delta);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QToolButton* m_pUp;
  QToolButton* m_pDown;
};

}  // namespace lcu::gui
