// Places a modeless window in the middle of the window that owns it (or of the screen when
// it has none), as the progress and upload notices appear.
#pragma once

class QWidget;

namespace lcu::gui {

void CentreOnOwner(QWidget& window);

}  // namespace lcu::gui
