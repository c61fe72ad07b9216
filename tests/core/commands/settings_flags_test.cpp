// The settings flags: each sets its own flag, check mark and stored setting; nothing reaches
// the LCU. The menu items that switch them over are the menu's test.
#include <gtest/gtest.h>

#include <string>

#include "core/commands/settings_flags.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

using test::CommandFixture;

TEST(SettingsFlags, SetTheFlagTellTheWindowAndStoreTheSetting) {
  const struct {
    SettingFlagResult (*set)(CommandContext&, bool);
    std::int32_t AppState::*flag;
    AppFlag shown;
    const char* value;
  } cases[] = {
      {SetAutoDownload, &AppState::m_bAutoDownload, AppFlag::kAutoDownload, "Auto Download"},
      {SetProtectData, &AppState::m_bPreserveBuffer, AppFlag::kProtectData, "Preserve Buffer"},
      {SetPreserveQmt, &AppState::m_bPreserveQmt, AppFlag::kPreserveQmt, "Preserve QMT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    CommandFixture f;
    for (const bool on : {true, false}) {
      const SettingFlagResult result = c.set(f.ctx, on);
      EXPECT_EQ(result.result, CommandResult::kDone);
      EXPECT_EQ(result.on, on);
      EXPECT_EQ(f.app.*c.flag, on ? 1 : 0);
      EXPECT_EQ(f.ui.flagCalls.back(), std::make_pair(c.shown, on));
      EXPECT_EQ(f.store.ReadValue("Corvalent\\Settings", c.value), on ? "1" : "0");
    }
    EXPECT_EQ(f.ui.flagCalls.size(), 2u) << "no other flag changed";
    EXPECT_TRUE(f.backend.calls.empty());
  }
}

}  // namespace
}  // namespace lcu
