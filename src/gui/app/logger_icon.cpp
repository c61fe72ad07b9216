#include "gui/app/logger_icon.h"

#include <QString>

namespace lcu::gui {

namespace {
constexpr int kDialogIconSize = 32;
}  // namespace

QIcon LoggerIconSet() { return QIcon(QStringLiteral(":/icons/logger.png")); }

QPixmap LoggerIcon() { return LoggerIconSet().pixmap(kDialogIconSize, kDialogIconSize); }

}  // namespace lcu::gui
