// CInitLcuDlg: asks for the number a new LCU gets. The field opens empty, so that no number
// is taken that nobody typed; OK with a text that is not an integer from 0 to 65535 shows
// why and keeps the dialog open.
#pragma once

#include <cstdint>

#include <QDialog>

class QLineEdit;

namespace lcu {
class Prompter;
}

namespace lcu::gui {

class CInitLcuDlg : public QDialog {
  Q_OBJECT

 public:
  /// prompter shows the field's complaint.
  CInitLcuDlg(Prompter& prompter, QWidget* parent = nullptr);

  /// The number entered; valid once the dialog has been accepted.
  std::int32_t LcuNumber() const { return m_nLcuNumber; }

  void accept() override;

 private:
  Prompter& m_prompter;
  QLineEdit* m_pEdit;
  std::int32_t m_nLcuNumber = 0;
};

}  // namespace lcu::gui
