// FrameCommandUi: what the LCU commands see of the main window: the download's progress
// dialog, the message pump that keeps the program live between two chunks, and the check
// marks of the main menu that show the flags.
#pragma once

#include <cstdint>

#include <QObject>
#include <QPointer>

#include "core/app/command_context.h"
#include "gui/app/main_menu.h"
#include "gui/logger/progress_dlg.h"

class QWidget;

namespace lcu::gui {

class FrameCommandUi final : public QObject, public CommandUi {
  Q_OBJECT

 public:
  /// stopFlag is the stop request that Ctrl+S in the progress dialog sets.
  explicit FrameCommandUi(LinkOwner& link);
  ~FrameCommandUi() override;

  /// The main window (owner of the progress dialog) and its menu.
  void SetFrame(QWidget* owner, MainMenu* menu);

  void BeginProgress(int steps) override;
  void StepProgress() override;
  void EndProgress() override;
  void ShowTransferred(const TransferProgress& progress) override;
  /// Dispatches the events waiting now; false once the program is quitting (the main
  /// window was closed or the application asked to quit).
  bool PumpWaitingMessages() override;
  /// Checks or unchecks the flag's menu item.
  void FlagChanged(AppFlag flag, bool on) override;
  /// Shows the saved file's name, its size and whether the LCU was emptied in the main
  /// window's status bar.
  void DownloadSaved(std::string_view path, std::uint64_t bytes, bool lcuEmptied) override;

  /// The main window is going away: a running download stops at its next pump.
  void RequestQuit() { m_bQuitting = true; }

  /// The progress dialog while a download shows it.
  ProgressDlg* Progress() const { return m_progress.data(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 signals:
  /// A flag of the application changed (its menu item was checked or unchecked).
  void flagChanged();

 private:
  LinkOwner& m_link;
  QPointer<QWidget> m_owner;
  QPointer<MainMenu> m_menu;
  QPointer<ProgressDlg> m_progress;
  bool m_bQuitting = false;
  // The bar's steps: one per buffer until the download reports its bytes, then thousandths.
  static constexpr int kBarScale = 1000;
  bool m_bBarFollowsBytes = false;
};

}  // namespace lcu::gui
