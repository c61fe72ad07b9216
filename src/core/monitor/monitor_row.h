// What a monitor window's row shows besides the channel table's name and units: the
// picture of the channel's group, and the texts of the ID, Value and Raw cells. The texts
// do not depend on the C library's locale, so the Value cell always has a decimal point.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lcu {

/// Index in the application's image list of the picture of a channel's group.
int GetChannelImage(int channel);

/// The ID cell: the channel number with at least three digits, zero-filled ("%3.3hu").
std::string FormatIdCell(std::uint16_t channel);

/// The Value cell of a value that is not a number: the fill that a number too wide for its
/// cell shows, which no one takes for a value ("nan" and "-nan" are easily misread).
inline constexpr std::string_view kNotANumberCell = "#";

/// Most decimals a Value cell shows: a float holds no more, and a channel definition's
/// count (up to 32767) would otherwise give a cell thousands of digits wide.
inline constexpr int kMostDecimals = 9;

/// The Value cell: the value with a number of decimals ("%.*f"), at most kMostDecimals; a
/// negative number of decimals gives six. A value that is not a number gives
/// kNotANumberCell; one that rounds to zero shows no minus sign ("-0.00" is zero).
std::string FormatValueCell(double value, int decimals);

/// The Raw cell: the low 16 bits of the reading as an unsigned number ("%hu").
std::string FormatRawCell(std::uint32_t reading);

}  // namespace lcu
