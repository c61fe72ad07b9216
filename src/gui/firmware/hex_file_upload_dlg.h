// CHexFileUploadDlg: the modeless notice, with the logger icon and no caption, that stays on
// screen while a firmware image is sent to the LCU.
#pragma once

#include <QDialog>

#include "core/commands/hex_file_upload.h"

namespace lcu::gui {

class CHexFileUploadDlg : public QDialog, public UploadNotice {
  Q_OBJECT

 public:
  explicit CHexFileUploadDlg(QWidget* owner);

  /// Shows the notice centred on its owner and paints it at once: the transfer that follows
  /// lets no events through.
  void Show() override;
  void Close() override;

  /// Escape does not take the notice away while the image is sent.
  void reject() override {}
};

}  // namespace lcu::gui
