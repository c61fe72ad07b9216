// Refresh Calibration: reloads the calibration image in memory (m_calibration) from the
// calibration file of the LCU of the last status block, so that the conversion and the next
// upload use the file as it is now. It does not talk to the LCU.
#pragma once

#include <cstdint>
#include <string>

#include "core/app/command_context.h"

namespace lcu {

struct RefreshCalibrationResult {
  CommandResult result = CommandResult::kFailed;
  /// The LCU whose calibration was looked for.
  std::uint16_t lcuNumber = 0;
  /// The file loaded; empty unless the command succeeded.
  std::string path;
};

/// A file that is missing or too short is reported ("Could not load calibration") and leaves
/// m_calibration as it was; another LCU's file is remarked on.
RefreshCalibrationResult RefreshCalibration(CommandContext& ctx);

}  // namespace lcu
