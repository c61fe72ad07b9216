// What both programs' command lines choose about the LCU they work with. Each program parses
// its own command line into these; paths are UTF-8.
#pragma once

#include <optional>
#include <string>

#include "core/link/device_selector.h"

namespace lcu::program {

/// The environment variable that injects a fault into the simulated LCU (see ParseFaultPlan).
inline constexpr const char* kFaultsVariable = "LCU_SIM_FAULTS";
/// The environment variable that gives the simulated LCU a link-speed model: "full" or "high".
inline constexpr const char* kLinkVariable = "LCU_SIM_LINK";
/// The environment variable that fixes the clock a fresh simulated LCU starts with, as a
/// time of day "H:MM" (recorded transcripts and tests); without it the clock starts at the
/// computer's local time.
inline constexpr const char* kClockVariable = "LCU_SIM_CLOCK";

struct ProgramOptions {
  bool simulate = false;                 // a fresh simulated LCU in memory
  std::string simState;                  // a simulated LCU kept in this folder
  std::string record;                    // write the traffic with the LCU to this transcript
  std::string replay;                    // play this transcript back instead of an LCU
  std::string faults;                    // the simulated LCU's fault plan, as kFaultsVariable holds it
  std::optional<DeviceSelector> device;  // the real LCU to use when several are attached
  bool verbose = false;                  // every transfer and the USB layer's warnings on stderr as they happen
};

/// The value of kFaultsVariable; empty when it is not set.
std::string FaultsFromEnvironment();

}  // namespace lcu::program
