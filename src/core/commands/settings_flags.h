// The three settings that change how the download and the upload behave: Auto Download,
// Protect Data (the LCU is not emptied after a download) and Preserve QMT (Send Config keeps
// the LCU's QMT data). Each sets its flag, tells the window (its check mark) and stores the
// flag as 1 or 0 in the profile section "Settings". None talks to the LCU.
#pragma once

#include "core/app/command_context.h"

namespace lcu {

struct SettingFlagResult {
  CommandResult result = CommandResult::kDone;
  /// The setting as it now stands.
  bool on = false;
};

SettingFlagResult SetAutoDownload(CommandContext& ctx, bool on);
SettingFlagResult SetProtectData(CommandContext& ctx, bool on);
SettingFlagResult SetPreserveQmt(CommandContext& ctx, bool on);

}  // namespace lcu
