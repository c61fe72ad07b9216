// The available-channel table: the channel numbers that the hardware level of the family's
// settings ("Config\Hardware"/"Level") offers for selection, filled once at start-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/channels/channel_model.h"
#include "core/host/settings_store.h"

namespace lcu {

/// Fills the table from entry 0 with the channel numbers of a hardware level (1 to 5), in
/// ascending order, and marks every entry after them kNoChannel. Any other level leaves the
/// whole table kNoChannel. Returns the number of channels.
std::size_t FillAvailableChannels(std::span<std::int32_t, kChannelTableSize> table, std::int32_t level);

/// Fills app.m_availableChannels for the level the settings name (default 2; text that is
/// no number counts as level 0, which offers nothing).
std::size_t FillAvailableChannels(ChannelModel& app, const SettingsStore& store);

}  // namespace lcu
