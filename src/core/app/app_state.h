// The fields of the application object that the LCU commands share: the current download's
// file, the settings flags, and the calibration image of the connected LCU. Who holds the
// link and whether a download runs is the LinkOwner's.
// The channel model keeps here the channel table with its file header and load count, and
// the channels the hardware level offers.
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

struct AppState {
  std::string m_szDownloadFile;  // path of the current download's data file
  std::int32_t m_bAutoDownload = 0;
  std::int32_t m_bPreserveBuffer = 0;  // Protect Data
  std::int32_t m_bLoggerStarted = 0;
  std::int32_t m_bPreserveQmt = 0;
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
