// CPasswordDlg: the service password entry, and the rule by which an entry unlocks the
// service commands.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace lcu::gui {

/// True when the entry, turned into lower case, equals one of the two service passwords
/// exactly: any mix of cases is accepted, a blank more is not.
bool IsServicePassword(const QString& entry);

class CPasswordDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CPasswordDlg(QWidget* parent = nullptr);

  QString Entry() const;
  void SetEntry(const QString& entry);

 private:
  QLineEdit* m_pEdit;
};

}  // namespace lcu::gui
