// StatusResult: the result of a command shown in the status bar's message area, such as the
// file a download saved. The panes keep their widths, so in a small window the room left of
// them is narrow: the text is cut with an ellipsis to the room it has, cut anew whenever the
// panes move, and whole in the bar's tooltip while it shows.
#pragma once

#include <QObject>
#include <QString>

class QStatusBar;
class QWidget;

namespace lcu::gui {

class StatusResult final : public QObject {
  Q_OBJECT

 public:
  /// firstPane: the leftmost pane that always shows; the message ends before it.
  StatusResult(QStatusBar& bar, QWidget& firstPane);

  /// Shows text until another message replaces it.
  void Show(const QString& text);
  /// The width the message area has now.
  int Room() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fit();

  QStatusBar& m_bar;
  const QWidget& m_firstPane;
  QString m_text;   // the whole result while it shows; empty otherwise
  QString m_shown;  // as cut to the room
};

}  // namespace lcu::gui
