// The available-channel table of each hardware level.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "core/app/app_state.h"
#include "core/channels/available_channels.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"

namespace lcu {
namespace {

TEST(AvailableChannelsTest, EachLevelOffersItsRanges) {
  struct Case {
    std::optional<std::string> level;  // nullopt: no "Level" value at all
    std::size_t count;
    std::vector<std::int32_t> offered;
    std::vector<std::int32_t> notOffered;
  };
  const Case cases[] = {
      {"1", 95, {0, 12, 64, 82, 93, 107, 128, 175}, {13, 63, 83, 92, 108, 127, 176}},
      {std::nullopt, 132, {0, 33, 64, 82, 93, 107, 112, 175}, {34, 83, 92, 108, 111, 176}},
      {" +2", 132, {33, 112}, {34}},
      {"3", 319, {0, 50, 64, 279, 288, 339}, {51, 63, 280, 287, 340}},
      {"4", 332, {0, 279, 288, 339}, {280, 287, 340}},
      {"5abc", 110, {0, 17, 50, 59, 64, 82, 93, 107, 128, 175}, {18, 49, 60, 63, 83, 108, 127, 176}},
      {"0", 0, {}, {0}},
      {"6", 0, {}, {0}},
      {"two", 0, {}, {0}},
  };
  for (const Case& c : cases) {
    MemorySettingsStore store;
    if (c.level) store.WriteString(reg::kHardware, reg::kLevel, *c.level);
    AppState app;
    app.m_availableChannels.fill(7);
    EXPECT_EQ(FillAvailableChannels(app, store), c.count) << c.level.value_or("missing");
    const auto begin = app.m_availableChannels.begin();
    const auto used = begin + static_cast<std::ptrdiff_t>(c.count);
    EXPECT_EQ(std::adjacent_find(begin, used, std::greater_equal<>()), used);  // strictly ascending
    EXPECT_TRUE(std::all_of(used, app.m_availableChannels.end(), [](std::int32_t n) { return n == kNoChannel; }));
    for (const std::int32_t n : c.offered) EXPECT_NE(std::find(begin, used, n), used) << n;
    for (const std::int32_t n : c.notOffered) EXPECT_EQ(std::find(begin, used, n), used) << n;
  }
}

}  // namespace
}  // namespace lcu
