// The services the desktop program runs on outside the tests: the per-user settings store,
// the LCU the command line chose (real, simulated or replayed), the program's own dialogs,
// the host's file system and clock.
#pragma once

#include "gui/app/device_options.h"
#include "gui/app/tavrix_app.h"

namespace lcu::gui {

/// Opens the store and the LCU backend for options; a backend that could not be opened is
/// left for the main window to explain (startupProblem).
CTavrixApp::Services MakeProgramServices(const DeviceOptions& options);

}  // namespace lcu::gui
