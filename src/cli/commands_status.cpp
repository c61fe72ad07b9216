// status: one poll of the LCU, shown as the main window's status bar shows it.
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "core/logger/lcu_status_block.h"

namespace lcu::cli {

namespace {

// Off line, the reason takes the place of the figures; the exit status stays 1.
std::string StatusJson(const CUsbDevice* device, const CliContext& context) {
  JsonWriter json;
  json.BeginObject().Field("online", device && device->IsOnline());
  if (device && device->IsOnline()) {
    const LcuStatusBlock status(device->m_status);
    std::uint16_t hours = 0;
    std::uint16_t minutes = 0;
    device->GetClock(hours, minutes);
    json.Field("lcuNumber", status.LcuNumber())
        .Field("memory", status.ShownMemoryFigure())
        .Field("clockHours", hours)
        .Field("clockMinutes", minutes);
  } else {
    json.Field("reason", context.OfflineReason());
  }
  return json.EndObject().Text();
}

int RunStatus(CliContext& context, bool json) {
  CUsbDevice* device = context.GetPolledDevice();
  const bool online = device && device->IsOnline();
  if (json) {
    std::cout << StatusJson(device, context);
    return online ? kExitOk : kExitFailed;
  }
  if (!device) return kExitFailed;
  if (!online) {
    std::cout << OfflinePaneTexts().link << '\n';
    return kExitFailed;
  }
  const StatusPaneTexts panes = OnlinePaneTexts(LcuStatusBlock(device->m_status));
  std::cout << panes.link << '\n' << panes.lcu << '\n' << panes.memory << '\n' << panes.clock << '\n';
  return kExitOk;
}

}  // namespace

void AddStatusCommands(CommandRegistry& commands) {
  auto json = std::make_shared<bool>(false);
  CLI::App* status = commands.AddCommand("status", "Poll the LCU once and print the status-bar texts",
                                         [json](CliContext& context) { return RunStatus(context, *json); });
  AddJsonFlag(*status, *json);
}

}  // namespace lcu::cli
