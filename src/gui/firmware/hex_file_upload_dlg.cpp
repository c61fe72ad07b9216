#include "gui/firmware/hex_file_upload_dlg.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

#include "gui/app/centre_on_owner.h"
#include "gui/app/logger_icon.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

CHexFileUploadDlg::CHexFileUploadDlg(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint) {
  setModal(false);
  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* icon = new QLabel(panel);
  icon->setPixmap(LoggerIcon());
  auto* row = new QHBoxLayout(panel);
  row->addWidget(icon);
  row->addSpacing(12);
  row->addWidget(new QLabel(ToQString(kUploadingHexFileNotice), panel), 1);
  row->setContentsMargins(16, 12, 24, 12);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panel);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CHexFileUploadDlg::Show() {
  show();
  CentreOnOwner(*this);
  // Lets the window system map and paint the notice, but runs no timer: the session must not
  // poll and start a download in the middle of the upload.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers);
  repaint();
}

void CHexFileUploadDlg::Close() { hide(); }

}  // namespace lcu::gui
