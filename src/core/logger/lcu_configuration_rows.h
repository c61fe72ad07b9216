// The rows of the LCU Configuration dialog: their number, labels and positions, and the texts
// they show. The data file's summary names the LCU with the Serial row's label.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace lcu {

inline constexpr std::size_t kLcuConfigurationRows = 8;

/// Row labels in display order: Config ID, Version, Checksum, Firmware, Serial #, LCU Clock,
/// Memory, STBC.
inline constexpr std::array<std::string_view, kLcuConfigurationRows> kLcuConfigurationLabels = {
    "Config ID :", "Version :", "Checksum :", "Firmware :", "Serial # :", "LCU Clock :", "Memory :", "STBC :"};

/// Row positions, in the order of the labels.
enum LcuConfigurationRow : std::size_t {
  kConfigIdRow,
  kVersionRow,
  kChecksumRow,
  kFirmwareRow,
  kSerialRow,
  kClockRow,
  kMemoryRow,
  kStbcRow,
};

using LcuConfigurationTexts = std::array<std::string, kLcuConfigurationRows>;

}  // namespace lcu
