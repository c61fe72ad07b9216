// GuiPrompter: the core's Prompter plus the other modal windows of the desktop program, so
// that the commands never open a modal window themselves and tests can answer every one
// of them from a script.
#pragma once

#include <QString>

class QWidget;

#include "app/prompter.h"
#include "logger/lcu_configuration.h"

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
};

}  // namespace lcu::gui
