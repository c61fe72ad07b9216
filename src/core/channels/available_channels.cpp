#include "core/channels/available_channels.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "core/host/registry.h"
#include "core/util/decimal_text.h"

namespace lcu {

namespace {

struct ChannelRange {
  std::int32_t first;
  std::int32_t last;
};

// Channel ranges of the hardware levels 1 to 5, in the order they fill the table.
constexpr ChannelRange kLevel1[] = {{0, 12}, {64, 82}, {93, 107}, {128, 175}};
constexpr ChannelRange kLevel2[] = {{0, 33}, {64, 82}, {93, 107}, {112, 175}};
constexpr ChannelRange kLevel3[] = {{0, 50}, {64, 279}, {288, 339}};
constexpr ChannelRange kLevel4[] = {{0, 279}, {288, 339}};
constexpr ChannelRange kLevel5[] = {{0, 17}, {50, 59}, {64, 82}, {93, 107}, {128, 175}};
constexpr std::span<const ChannelRange> kLevels[] = {kLevel1, kLevel2, kLevel3, kLevel4, kLevel5};

std::span<const ChannelRange> RangesOfLevel(std::int32_t level) {
  if (level < 1 || level > static_cast<std::int32_t>(std::size(kLevels))) return {};
  return kLevels[level - 1];
}

}  // namespace

std::size_t FillAvailableChannels(std::span<std::int32_t, kChannelTableSize> table, std::int32_t level) {
  std::fill(table.begin(), table.end(), kNoChannel);
  std::size_t count = 0;
  for (const ChannelRange& range : RangesOfLevel(level)) {
    for (std::int32_t channel = range.first; channel <= range.last; ++channel) table[count++] = channel;
  }
  return count;
}

std::size_t FillAvailableChannels(ChannelModel& app, const SettingsStore& store) {
  const std::string level = RegReadString(store, "", reg::kHardware, reg::kLevel, reg::kDefaultLevel);
  return FillAvailableChannels(app.m_availableChannels, ParseDecimalInt(level));
}

}  // namespace lcu
