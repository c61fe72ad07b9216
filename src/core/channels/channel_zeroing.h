// Zeroing: makes calibrated channels read a value the user typed, such as 0, by shifting
// each channel's zero offset by the difference between that value and the value its
// monitor row shows, then saves the calibration file and sends the configuration to the
// LCU. This is the part after the user has chosen the rows and entered the value; the
// windows check that the LCU is on line before they ask.
#pragma once

#include <span>
#include <string_view>

#include "core/app/app_state.h"
#include "core/app/command_context.h"

namespace lcu {

/// One row to zero: its channel number and the text of its Value cell as shown.
struct ZeroingRow {
  int channel = 0;
  std::string_view shownValue;
};

/// Longest Value cell text that zeroing reads.
inline constexpr std::size_t kShownValueLimit = 79;

/// The shown value as a "%f" scan reads it from the start of the cell text (at most 79
/// characters): leading white space skipped, a single-precision result, 0.0 when the text
/// starts with nothing a number can be read from (an empty cell). Independent of the C
/// library's locale, like the cell texts.
float ParseShownValue(std::string_view text);

/// Shifts a row's zero offset by f(typed - shown) so that it shows the typed value within
/// the display's rounding. Rows of channels above 63 are left alone (returns 0).
int ZeroRow(CalibrationImage& image, const ZeroingRow& row, float typedValue);

/// Zeroes the rows in order in app.m_calibration, saves it as the calibration file of the
/// LCU of the last status block, writes "ChannelData"/"ZeroFlag" = "TRUE" and runs Send
/// Config, whose result it returns. Runs also for no rows. A failed save is reported,
/// restores the offsets as they were and sends nothing.
CommandResult ZeroChannels(CommandContext& ctx, std::span<const ZeroingRow> rows, float typedValue);

}  // namespace lcu
