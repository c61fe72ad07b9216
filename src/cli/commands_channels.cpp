// The channel model on the command line: the channels the hardware level offers, raw
// readings converted to engineering values, and zeroing.
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/channel_arguments.h"
#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "cli/core_command.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "cli/monitor_table.h"
#include "cli/terminal.h"
#include "core/app/command_guard.h"
#include "core/channels/calibration_file.h"
#include "core/channels/channel_conversion.h"
#include "core/commands/channel_zeroing.h"
#include "core/messages/messages.h"
#include "core/monitor/channel_exchange.h"
#include "core/monitor/conversion_explanation.h"

namespace lcu::cli {

namespace {

struct ConvertArguments {
  std::optional<std::uint16_t> lcu;
  std::string channel;
  std::vector<std::string> readings;
  bool explain = false;
  bool json = false;
  bool fallback = false;
};

struct ZeroArguments {
  std::vector<std::string> channels;
  std::string value;
  bool undo = false;
};

// The names are placed by the connected LCU's calibration, so the list needs the LCU. A
// failed load still lists the channels, with the names the load left; the exit status then
// says the list is not complete.
int RunChannels(CliContext& context, bool json) {
  CUsbDevice* device = context.GetOnlineDevice(OfflineForm::kPlain);
  if (!device) return kExitFailed;
  const bool loaded = context.LoadChannelModel(StatusLcuNumber(*device));
  const AppState& app = context.GetAppState();
  JsonWriter list;
  list.BeginArray();
  for (const std::int32_t channel : app.m_availableChannels) {
    if (channel == kNoChannel) break;
    const ChannelDefinition& definition = app.m_channelTable[static_cast<std::size_t>(channel)];
    if (json) {
      list.BeginObject()
          .Field("number", channel)
          .Field("name", definition.NameText())
          .Field("units", definition.UnitsText())
          .Field("decimals", definition.decimals)
          .EndObject();
    } else {
      std::cout << channel << '\t' << TerminalSafe(definition.NameText()) << '\t'
                << TerminalSafe(definition.UnitsText()) << '\t' << definition.decimals << '\n';
    }
  }
  if (json) std::cout << list.EndArray().Text();
  return loaded ? kExitOk : kExitFailed;
}

std::string_view PositionName(TablePosition position) {
  switch (position) {
    case TablePosition::kNotATable: return "none";
    case TablePosition::kFirstPoint: return "first";
    case TablePosition::kLastPoint: return "last";
    case TablePosition::kSegment: return "segment";
    case TablePosition::kNoSegment: return "no-segment";
  }
  return {};
}

// The explanation's numbers as fields; the calibration record only for calibrated channels,
// its table points only up to the last one used.
void WriteExplanation(JsonWriter& json, const ConversionExplanation& e) {
  json.Field("ruleChannel", e.ruleChannel).Field("rawLow16", e.raw).Field("rule", RuleName(e.rule));
  if (ChannelRuleOf(e.ruleChannel) == ChannelRule::kCalibrated) {
    const ChannelCalibration& cal = e.record;
    json.Key("calibration").BeginObject().Field("type", cal.type).Field("zeroOffset", cal.offset);
    json.Field("lastPoint", e.lastPoint);
    json.Key("x").BeginArray();
    for (std::size_t i = 0; i <= e.lastPoint; ++i) json.Value(cal.x[i]);
    json.EndArray().Key("y").BeginArray();
    for (std::size_t i = 0; i <= e.lastPoint; ++i) json.Value(cal.y[i]);
    json.EndArray().Field("a", cal.a).Field("b", cal.b).Field("c", cal.c).EndObject();
    json.Field("position", PositionName(e.position)).Field("segment", e.segment);
  }
  if (e.rule == ExplainedRule::kScaleFlag) json.Field("scaleFlag", e.scaleFlag);
  if (e.rule == ExplainedRule::kGainOffset) json.Field("gain", e.gainOffset.gain).Field("offset", e.gainOffset.offset);
  json.Key("steps").BeginArray();
  for (const ConversionStep& step : e.steps)
    json.BeginObject()
        .Field("name", step.name)
        .Field("expression", step.expression)
        .Field("result", step.result)
        .EndObject();
  json.EndArray().Field("decimals", e.decimals);
}

// With --lcu no LCU is needed: the calibration of that LCU's file places the definitions
// and converts the readings.
int RunConvert(CliContext& context, const ConvertArguments& arguments) {
  std::uint16_t lcuNumber = 0;
  if (arguments.lcu) {
    lcuNumber = *arguments.lcu;
    // A number given by hand that has no file of its own is more likely a slip than a wish
    // for slot 1's calibration.
    const CalibrationSource source = FindCalibration(context.GetStore(), lcuNumber);
    if (!source.IsOwn() && !arguments.fallback) {
      context.GetPrompter().Error(ForeignCalibrationText(context.GetStore(), source, msg::kGiveFallback, source.path));
      return kExitFailed;
    }
  } else {
    CUsbDevice* device = context.GetOnlineDevice(OfflineForm::kPlain);
    if (!device) return kExitFailed;
    lcuNumber = StatusLcuNumber(*device);
  }
  if (!context.LoadChannelModel(lcuNumber)) return kExitFailed;
  std::uint16_t channel = 0;
  ParseChannelNumber(arguments.channel, channel);
  const AppState& app = context.GetAppState();
  const int decimals = app.m_channelTable[channel].decimals;
  JsonWriter json;
  json.BeginArray();
  for (std::size_t i = 0; i < arguments.readings.size(); ++i) {
    std::uint32_t reading = 0;
    ParseRawReading(arguments.readings[i], reading);
    if (!arguments.explain && !arguments.json) {
      std::cout << ValueCellOf(app, channel, reading) << '\n';
      continue;
    }
    ConversionExplanation e = ExplainConversion(app.m_calibration, reading, channel, decimals);
    e.calibrationFile = app.m_szCalibrationFile;
    if (arguments.json) {
      json.BeginObject()
          .Field("channel", channel)
          .Field("reading", reading)
          .Field("value", e.value)
          .Field("shown", e.shown);
      if (arguments.explain && e.ReadsCalibration()) json.Field("calibrationFile", e.calibrationFile);
      if (arguments.explain) WriteExplanation(json, e);
      json.EndObject();
      continue;
    }
    if (i != 0) std::cout << '\n';
    for (const std::string& line : ExplanationLines(e)) std::cout << line << '\n';
  }
  if (arguments.json) std::cout << json.EndArray().Text();
  return kExitOk;
}

// As the monitor window zeroes its rows: the shift of each channel comes from the value text
// it shows, so the channels are read once and their Value cells formatted first. Zeroing a
// channel without calibration shifts nothing but still saves and sends, as the window does.
int RunZero(CliContext& context, const ZeroArguments& arguments) {
  if (arguments.undo) return RunCoreCommand(context, UndoZeroing);
  if (arguments.channels.empty() || arguments.value.empty()) {
    context.GetPrompter().Error(std::string(msg::kZeroNeedsChannelsAndValue) + '\n' + std::string(msg::kRunWithHelp));
    return kExitUsage;
  }
  const std::vector<std::uint16_t> channels = ChannelNumbersOf(arguments.channels);
  float typedValue = 0.0f;
  ParseTypedValue(arguments.value, typedValue);

  SilentCommandUi ui;
  std::optional<CommandContext> commandContext = context.MakeCommandContext(ui);
  if (!commandContext) return kExitFailed;
  if (RefusedOffline(*commandContext, OfflineForm::kPlain)) return kExitFailed;
  // Zeroing on a calibration that did not load would write that image over the file.
  if (!context.LoadChannelModel(StatusLcuNumber(commandContext->device))) return kExitFailed;

  std::vector<std::uint32_t> readings(channels.size());
  if (!ExchangeChannels(commandContext->device, channels, readings)) {
    ShowSystemError(commandContext->prompter, lcu::msg::kFailedToReadLcu, commandContext->device.LastErrorText());
    return kExitFailed;
  }
  std::vector<std::string> shown;
  shown.reserve(channels.size());
  for (std::size_t i = 0; i < channels.size(); ++i)
    shown.push_back(ValueCellOf(commandContext->app, channels[i], readings[i]));
  std::vector<ZeroingRow> rows;
  rows.reserve(channels.size());
  for (std::size_t i = 0; i < channels.size(); ++i) rows.push_back({channels[i], shown[i]});
  return ExitStatusOf(ZeroChannels(*commandContext, rows, typedValue));
}

}  // namespace

void AddChannelCommands(CommandRegistry& commands) {
  auto channelsJson = std::make_shared<bool>(false);
  CLI::App* channels = commands.AddCommand(
      "channels", "Print the channels the hardware level offers: number, name, units and decimals, tab-separated",
      [channelsJson](CliContext& context) { return RunChannels(context, *channelsJson); });
  AddJsonFlag(*channels, *channelsJson);

  auto convert = std::make_shared<ConvertArguments>();
  CLI::App* convertCommand =
      commands.AddCommand("convert", "Convert raw readings of a channel with the LCU's calibration; one value per line",
                          [convert](CliContext& context) { return RunConvert(context, *convert); });
  convertCommand
      ->add_option("--lcu", convert->lcu,
                   "Use the calibration file of LCU N (0 to 65535) instead of the connected LCU's")
      ->option_text("N")
      ->check(CLI::Range(0, 0xFFFF));
  convertCommand->add_flag("--fallback", convert->fallback,
                           "With --lcu, use the calibration of slot 1 when LCU N has no calibration file of its own");
  convertCommand->add_option("CHANNEL", convert->channel, "Channel number, 0 to 1023")
      ->required()
      ->check(ChannelNumberValidator());
  convertCommand->add_option("RAW", convert->readings, "32-bit readings, decimal or hex after 0x")
      ->required()
      ->check(RawReadingValidator());
  convertCommand->add_flag("--explain", convert->explain,
                           "Show how each value was made: the raw reading, the calibration and its numbers, the "
                           "zero offset and the rounding to the channel's decimals");
  AddJsonFlag(*convertCommand, convert->json);

  auto zero = std::make_shared<ZeroArguments>();
  CLI::App* zeroCommand = commands.AddCommand(
      "zero",
      "Zero channels to a value as the monitor window does: save the calibration (keeping its previous version) "
      "and send the configuration",
      [zero](CliContext& context) { return RunZero(context, *zero); });
  CLI::Option* channelsOption =
      zeroCommand->add_option("CHANNEL", zero->channels, "Channel numbers, 0 to 1023")->check(ChannelNumberValidator());
  CLI::Option* valueOption =
      zeroCommand->add_option("--value", zero->value, "The value the channels are to show, e.g. 0")
          ->option_text("V")
          ->check(TypedValueValidator());
  zeroCommand
      ->add_flag("--undo", zero->undo,
                 "Put back the calibration as it was before the last zeroing, then offer to send it")
      ->excludes(channelsOption)
      ->excludes(valueOption);
}

}  // namespace lcu::cli
