// How both programs put themselves together from their options: the LCU they work with (a
// transcript played back, a simulated LCU, fresh or kept in a folder and with the fault plan
// of LCU_SIM_FAULTS, or the real LCU over USB), the recording of its traffic, and the
// settings flags read at start. The settings store comes from host_settings.h. Each program
// tells the user of a problem in its own way: the command line on stderr before it stops,
// the desktop program in a message box once its main window is up.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/app_state.h"
#include "core/host/settings_store.h"
#include "core/link/replay_backend.h"
#include "core/link/usb_backend.h"
#include "program/program_options.h"
#include "sim/lcu_simulator.h"
#include "usb/lcu_candidate.h"

namespace lcu::program {

struct ProgramBackend {
  /// The backend the options choose, wrapped in the recorder when a transcript is to be
  /// written; null when it could not be had, and problem then says why.
  std::unique_ptr<UsbBackend> backend;
  std::string problem;
  /// Within backend: the transcript played back, when one is.
  ReplayBackend* replay = nullptr;
  /// Within backend: the real LCU's backend, when it is used, for the reason an attached LCU
  /// could not be opened.
  UsbBackend* usb = nullptr;
};

/// Opens the backend the options choose: a replay when a transcript is given, else a simulator
/// when one is asked for (its state folder created when missing), else the real LCU looked
/// for with the vendor id of the settings and the device chosen. Verbose, every transfer is
/// written to stderr as a transcript line as it happens.
ProgramBackend OpenProgramBackend(const ProgramOptions& options, const SettingsStore& store);

/// The USB devices the real LCU's backend of these options and settings looks at, each with
/// its verdict. Nullopt when they cannot be listed: problem then says why.
std::optional<std::vector<usb::LcuCandidate>> ListUsbDevices(const ProgramOptions& options, const SettingsStore& store,
                                                             std::string& problem);

/// The simulated LCU's fault plan from its text: "fail:K", "short:K", "unplug:K" or "log:K"
/// make the K-th transfer of the run (from 1, the first poll included) fail, come up one byte
/// short, find the LCU unplugged, or find that the LCU has just started logging by itself.
/// Any other text injects nothing.
sim::FaultPlan ParseFaultPlan(std::string_view text);

/// The three settings flags of the profile section "Settings" (Auto Download, Preserve
/// Buffer, Preserve QMT), as both programs read them at start.
void ReadSettingsFlags(SettingsStore& store, AppState& app);

}  // namespace lcu::program
