// ProgressDlg: the small modeless window without a caption that shows the download's
// progress, one step per logging buffer read. Ctrl+S typed while it has the keyboard focus
// asks the download to stop, as Stop Download does.
#pragma once

#include <cstdint>

#include <QDialog>

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

  /// Escape does not take the progress away while the download runs.
  void reject() override {}

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  std::int32_t& m_bStopDownload;
  QProgressBar* m_pProgress;
  int m_nStep = 1;
};

}  // namespace lcu::gui
