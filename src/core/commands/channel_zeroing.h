// Zeroing: makes calibrated channels read a value the user typed, such as 0, by shifting
// each channel's zero offset by the difference between that value and the value its
// monitor row shows, then saves the calibration file and sends the configuration to the
// LCU. This is the part after the user has chosen the rows and entered the value; the
// windows check that the LCU is on line before they ask.
#pragma once

#include <cstdint>
#include <span>
#include <string>
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

/// The question zeroing asks before anything is written: "Zero WATER TEMP, BATTERY and 3
/// more channels of LCU 1 to 0? ...". It names the calibrated channels (0 to 63) among the
/// rows, each once, by their names in the channel table ("channel 5" without one): all of
/// up to three, else the first two and how many more.
std::string ZeroingQuestion(const AppState& app, std::span<const ZeroingRow> rows, std::uint16_t lcuNumber,
                            float typedValue);

/// Zeroes the rows in order in app.m_calibration, saves it as the calibration file of the
/// LCU of the last status block, writes "ChannelData"/"ZeroFlag" = "TRUE" and runs Send
/// Config, whose result it returns. Runs also for no rows. It first asks, when the file is
/// another LCU's, whether to use it, then ZeroingQuestion; No changes nothing. The save keeps
/// the file's previous version as its backup. A failed save is reported, restores the
/// offsets as they were and sends nothing.
CommandResult ZeroChannels(CommandContext& ctx, std::span<const ZeroingRow> rows, float typedValue);

/// Whether the connected LCU's calibration file has an earlier version to put back.
bool CanUndoZeroing(const CommandContext& ctx);

/// Undo Zeroing: puts the newest backup of the connected LCU's calibration file back (asking
/// first when the file is another LCU's), loads it into app.m_calibration, and offers to send
/// it (kDeclined when the user does not). Refused off line and while a download runs.
CommandResult UndoZeroing(CommandContext& ctx);

}  // namespace lcu
