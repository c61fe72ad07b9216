#include "core/commands/load_channel_definitions.h"

#include "core/channels/calibration_file.h"
#include "core/channels/channel_table.h"

namespace lcu {

bool LoadChannelDefinitions(CommandContext& ctx) {
  return LoadChannelDefinitions(ctx.app, ctx.store, StatusLcuNumber(ctx.device), ctx.prompter);
}

}  // namespace lcu
