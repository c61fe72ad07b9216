// CLcuCheckDlg: the pre-flight check's lines, one row each: a coloured marker (green ok,
// amber warning, red error), the text and what to do. Shown modally by LCU Check..., and
// without taking the focus when a new connection's check found something amber or red.
#pragma once

#include <vector>

#include <QDialog>

#include "core/logger/preflight_check.h"

class QGridLayout;
class QLabel;

namespace lcu::gui {

class CLcuCheckDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CLcuCheckDlg(const std::vector<PreflightLine>& lines, QWidget* parent = nullptr);

  /// Replaces the rows by the lines of a newer check.
  void SetLines(const std::vector<PreflightLine>& lines);

  /// The marker's colour of a level.
  static QColor LevelColour(CheckLevel level);

 private:
  QGridLayout* m_grid;
  QLabel* m_summary;
};

}  // namespace lcu::gui
