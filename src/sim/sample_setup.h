// The sample setup: a channel definition file and a calibration file whose names, units
// and tables fit the simulator's signal model, so that a new user sees the whole program
// work without hardware.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/host/settings_store.h"
#include "core/logger/logger_header.h"

namespace lcu::sim {

/// LCU number of the simulator's fresh LCU.
inline constexpr std::uint16_t kSampleLcuNumber = 1;

/// The bytes of "channel.dsc" (256-byte header and 128-byte records).
std::vector<std::uint8_t> MakeSampleChannelDefinitions();
/// The calibration image of the sample setup (the bytes of "@LCU1.cal").
LoggerHeader MakeSampleCalibration();

/// Writes channel.dsc and @LCU1.cal into the setup folder the settings name (creating it),
/// registers the LCU number in slot 1 ("Config\LCUs\Serial1"/"Serial") and creates the data
/// folder and the "libs" folder of the setup extract. Returns an empty string on success,
/// else the reason.
std::string WriteSampleSetup(SettingsStore& store, std::uint16_t lcuNumber = kSampleLcuNumber);

}  // namespace lcu::sim
