// ProgressDlg: the small modeless window without a caption that shows the download's
// progress: a bar stepped once per logging buffer read, and under it the bytes done of the
// total, the rate and the time left. Ctrl+S typed while it has the keyboard focus
// asks the download to stop, as Stop Download does.
#pragma once

#include <cstdint>

#include <QDialog>

class QLabel;
class QProgressBar;

namespace lcu::gui {

class ProgressDlg : public QDialog {
  Q_OBJECT

 public:
  /// stopFlag is the download's stop request; owner is the window it is centred on.
  ProgressDlg(std::int32_t& stopFlag, QWidget* owner);

  void SetRange(int low, int high);
  void SetStep(int step);
  void SetPos(int position);
  void StepIt();
  int Position() const;
  /// The figures line under the bar.
  void SetFigures(const QString& text);
  QString Figures() const;

  /// Escape does not take the progress away while the download runs.
  void reject() override {}

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  std::int32_t& m_bStopDownload;
  QProgressBar* m_pProgress;
  QLabel* m_pFigures;
  int m_nStep = 1;
};

}  // namespace lcu::gui
