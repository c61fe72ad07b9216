// corvalent: the desktop workstation of the LCU engine data logger.
#include <memory>

#include <QApplication>

#include "app/clock.h"
#include "gui/app/device_options.h"
#include "gui/app/product_version.h"
#include "gui/app/single_instance_lock.h"
#include "gui/app/tavrix_app.h"
#include "gui/app/widget_prompter.h"
#include "host_file_system.h"
#include "qt_settings_store.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationVersion(lcu::gui::GetProductVersion());
  const lcu::gui::DeviceOptions options = lcu::gui::ParseDeviceOptions(QApplication::arguments());

  // A second copy ends at once, without a window or a message.
  lcu::gui::SingleInstanceLock lock;
  if (!lock.TryLock()) return 0;

  lcu::gui::CTavrixApp::Services services;
  services.store = std::make_unique<lcu::QtSettingsStore>();
  lcu::gui::BackendChoice backend = lcu::gui::OpenBackend(options, *services.store);
  services.backend = std::move(backend.backend);
  services.prompter = std::make_unique<lcu::gui::WidgetPrompter>();
  services.files = std::make_unique<lcu::HostFileSystem>();
  services.clock = std::make_unique<lcu::SystemClock>();
  services.startupProblem = std::move(backend.problem);

  auto app = std::make_unique<lcu::gui::CTavrixApp>(std::move(services));
  if (!app->InitInstance()) return 0;
  return QApplication::exec();
}
