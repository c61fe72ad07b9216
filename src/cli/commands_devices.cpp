// list: every USB device with the LCU's product id, where it is, and whether the search takes
// it as the LCU or why not, so that a user can tell a missing LCU from one that cannot be
// opened and choose one of several with --device.
#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "program/program_assembly.h"
#include "usb/usb_errors.h"

namespace lcu::cli {

namespace {

using usb::LcuCandidate;
using usb::LcuVerdict;

// The verdicts as --json names them; scripts rely on these words.
std::string_view VerdictName(LcuVerdict verdict) {
  switch (verdict) {
    case LcuVerdict::kLcu: return "lcu";
    case LcuVerdict::kNoVendorInterface: return "noVendorInterface";
    case LcuVerdict::kMissingEndpoints: return "missingEndpoints";
    case LcuVerdict::kOtherVendor: return "otherVendor";
    case LcuVerdict::kUnreadable: return "unreadable";
    case LcuVerdict::kNotSelected: return "notSelected";
    case LcuVerdict::kPermissionDenied: return "permissionDenied";
    case LcuVerdict::kBusy: return "busy";
    case LcuVerdict::kCannotOpen: break;
  }
  return "cannotOpen";
}

std::string Hex4(std::uint16_t value) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "%04x", static_cast<unsigned>(value));
  return text.data();
}

// "1:4  1a2b:04ce  LCU 0", "LCU 1: <why it cannot be had>" or the reason a device is no LCU.
std::string ListLine(const LcuCandidate& candidate) {
  std::string line = DevicePlaceText(candidate.bus, candidate.ports) + '\t' + Hex4(candidate.vendorId) + ':' +
                     Hex4(candidate.productId) + '\t';
  if (candidate.index) {
    line += std::string(msg::kLcuLabel) + std::to_string(*candidate.index);
    if (!candidate.reason.empty()) line += ": ";
  }
  return line + candidate.reason;
}

std::string ListJson(const std::vector<LcuCandidate>& candidates) {
  JsonWriter json;
  json.BeginArray();
  for (const LcuCandidate& candidate : candidates) {
    json.BeginObject()
        .Field("device", DevicePlaceText(candidate.bus, candidate.ports))
        .Field("bus", candidate.bus)
        .Field("vendorId", candidate.vendorId)
        .Field("productId", candidate.productId);
    json.Key("index");
    if (candidate.index) {
      json.Value(*candidate.index);
    } else {
      json.Null();
    }
    json.Field("usable", candidate.verdict == LcuVerdict::kLcu)
        .Field("verdict", VerdictName(candidate.verdict))
        .Field("reason", candidate.reason)
        .EndObject();
  }
  return json.EndArray().Text();
}

int RunList(CliContext& context, bool json) {
  const program::ProgramOptions& options = context.Options().program;
  if (options.simulate || !options.simState.empty() || !options.replay.empty()) {
    context.GetPrompter().Error(msg::kListNeedsUsb);
    return kExitUsage;
  }
  std::string problem;
  const std::optional<std::vector<LcuCandidate>> candidates =
      program::ListUsbDevices(options, context.GetStore(), problem);
  if (!candidates) {
    context.GetPrompter().Error(problem);
    return kExitFailed;
  }
  if (json) {
    std::cout << ListJson(*candidates);
    return kExitOk;
  }
  for (const LcuCandidate& candidate : *candidates) std::cout << ListLine(candidate) << '\n';
  if (candidates->empty()) context.GetPrompter().Error(usb::text::kNoLcu);
  return kExitOk;
}

}  // namespace

void AddDeviceCommands(CommandRegistry& commands) {
  auto json = std::make_shared<bool>(false);
  CLI::App* list = commands.AddCommand(
      "list",
      "List every USB device with the LCU's product id: its BUS:PORT, vendor:product id, and LCU N when it is "
      "taken as the LCU (for --device N) or why it is not",
      [json](CliContext& context) { return RunList(context, *json); });
  AddJsonFlag(*list, *json);
}

}  // namespace lcu::cli
