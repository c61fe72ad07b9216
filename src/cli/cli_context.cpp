#include "cli/cli_context.h"

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>
#include <utility>

#include "cli/cli11.h"
#include "cli/cli_messages.h"
#include "cli/exit_code.h"
#include "cli/host_settings.h"
#include "core/channels/available_channels.h"
#include "core/channels/channel_table.h"
#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/link/recording_backend.h"
#include "core/util/strict_number.h"
#include "sim/lcu_simulator.h"
#include "usb/host_usb_backend.h"
#include "usb/usb_errors.h"

namespace lcu::cli {

namespace {

// The simulator's fault injection for scripts and end-to-end tests: LCU_SIM_FAULTS holds
// "fail:K", "short:K", "unplug:K" or "log:K", the K-th transfer of the run (from 1, the first
// poll included) failing, coming up one byte short, finding the LCU unplugged, or finding
// that the LCU has just started logging by itself. Anything else injects nothing.
sim::FaultPlan FaultPlanFromEnvironment() {
  sim::FaultPlan plan;
  const char* value = std::getenv("LCU_SIM_FAULTS");
  if (!value) return plan;
  const std::string_view text(value);
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return plan;
  const StrictNumber number =
      ParseStrictNumber(text.substr(colon + 1), {NumberBase::kDecimal}, 1, std::numeric_limits<int>::max());
  if (!number) return plan;
  const int transfer = static_cast<int>(number.value);
  const std::string_view kind = text.substr(0, colon);
  if (kind == "fail") plan.failTransfer = transfer;
  if (kind == "short") plan.shortTransfer = transfer;
  if (kind == "unplug") plan.unplugAtTransfer = transfer;
  if (kind == "log") plan.startLoggingAtTransfer = transfer;
  return plan;
}

}  // namespace

void AddGlobalOptions(CLI::App& app, GlobalOptions& options) {
  CLI::Option* simulate = app.add_flag("--simulate", options.simulate, "Use a fresh simulated LCU held in memory");
  app.add_option("--sim-state", options.simState,
                 "Use a simulated LCU whose state is kept in DIR (created if missing)")
      ->option_text("DIR")
      ->excludes(simulate);
  app.add_flag("--yes", options.yes, "Answer Yes to every question");
  app.add_option("--record", options.record, "Write every transfer with the LCU to FILE, one line each")
      ->option_text("FILE");
  app.add_option("--replay", options.replay,
                 "Play back a transcript written with --record instead of using an LCU; the first "
                 "transfer that differs from it fails")
      ->option_text("FILE")
      ->excludes(simulate)
      ->excludes("--sim-state");
}

CliContext::CliContext(GlobalOptions options)
    : m_options(std::move(options)), m_prompter(ConsolePrompter::ForTerminal(m_options.yes)) {}

CliContext::~CliContext() = default;

ConsolePrompter& CliContext::GetPrompter() { return *m_prompter; }

SettingsStore& CliContext::GetStore() {
  if (!m_store) {
    HostSettings settings = OpenHostSettings();
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
    m_backend = OpenBackend();
    if (m_backend) m_device = std::make_unique<CUsbDevice>(*m_backend);
  }
  return m_device.get();
}

CUsbDevice* CliContext::GetOnlineDevice(OfflineForm form) {
  CUsbDevice* device = GetPolledDevice();
  if (!device) return nullptr;
  if (!device->m_bOnline) {
    m_prompter->Error(OfflineMessage(form));
    return nullptr;
  }
  return device;
}

CUsbDevice* CliContext::GetPolledDevice() {
  CUsbDevice* device = GetDevice();
  if (device) device->PollStatus();
  // An LCU that is attached but cannot be opened (no permission, held by another program) is
  // otherwise just off line: say once what stands in the way.
  if (device && !device->m_bOnline && m_usb && m_usb->LastError() != usb::kErrorNoLcu && !m_bUsbProblemShown) {
    m_bUsbProblemShown = true;
    m_prompter->Error(m_usb->ErrorText(m_usb->LastError()));
  }
  return device;
}

AppState& CliContext::GetAppState() {
  if (!m_app) {
    m_app = std::make_unique<AppState>();
    const Profile profile(GetStore());
    m_app->m_bAutoDownload = profile.GetProfileInt(reg::kSettings, reg::kAutoDownload, 0);
    m_app->m_bPreserveBuffer = profile.GetProfileInt(reg::kSettings, reg::kPreserveBuffer, 0);
    m_app->m_bPreserveQmt = profile.GetProfileInt(reg::kSettings, reg::kPreserveQmt, 0);
  }
  return *m_app;
}

std::optional<CommandContext> CliContext::MakeCommandContext(CommandUi& ui, Prompter* prompter) {
  CUsbDevice* device = GetPolledDevice();
  if (!device) return std::nullopt;
  return CommandContext{*device, GetStore(), prompter ? *prompter : GetPrompter(), m_clock, m_files, GetAppState(),
                        ui};
}

bool CliContext::LoadChannelModel(std::uint16_t lcuNumber) {
  AppState& app = GetAppState();
  FillAvailableChannels(app, GetStore());
  return LoadChannelDefinitions(app, GetStore(), lcuNumber, GetPrompter());
}

std::unique_ptr<UsbBackend> CliContext::OpenBackend() {
  std::unique_ptr<UsbBackend> backend;
  if (!m_options.replay.empty()) {
    backend = OpenReplay();
  } else if (m_options.simulate || !m_options.simState.empty()) {
    backend = OpenSimulator();
  } else {
    backend = OpenUsb();
  }
  if (!backend || m_options.record.empty()) return backend;
  std::string problem;
  auto recorder = RecordingBackend::ToFile(std::move(backend), Utf8Path(m_options.record), problem);
  if (!recorder) m_prompter->Error(std::string(lcu::msg::kCannotCreateTranscript) + problem);
  return recorder;
}

std::unique_ptr<UsbBackend> CliContext::OpenSimulator() {
  sim::SimulatorOptions simOptions;
  if (!m_options.simState.empty()) {
    simOptions.stateDir = Utf8Path(m_options.simState);
    std::error_code error;
    std::filesystem::create_directories(simOptions.stateDir, error);
    if (error) {
      m_prompter->Error(std::string(msg::kCannotCreateStateFolder) + m_options.simState + ": " + error.message());
      return nullptr;
    }
  }
  auto simulator = std::make_unique<sim::LcuSimulator>(simOptions);
  if (!simulator->Ok()) {
    m_prompter->Error(simulator->Error());
    return nullptr;
  }
  simulator->SetFaults(FaultPlanFromEnvironment());
  return simulator;
}

std::unique_ptr<UsbBackend> CliContext::OpenUsb() {
  std::string problem;
  auto backend = usb::OpenHostUsbBackend(GetStore(), problem);
  if (!backend) {
    m_prompter->Error(problem);
    return nullptr;
  }
  m_usb = backend.get();
  return backend;
}

std::unique_ptr<UsbBackend> CliContext::OpenReplay() {
  std::string problem;
  auto replay = ReplayBackend::FromFile(Utf8Path(m_options.replay), problem);
  if (!replay) {
    m_prompter->Error(problem);
    return nullptr;
  }
  m_replay = replay.get();
  return replay;
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
