#include "core/commands/read_program.h"

#include <memory>
#include <span>

#include "core/app/command_guard.h"
#include "core/link/lcu_protocol.h"
#include "core/messages/messages.h"

namespace lcu {

ReadProgramResult ReadProgram(CommandContext& ctx, const std::string& path) {
  ReadProgramResult outcome;
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kPlain);
  if (!run) return outcome;
  const std::unique_ptr<std::uint8_t[]> memory = ReadProgramMemory(ctx);
  if (!memory) return outcome;
  const std::span<const std::uint8_t> buffer(memory.get(), kProgramMemorySize);
  if (!SaveOutputFile(ctx, path, buffer, msg::kFailedToCreateOutputFile, msg::kFailedToWriteOutputFile)) return outcome;
  ctx.prompter.Information(msg::kHexFileDownloaded);
  outcome.result = CommandResult::kDone;
  outcome.path = path;
  return outcome;
}

}  // namespace lcu
