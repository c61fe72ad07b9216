// Load Channel Definitions for the connected LCU: its calibration, then the setup folder's
// channel definition file (see channel_table.h), for the LCU number of the last status block.
// The connection actions run it; it sends nothing.
#pragma once

#include "core/app/command_context.h"

namespace lcu {

/// False when the calibration or the file could not be loaded; every failure has been shown.
bool LoadChannelDefinitions(CommandContext& ctx);

}  // namespace lcu
