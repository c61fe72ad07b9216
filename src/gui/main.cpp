// corvalent: the desktop workstation of the LCU engine data logger.
#include <memory>

#include <QApplication>

#include "gui/app/device_options.h"
#include "gui/app/product_version.h"
#include "gui/app/program_services.h"
#include "gui/app/single_instance_lock.h"
#include "gui/app/tavrix_app.h"
#include "host_file_system.h"

int main(int argc, char* argv[]) {
  lcu::TreatFileSizeLimitAsWriteError();
  QApplication application(argc, argv);
  QApplication::setApplicationVersion(lcu::gui::GetProductVersion());
  const lcu::gui::DeviceOptions options = lcu::gui::ParseDeviceOptions(QApplication::arguments());

  // A second copy ends at once, without a window or a message.
  lcu::gui::SingleInstanceLock lock;
  if (!lock.TryLock()) return 0;

  auto app = std::make_unique<lcu::gui::CTavrixApp>(lcu::gui::MakeProgramServices(options));
  if (!app->InitInstance()) return 0;
  return QApplication::exec();
}
