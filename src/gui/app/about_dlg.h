// CAboutDlg: the About box with the product title and its version.
#pragma once

#include <QDialog>

namespace lcu::gui {

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(const QString& version, QWidget* parent = nullptr);
};

}  // namespace lcu::gui
