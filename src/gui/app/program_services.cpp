#include "gui/app/program_services.h"

#include <memory>
#include <utility>

#include "core/host/clock.h"
#include "gui/app/widget_prompter.h"
#include "platform/host_file_system.h"
#include "qtstore/qt_settings_store.h"

namespace lcu::gui {

CTavrixApp::Services MakeProgramServices(const DeviceOptions& options) {
  CTavrixApp::Services services;
  services.store = std::make_unique<QtSettingsStore>();
  BackendChoice backend = OpenBackend(options, *services.store);
  services.backend = std::move(backend.backend);
  services.prompter = std::make_unique<WidgetPrompter>();
  services.files = std::make_unique<HostFileSystem>();
  services.clock = std::make_unique<SystemClock>();
  services.startupProblem = std::move(backend.problem);
  return services;
}

}  // namespace lcu::gui
