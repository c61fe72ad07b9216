// CWindowTitleDlg: "Enter window name", the dialog of a child frame's Window Name command.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace lcu::gui {

class CWindowTitleDlg : public QDialog {
  Q_OBJECT

 public:
  /// Opens with name in the name box.
  explicit CWindowTitleDlg(const QString& name, QWidget* parent = nullptr);

  /// The name typed, once the dialog ended with OK.
  QString m_strName;

  void accept() override;

  QLineEdit& NameBox() const { return *m_pEdit; }

 private:
  QLineEdit* m_pEdit;
};

}  // namespace lcu::gui
