// The desktop program's services around a simulated LCU that holds the sample setup, as the
// window benchmarks use them; the link is timed, so that the LCU's side of each exchange can be
// set apart from the program's own work.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/app/app_state.h"
#include "core/app/command_context.h"
#include "core/channels/channel_table.h"
#include "core/host/clock.h"
#include "core/host/file_system.h"
#include "core/host/memory_settings_store.h"
#include "core/link/usb_device.h"
#include "gui/app/widget_prompter.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_setup.h"
#include "timed_lcu.h"

namespace lcu::bench {

// Points HOME at a folder of its own below the system's temporary folder, so that the sample
// setup a benchmark writes leaves the user's settings alone. Call before the application object
// is made.
inline void UseThrowAwayHome(const char* name) {
  const std::filesystem::path home = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(home);
  setenv("HOME", home.c_str(), 1);
}

struct SimulatedWorkstation {
  sim::LcuSimulator simulator;
  TimedLcu link{simulator};
  CUsbDevice device{link};
  LinkOwner owner{device};
  MemorySettingsStore store;
  gui::WidgetPrompter prompter;
  SystemClock clock;
  StdFileSystem files;
  AppState app;
  SilentCommandUi ui;
  CommandContext ctx{device, owner, store, prompter, clock, files, app, ui};

  // Brings the LCU on line, writes the sample setup and loads its channels; what failed, or "".
  std::string Start() {
    device.PollStatus();
    if (!device.IsOnline()) return "the simulated LCU did not answer";
    if (std::string problem = sim::WriteSampleSetup(store); !problem.empty()) return "sample setup: " + problem;
    if (!LoadChannelDefinitions(app, store, sim::kSampleLcuNumber, prompter)) return "the sample channels did not load";
    return "";
  }

  // Start, with what failed told on stderr; false then.
  bool StartOrReport() {
    const std::string problem = Start();
    if (!problem.empty()) std::fprintf(stderr, "%s\n", problem.c_str());
    return problem.empty();
  }
};

}  // namespace lcu::bench
