// ChannelModel: what the programs know of the connected LCU's channels: the channel table read
// from the channel definition file (with the file's header, as read, and a count of loads),
// the channels the hardware level offers, and the calibration image readings are converted
// with, together with the file it was loaded from.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/channels/channel_definition.h"
#include "core/logger/logger_header.h"

namespace lcu {

/// The calibration image: a logger header held in memory and stored as the LCU's
/// calibration file.
using CalibrationImage = LoggerHeader;

/// Channel numbers 0 to 1023 have an entry in the channel table.
inline constexpr std::size_t kChannelTableSize = 1024;
/// Marks a free entry at the end of the available-channel table.
inline constexpr std::int32_t kNoChannel = -1;

struct ChannelModel {
  CalibrationImage m_calibration;
  std::string m_szCalibrationFile;                                    // the file m_calibration was last loaded from
  std::array<ChannelDefinition, kChannelTableSize> m_channelTable{};  // by channel number
  std::array<std::uint8_t, kChannelDefinitionFileHeaderSize> m_dscHeader{};  // as read, not interpreted
  std::uint32_t m_nDefinitionGeneration = 0;  // counts successful channel definition loads
  // Channel numbers the hardware level offers, in order; kNoChannel after the last.
  std::array<std::int32_t, kChannelTableSize> m_availableChannels = [] {
    std::array<std::int32_t, kChannelTableSize> none{};
    none.fill(kNoChannel);
    return none;
  }();
};

}  // namespace lcu
