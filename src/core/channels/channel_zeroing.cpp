#include "core/channels/channel_zeroing.h"

#include <charconv>
#include <system_error>

#include "core/app/command_guard.h"
#include "core/channels/calibration_file.h"
#include "core/channels/channel_conversion.h"
#include "core/host/registry.h"
#include "core/logger/configuration_upload.h"

namespace lcu {

namespace {
bool IsScanSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
}  // namespace

float ParseShownValue(std::string_view text) {
  text = text.substr(0, kShownValueLimit);
  std::size_t at = 0;
  while (at < text.size() && IsScanSpace(text[at])) ++at;
  // A scan takes a plus sign, which the standard parser does not.
  if (at < text.size() && text[at] == '+') {
    ++at;
    if (at < text.size() && text[at] == '-') return 0.0f;
  }
  const char* first = text.data() + at;
  const char* last = text.data() + text.size();
  float value = 0.0f;
  const auto parsed = std::from_chars(first, last, value, std::chars_format::general);
  if (parsed.ec == std::errc::result_out_of_range) {
    // Beyond the float range the scan gives an infinity, below it a zero of the sign.
    double wide = 0.0;
    if (std::from_chars(first, last, wide, std::chars_format::general).ec != std::errc{}) return 0.0f;
    return RoundToSingle(wide);
  }
  return parsed.ec == std::errc{} ? value : 0.0f;
}

int ZeroRow(CalibrationImage& image, const ZeroingRow& row, float typedValue) {
  const float shown = ParseShownValue(row.shownValue);
  const float delta = RoundToSingle(static_cast<double>(typedValue) - static_cast<double>(shown));
  return AdjustZeroOffset(image, row.channel, delta);
}

CommandResult ZeroChannels(CommandContext& ctx, std::span<const ZeroingRow> rows, float typedValue) {
  // Refused before the calibration file changes: the configuration could not follow it.
  if (RefusedDuringDownload(ctx)) return CommandResult::kFailed;
  const CalibrationImage before = ctx.app.m_calibration;
  for (const ZeroingRow& row : rows) ZeroRow(ctx.app.m_calibration, row, typedValue);
  if (!SaveCalibration(ctx.files, ctx.store, StatusLcuNumber(ctx.device), ctx.app.m_calibration, ctx.prompter)) {
    ctx.app.m_calibration = before;
    return CommandResult::kFailed;
  }
  Profile(ctx.store).WriteProfileString(reg::kChannelData, reg::kZeroFlag, reg::kTrue);
  return OnSendConfig(ctx);
}

}  // namespace lcu
