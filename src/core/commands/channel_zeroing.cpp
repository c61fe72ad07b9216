#include "core/commands/channel_zeroing.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <system_error>
#include <vector>

#include "core/app/command_guard.h"
#include "core/channels/calibration_backup.h"
#include "core/channels/calibration_file.h"
#include "core/channels/channel_calibration.h"
#include "core/channels/channel_conversion.h"
#include "core/commands/send_config.h"
#include "core/host/registry.h"
#include "core/messages/message_text.h"
#include "core/messages/messages.h"
#include "core/monitor/conversion_explanation.h"

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

std::string ZeroingQuestion(const AppState& app, std::span<const ZeroingRow> rows, std::uint16_t lcuNumber,
                            float typedValue) {
  std::vector<int> channels;
  for (const ZeroingRow& row : rows)
    if (row.channel >= 0 && row.channel < kCalibratedChannels &&
        std::find(channels.begin(), channels.end(), row.channel) == channels.end())
      channels.push_back(row.channel);
  const auto name = [&app](int channel) {
    const std::string text = app.m_channelTable[static_cast<std::size_t>(channel)].NameText();
    return text.empty() ? std::string(msg::kChannelNumbered) + std::to_string(channel) : text;
  };
  // Up to three are named; of more, the first two and how many others.
  constexpr std::size_t kNamed = 3;
  const std::size_t named = channels.size() <= kNamed ? channels.size() : kNamed - 1;
  std::string list;
  for (std::size_t i = 0; i < named; ++i) {
    if (i != 0) list += i + 1 == channels.size() ? msg::kListAnd : msg::kListComma;
    list += name(channels[i]);
  }
  if (channels.empty()) list = msg::kNoCalibratedChannel;
  if (named < channels.size())
    list += std::string(msg::kListAnd) + std::to_string(channels.size() - named) + std::string(msg::kMoreChannels);
  return WithText(WithNumber(WithText(msg::kZeroChannelsQuestion, list), lcuNumber), ExactNumber(typedValue));
}

CommandResult ZeroChannels(CommandContext& ctx, std::span<const ZeroingRow> rows, float typedValue) {
  // Refused before the calibration file changes: the configuration could not follow it.
  const CommandLease run = BeginCommand(ctx);
  if (!run) return CommandResult::kFailed;
  const std::uint16_t lcuNumber = StatusLcuNumber(ctx.device);
  if (!ConfirmCalibrationSource(ctx.store, FindCalibration(ctx.store, lcuNumber), ctx.prompter) ||
      !ctx.prompter.AskQuestion(ZeroingQuestion(ctx.app, rows, lcuNumber, typedValue)))
    return CommandResult::kDeclined;
  const CalibrationImage before = ctx.app.m_calibration;
  for (const ZeroingRow& row : rows) ZeroRow(ctx.app.m_calibration, row, typedValue);
  if (!SaveCalibration(ctx.files, ctx.store, lcuNumber, ctx.app.m_calibration, ctx.prompter)) {
    ctx.app.m_calibration = before;
    return CommandResult::kFailed;
  }
  Profile(ctx.store).WriteProfileString(reg::kChannelData, reg::kZeroFlag, reg::kTrue);
  return SendConfig(ctx, CalibrationConsent::kGiven).result;
}

bool CanUndoZeroing(const CommandContext& ctx) {
  return HasCalibrationBackup(GetCalibrationPath(ctx.store, StatusLcuNumber(ctx.device)));
}

CommandResult UndoZeroing(CommandContext& ctx) {
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kPlain);
  if (!run) return CommandResult::kFailed;
  const std::uint16_t lcuNumber = StatusLcuNumber(ctx.device);
  const CalibrationSource source = FindCalibration(ctx.store, lcuNumber);
  const std::string backup = CalibrationBackupPath(source.path, 1);
  // The backup must load as a calibration before it replaces one.
  CalibrationImage earlier;
  if (const std::optional<std::string> unreadable = ReadCalibrationFile(backup, earlier)) {
    ShowFileError(ctx.prompter,
                  HasCalibrationBackup(source.path) ? msg::kFailedToRestoreCalibration : msg::kNoZeroingToUndo, backup,
                  *unreadable);
    return CommandResult::kFailed;
  }
  if (!ConfirmCalibrationSource(ctx.store, source, ctx.prompter)) return CommandResult::kDeclined;
  if (const std::optional<BackupFailure> failure = RestoreCalibrationBackup(ctx.files, source.path)) {
    ShowFileError(ctx.prompter, msg::kFailedToRestoreCalibration, failure->path, failure->reason);
    return CommandResult::kFailed;
  }
  ctx.app.m_calibration = earlier;
  ctx.app.m_szCalibrationFile = source.path;
  if (!ctx.prompter.AskQuestion(WithNumber(msg::kSendRestoredCalibration, lcuNumber))) return CommandResult::kDeclined;
  return SendConfig(ctx, CalibrationConsent::kGiven).result;
}

}  // namespace lcu
