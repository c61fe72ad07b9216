#include "gui/app/program_identity.h"

#include <QGuiApplication>

#include "gui/app/product_version.h"

namespace lcu::gui {

void SetProgramIdentity() {
  QCoreApplication::setApplicationName(QStringLiteral("corvalent"));
  // The product family, which the settings folder is named after too.
  QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
  QCoreApplication::setApplicationVersion(GetProductVersion());
#ifdef LCU_APP_ID
  QGuiApplication::setDesktopFileName(QStringLiteral(LCU_APP_ID));
#endif
}

}  // namespace lcu::gui
