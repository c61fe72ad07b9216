#include "core/commands/send_config.h"

#include "core/app/command_guard.h"
#include "core/channels/calibration_file.h"
#include "core/commands/configuration_upload.h"
#include "core/messages/messages.h"

namespace lcu {

SendConfigResult SendConfig(CommandContext& ctx, CalibrationConsent consent) {
  SendConfigResult outcome;
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kPlain);
  if (!run) return outcome;
  if (ctx.device.IsLogging() && !ctx.prompter.AskQuestion(msg::kLoggingInProgressContinue)) {
    outcome.result = CommandResult::kDeclined;
    return outcome;
  }
  outcome.lcuNumber = StatusLcuNumber(ctx.device);
  if (consent == CalibrationConsent::kAsk &&
      !ConfirmCalibrationSource(ctx.store, FindCalibration(ctx.store, outcome.lcuNumber), ctx.prompter)) {
    outcome.result = CommandResult::kDeclined;
    return outcome;
  }
  if (!LoadAppCalibration(ctx.app, ctx.store, outcome.lcuNumber, ctx.prompter, msg::kCouldNotReadCalibrationFile,
                          CalibrationNote::kSilent))
    return outcome;
  outcome.calibrationFile = ctx.app.m_szCalibrationFile;
  outcome.result = UploadConfiguration(ctx, ctx.app.m_calibration, UploadMode::kSendConfig);
  if (outcome.result != CommandResult::kDone) return outcome;
  ctx.prompter.Information(msg::kConfigurationUpdated);
  return outcome;
}

}  // namespace lcu
