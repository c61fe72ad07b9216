// Send Config: sends the calibration image of the connected LCU into its header page (the
// configuration upload in Send Config mode), after the checks and questions of the command.
#pragma once

#include <cstdint>
#include <string>

#include "core/app/command_context.h"

namespace lcu {

/// Whether Send Config still asks before it sends another LCU's calibration.
enum class CalibrationConsent {
  kAsk,    // the Send Config command
  kGiven,  // a command that has asked already (zeroing)
};

struct SendConfigResult {
  CommandResult result = CommandResult::kFailed;
  /// The connected LCU, from the last status block.
  std::uint16_t lcuNumber = 0;
  /// The calibration file whose image was sent; empty until it has been loaded.
  std::string calibrationFile;
};

/// Refuses while a download runs or the LCU is off line, asks before it sends while the LCU
/// logs, asks (with kAsk) before it sends a calibration that is not the connected LCU's own,
/// loads the calibration of the connected LCU into m_calibration and uploads it; says
/// "Configuration updated" on success.
SendConfigResult SendConfig(CommandContext& ctx, CalibrationConsent consent = CalibrationConsent::kAsk);

}  // namespace lcu
