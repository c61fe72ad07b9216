// The product version shown in the caption and the About box: the project's version,
// compiled into the program.
#pragma once

#include <QString>

namespace lcu::gui {

/// The product version text, for instance 1.0.0; "0.0.0" when the build gave none.
QString GetProductVersion();

}  // namespace lcu::gui
