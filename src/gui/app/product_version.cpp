#include "gui/app/product_version.h"

namespace lcu::gui {

QString GetProductVersion() {
#ifdef LCU_PRODUCT_VERSION
  return QStringLiteral(LCU_PRODUCT_VERSION);
#else
  return QStringLiteral("0.0.0");
#endif
}

}  // namespace lcu::gui
