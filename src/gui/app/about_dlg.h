// AboutDlg: the About box with the product title and its version.
#pragma once

#include <QDialog>

namespace lcu::gui {

class AboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDlg(const QString& version, QWidget* parent = nullptr);
};

}  // namespace lcu::gui
