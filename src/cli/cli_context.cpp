#include "cli/cli_context.h"

#include <utility>

#include "cli/cli11.h"
#include "cli/cli_messages.h"
#include "cli/exit_code.h"
#include "core/channels/available_channels.h"
#include "core/channels/channel_table.h"
#include "program/host_settings.h"
#include "program/program_assembly.h"

namespace lcu::cli {

void AddGlobalOptions(CLI::App& app, GlobalOptions& options) {
  CLI::Option* simulate =
      app.add_flag("--simulate", options.program.simulate, "Use a fresh simulated LCU held in memory");
  app.add_option("--sim-state", options.program.simState,
                 "Use a simulated LCU whose state is kept in DIR (created if missing)")
      ->option_text("DIR")
      ->excludes(simulate);
  app.add_flag("--yes", options.yes, "Answer Yes to every question");
  app.add_option("--record", options.program.record, "Write every transfer with the LCU to FILE, one line each")
      ->option_text("FILE");
  app.add_option("--replay", options.program.replay,
                 "Play back a transcript written with --record instead of using an LCU; the first "
                 "transfer that differs from it fails")
      ->option_text("FILE")
      ->excludes(simulate)
      ->excludes("--sim-state");
  const CLI::Validator device(
      [](std::string& text) {
        return ParseDeviceSelector(text) ? std::string() : "'" + text + "'" + std::string(msg::kNotADevice);
      },
      "DEVICE");
  app.add_option_function<std::string>(
         "--device", [&options](const std::string& text) { options.program.device = ParseDeviceSelector(text); },
         "Use the LCU at BUS:PORT (as lcu list shows it, e.g. 1:4 or 1:4.2), or LCU number N of lcu list (from "
         "0), when several are attached")
      ->option_text("DEVICE")
      ->check(device)
      ->excludes(simulate)
      ->excludes("--sim-state")
      ->excludes("--replay");
  app.add_flag("-v,--verbose", options.program.verbose,
               "Print every transfer with the LCU on stderr as it happens (one line each, as --record writes "
               "them) and the USB layer's warnings");
}

CliContext::CliContext(GlobalOptions options)
    : m_options(std::move(options)), m_prompter(ConsolePrompter::ForTerminal(m_options.yes)) {}

CliContext::~CliContext() = default;

ConsolePrompter& CliContext::GetPrompter() { return *m_prompter; }

SettingsStore& CliContext::GetStore() {
  if (!m_store) {
    program::HostSettings settings = program::OpenHostSettings();
    m_store = std::move(settings.store);
    m_storeLocation = std::move(settings.location);
  }
  return *m_store;
}

std::string CliContext::StoreLocation() {
  GetStore();
  return m_storeLocation;
}

CUsbDevice* CliContext::GetDevice() {
  if (!m_bBackendTried) {
    m_bBackendTried = true;
    program::ProgramOptions options = m_options.program;
    options.faults = program::FaultsFromEnvironment();
    program::ProgramBackend opened = program::OpenProgramBackend(options, GetStore());
    if (!opened.backend) {
      m_backendProblem = opened.problem;
      m_prompter->Error(opened.problem);
      return nullptr;
    }
    m_backend = std::move(opened.backend);
    m_replay = opened.replay;
    m_usb = opened.usb;
    m_device = std::make_unique<CUsbDevice>(*m_backend);
    m_link = std::make_unique<LinkOwner>(*m_device);
  }
  return m_device.get();
}

CUsbDevice* CliContext::GetOnlineDevice(OfflineForm form) {
  CUsbDevice* device = GetPolledDevice();
  if (!device) return nullptr;
  if (!device->IsOnline()) {
    m_prompter->Error(OfflineMessage(form));
    return nullptr;
  }
  return device;
}

CUsbDevice* CliContext::GetPolledDevice() {
  CUsbDevice* device = GetDevice();
  if (device) device->PollStatus();
  // A real LCU that is missing, or attached but cannot be opened (no permission, held by
  // another program), is otherwise just off line: say once what stands in the way.
  if (device && !device->IsOnline() && m_usb && !m_bUsbProblemShown) {
    m_bUsbProblemShown = true;
    const std::string problem = m_usb->ErrorText(m_usb->LastError());
    if (!problem.empty()) m_prompter->Error(problem);
  }
  return device;
}

std::string CliContext::OfflineReason() const { return m_device ? m_device->OfflineReason() : m_backendProblem; }

AppState& CliContext::GetAppState() {
  if (!m_app) {
    m_app = std::make_unique<AppState>();
    program::ReadSettingsFlags(GetStore(), *m_app);
  }
  return *m_app;
}

std::optional<CommandContext> CliContext::MakeCommandContext(CommandUi& ui, Prompter* prompter) {
  CUsbDevice* device = GetPolledDevice();
  if (!device) return std::nullopt;
  return CommandContext{*device, *m_link, GetStore(),    prompter ? *prompter : GetPrompter(),
                        m_clock, m_files, GetAppState(), ui};
}

bool CliContext::LoadChannelModel(std::uint16_t lcuNumber) {
  AppState& app = GetAppState();
  FillAvailableChannels(app, GetStore());
  return LoadChannelDefinitions(app, GetStore(), lcuNumber, GetPrompter());
}

int CliContext::Finish(int exitStatus) {
  m_device.reset();
  if (!m_replay) return exitStatus;
  const std::string deviation = m_replay->CheckFinished();
  if (deviation.empty()) return exitStatus;
  m_prompter->Error(deviation);
  return kExitFailed;
}

}  // namespace lcu::cli
