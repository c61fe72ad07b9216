// The program's logger icon: the main window's icon, and the picture beside the texts of
// the download progress, the hex file upload notice and the About box.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace lcu::gui {

/// The icon in every size the resources hold.
QIcon LoggerIconSet();
/// The icon as a 32 by 32 picture for dialogs.
QPixmap LoggerIcon();

}  // namespace lcu::gui
