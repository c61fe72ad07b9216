#include "core/commands/extract_setup.h"

#include "core/app/command_guard.h"
#include "core/link/logger_transfers.h"
#include "core/logger/logger_header.h"
#include "core/messages/messages.h"

namespace lcu {

ExtractSetupResult ExtractSetup(CommandContext& ctx, const std::string& path) {
  ExtractSetupResult outcome;
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kFullStop);
  if (!run) return outcome;
  if (!ctx.prompter.AskQuestion(msg::kExtractSetupContinue)) {
    outcome.result = CommandResult::kDeclined;
    return outcome;
  }
  LoggerHeader header;
  if (!ReadLoggerHeader(ctx.device, header.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadHeader, ctx.device.LastErrorText());
    return outcome;
  }
  if (!SaveOutputFile(ctx, path, header.Bytes(), msg::kFailedToOpenOutputFile, msg::kFailedToWriteHeaderToOutputFile))
    return outcome;
  outcome.result = CommandResult::kDone;
  outcome.path = path;
  return outcome;
}

}  // namespace lcu
