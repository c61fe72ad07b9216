#include "core/commands/settings_flags.h"

#include <cstdint>
#include <string_view>

#include "core/host/registry.h"

namespace lcu {

namespace {

SettingFlagResult SetSetting(CommandContext& ctx, std::int32_t& flag, AppFlag changed, std::string_view valueName,
                             bool on) {
  flag = on ? 1 : 0;
  ctx.ui.FlagChanged(changed, on);
  Profile(ctx.store).WriteProfileInt(reg::kSettings, valueName, flag);
  return {CommandResult::kDone, on};
}

}  // namespace

SettingFlagResult SetAutoDownload(CommandContext& ctx, bool on) {
  return SetSetting(ctx, ctx.app.m_bAutoDownload, AppFlag::kAutoDownload, reg::kAutoDownload, on);
}

SettingFlagResult SetProtectData(CommandContext& ctx, bool on) {
  return SetSetting(ctx, ctx.app.m_bPreserveBuffer, AppFlag::kProtectData, reg::kPreserveBuffer, on);
}

SettingFlagResult SetPreserveQmt(CommandContext& ctx, bool on) {
  return SetSetting(ctx, ctx.app.m_bPreserveQmt, AppFlag::kPreserveQmt, reg::kPreserveQmt, on);
}

}  // namespace lcu
