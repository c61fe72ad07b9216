// What a monitor window's row shows besides the channel table's name and units: the
// picture of the channel's group, and the texts of the ID, Value and Raw cells. The texts
// do not depend on the C library's locale, so the Value cell always has a decimal point.
#pragma once

#include <cstdint>
#include <string>

namespace lcu {

/// Index in the application's image list of the picture of a channel's group.
int GetChannelImage(int channel);

/// The ID cell: the channel number with at least three digits, zero-filled ("%3.3hu").
std::string FormatIdCell(std::uint16_t channel);

/// The Value cell: the value with a number of decimals ("%.*f"); a negative number of
/// decimals gives six.
std::string FormatValueCell(double value, int decimals);

/// The Raw cell: the low 16 bits of the reading as an unsigned number ("%hu").
std::string FormatRawCell(std::uint32_t reading);

}  // namespace lcu
