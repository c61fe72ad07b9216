// The services the desktop program runs on outside the tests: the per-user settings store,
// the LCU the command line chose (real, simulated or replayed), the program's own dialogs,
// the host's file system and clock.
#pragma once

#include "gui/app/tavrix_app.h"
#include "program/program_options.h"

namespace lcu::gui {

/// Opens the store and the LCU backend for options; a backend that could not be opened is
/// replaced by one without an LCU and left for the main window to explain (startupProblem).
CTavrixApp::Services MakeProgramServices(const program::ProgramOptions& options);

}  // namespace lcu::gui
