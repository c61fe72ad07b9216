// GuiPrompter: the core's Prompter plus the other modal windows of the desktop program, so
// that the commands never open a modal window themselves and tests can answer every one
// of them from a script.
#pragma once

#include <optional>

#include <QFont>
#include <QString>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

#include "core/commands/lcu_configuration.h"
#include "core/host/prompter.h"

namespace lcu::gui {

class GuiPrompter : public Prompter {
 public:
  /// The window the boxes and dialogs belong to, once the main window exists.
  virtual void SetOwner(QWidget* owner) { (void)owner; }

  /// The Password dialog, opened with entry in its field. False on Cancel; on OK entry holds
  /// the text typed.
  virtual bool RunPasswordDialog(QString& entry) = 0;
  /// The About box.
  virtual void RunAboutBox(const QString& version) = 0;
  /// The LCU Configuration dialog with its eight texts.
  virtual void RunLcuConfigurationDialog(const LcuConfigurationTexts& texts) = 0;
  /// An open-file dialog; the chosen path, or empty when the user cancelled.
  virtual QString GetOpenFileName(const QString& title, const QString& folder, const QString& filter) = 0;
  /// A save-file dialog opened on initialPath (a folder and a file name), without an
  /// overwrite question; the chosen path, or empty when the user cancelled.
  virtual QString GetSaveFileName(const QString& title, const QString& initialPath, const QString& filter) = 0;
  /// Runs one of the program's own dialogs modally; true when it ended with OK.
  virtual bool RunModal(QDialog& dialog) = 0;
  /// The font dialog for screen fonts, without the effects choices; nullopt on Cancel.
  virtual std::optional<QFont> GetFont(const QFont& initial) = 0;
  /// Shows a popup menu at a screen point; the item chosen, or null.
  virtual QAction* RunPopupMenu(QMenu& menu, const QPoint& globalPos) = 0;
};

}  // namespace lcu::gui
