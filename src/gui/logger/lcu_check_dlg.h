// LcuCheckDlg: the pre-flight check's lines, one row each: a coloured marker (green ok,
// amber warning, red error), the text and what to do. One window, without modality, so that
// the technician can act on a line (Set LCU Clock, Download, Send Config) and check again
// with the window still in view. Lines read from an LCU that has since gone off line are
// greyed and the summary says since when; Check Again stays off until the LCU is back.
#pragma once

#include <vector>

#include <QDialog>

#include "core/commands/preflight_check.h"

class QGridLayout;
class QLabel;
class QPushButton;

namespace lcu::gui {

class LcuCheckDlg : public QDialog {
  Q_OBJECT

 public:
  explicit LcuCheckDlg(const std::vector<PreflightLine>& lines, QWidget* parent = nullptr);

  /// Replaces the rows by the lines of a newer check; they are current again.
  void SetLines(const std::vector<PreflightLine>& lines);

  /// The LCU went off line at the given time (as the user reads it, "14:05"): the rows are
  /// greyed and the summary says so.
  void SetStale(const QString& since);
  bool IsStale() const { return m_bStale; }

  /// The marker's colour of a level.
  static QColor LevelColour(CheckLevel level);

 signals:
  /// The user asked for the check to run again.
  void checkAgain();

 private:
  QGridLayout* m_grid;
  QWidget* m_rows;
  QLabel* m_summary;
  QPushButton* m_checkAgain;
  bool m_bStale = false;
};

}  // namespace lcu::gui
