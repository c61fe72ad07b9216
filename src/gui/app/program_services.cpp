#include "gui/app/program_services.h"

#include <memory>
#include <utility>

#include "core/host/clock.h"
#include "gui/app/device_options.h"
#include "gui/app/widget_prompter.h"
#include "platform/host_file_system.h"
#include "program/host_settings.h"
#include "program/program_assembly.h"

namespace lcu::gui {

CTavrixApp::Services MakeProgramServices(const program::ProgramOptions& options) {
  CTavrixApp::Services services;
  services.store = program::OpenHostSettings().store;
  program::ProgramBackend backend = program::OpenProgramBackend(options, *services.store);
  services.backend = backend.backend ? std::move(backend.backend) : std::make_unique<NoLcuBackend>();
  services.prompter = std::make_unique<WidgetPrompter>();
  services.files = std::make_unique<HostFileSystem>();
  services.clock = std::make_unique<SystemClock>();
  services.startupProblem = std::move(backend.problem);
  return services;
}

}  // namespace lcu::gui
