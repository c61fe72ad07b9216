#include "core/commands/refresh_calibration.h"

#include "core/channels/calibration_file.h"
#include "core/messages/messages.h"

namespace lcu {

RefreshCalibrationResult RefreshCalibration(CommandContext& ctx) {
  RefreshCalibrationResult outcome;
  outcome.lcuNumber = StatusLcuNumber(ctx.device);
  if (!LoadAppCalibration(ctx.app, ctx.store, outcome.lcuNumber, ctx.prompter, msg::kCouldNotLoadCalibration))
    return outcome;
  outcome.result = CommandResult::kDone;
  outcome.path = ctx.app.m_szCalibrationFile;
  return outcome;
}

}  // namespace lcu
