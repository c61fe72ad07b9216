// The LCU Configuration window: shows the eight rows the core's CLcuConfg gathered about
// the connected LCU, with one OK button. It is opened only when the gathering succeeded.
#pragma once

#include <QDialog>

#include "core/commands/lcu_configuration.h"

namespace lcu::gui {

class LcuConfigDlg : public QDialog {
  Q_OBJECT

 public:
  explicit LcuConfigDlg(const LcuConfigurationTexts& texts, QWidget* parent = nullptr);
};

}  // namespace lcu::gui
