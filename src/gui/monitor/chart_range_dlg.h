// ChartRangeDlg: "Chart Range", where the user fixes the range a trace of a strip chart is
// scaled to, or gives it back to automatic scaling.
#pragma once

#include <optional>
#include <vector>

#include <QDialog>
#include <QString>

#include "core/monitor/chart_history.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace lcu::gui {

class GuiPrompter;

class ChartRangeDlg : public QDialog {
  Q_OBJECT

 public:
  struct Trace {
    QString label;
    std::optional<ChartRange> fixed;
    ChartRange shown;  // what the trace is scaled to now
  };
  /// Opens on the trace given; the fields show its range.
  ChartRangeDlg(GuiPrompter& prompter, std::vector<Trace> traces, int trace, QWidget* parent = nullptr);

  /// After OK: the trace chosen and its fixed range (none for automatic).
  int m_nTrace = 0;
  std::optional<ChartRange> m_range;

  QComboBox& TraceBox() const { return *m_pTrace; }
  QCheckBox& AutomaticBox() const { return *m_pAutomatic; }
  QLineEdit& LowBox() const { return *m_pLow; }
  QLineEdit& HighBox() const { return *m_pHigh; }

  /// Refuses a fixed range whose bottom is not below its top, and stays open.
  void accept() override;

 private:
  void ShowTrace(int trace);
  void ShowAutomatic();

  GuiPrompter& m_prompter;
  std::vector<Trace> m_traces;
  QComboBox* m_pTrace;
  QCheckBox* m_pAutomatic;
  QLineEdit* m_pLow;
  QLineEdit* m_pHigh;
};

}  // namespace lcu::gui
