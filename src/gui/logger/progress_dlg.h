// ProgressDlg: the small modeless window "Download" that shows the download's progress: a bar
// stepped once per logging buffer read, and under it the bytes done of the total, the rate
// and the time left. Its Stop button, Escape and Ctrl+S typed while it has the keyboard
// focus ask the download to stop, as Stop Download does; the window itself stays until the
// download has ended.
#pragma once

#include <cstdint>

#include <QDialog>

#include "core/link/link_owner.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace lcu::gui {

class ProgressDlg : public QDialog {
  Q_OBJECT

 public:
  /// link is where the Stop button asks the download to stop; owner is the window the
  /// dialog is centred on.
  ProgressDlg(LinkOwner& link, QWidget* owner);

  void SetRange(int low, int high);
  void SetStep(int step);
  void SetPos(int position);
  void StepIt();
  int Position() const;
  /// The figures line under the bar.
  void SetFigures(const QString& text);
  QString Figures() const;

  /// Escape asks the download to stop; the progress stays until the download has ended.
  void reject() override;

  /// Asks the running download to stop at its next pause between two chunks.
  void OnStopDownload();

  QPushButton& StopButton() const { return *m_pStop; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  LinkOwner& m_link;
  QProgressBar* m_pProgress;
  QPushButton* m_pStop;
  QLabel* m_pFigures;
  int m_nStep = 1;
};

}  // namespace lcu::gui
