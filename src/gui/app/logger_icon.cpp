#include "gui/app/logger_icon.h"

#include <QCoreApplication>
#include <QPointer>
#include <QString>

namespace lcu::gui {

namespace {
constexpr int kDialogIconSize = 32;
constexpr QStringView kIconPath = u":/icons/logger.png";

// Every child window's frame shows the icon: it is read from the resources once per
// application rather than once per window. It lives as long as the application object, so
// that no picture outlives the application that made it.
class IconKeeper : public QObject {
 public:
  explicit IconKeeper(QObject* application) : QObject(application), m_icon(kIconPath.toString()) {}
  const QIcon& Icon() const { return m_icon; }

 private:
  QIcon m_icon;
};
}  // namespace

QIcon LoggerIconSet() {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application) return QIcon(kIconPath.toString());
  static QPointer<IconKeeper> keeper;
  if (!keeper) keeper = new IconKeeper(application);
  return keeper->Icon();
}

QPixmap LoggerIcon() { return LoggerIconSet().pixmap(kDialogIconSize, kDialogIconSize); }

}  // namespace lcu::gui
