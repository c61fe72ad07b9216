#include "program/program_assembly.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/host/clock.h"
#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/link/recording_backend.h"
#include "core/logger/lcu_clock.h"
#include "core/messages/messages.h"
#include "core/util/strict_number.h"
#include "usb/host_usb_backend.h"

namespace lcu::program {

namespace {

ProgramBackend OpenReplay(const std::string& transcript) {
  ProgramBackend opened;
  auto replay = ReplayBackend::FromFile(Utf8Path(transcript), opened.problem);
  if (!replay) return opened;
  opened.replay = replay.get();
  opened.backend = std::move(replay);
  return opened;
}

// The link-speed model of the simulated LCU: LCU_SIM_LINK "full" or "high" makes its
// transfers take as long as on a full-speed or high-speed link; otherwise they take no time.
sim::LinkSpeed LinkSpeedFromEnvironment() {
  const char* value = std::getenv(kLinkVariable);
  const std::string_view speed = value ? value : "";
  if (speed == "full") return sim::LinkSpeed::kFullSpeed;
  if (speed == "high") return sim::LinkSpeed::kHighSpeed;
  return sim::LinkSpeed::kUnlimited;
}

// The clock of a fresh simulated LCU: the computer's local time of day, so that the check
// does not find a clock the user never set, or the time LCU_SIM_CLOCK fixes. Nullopt, with
// the problem set, when that variable is no time of day.
std::optional<std::uint16_t> FreshClock(std::string& problem) {
  const char* value = std::getenv(kClockVariable);
  if (value == nullptr) return ClockMinutesOf(SystemClock().Now());
  const std::string_view text = value;
  const std::size_t colon = text.find(':');
  if (colon != std::string_view::npos && text.size() - colon == 3) {
    const StrictNumber hours = ParseStrictNumber(text.substr(0, colon), {NumberBase::kDecimal}, 0, 23);
    const StrictNumber minutes = ParseStrictNumber(text.substr(colon + 1), {NumberBase::kDecimal}, 0, 59);
    if (hours && minutes) return static_cast<std::uint16_t>(hours.value * 60 + minutes.value);
  }
  problem = std::string(kClockVariable).append(msg::kSimClockInvalid).append(text);
  return std::nullopt;
}

ProgramBackend OpenSimulator(const ProgramOptions& options) {
  ProgramBackend opened;
  sim::SimulatorOptions simOptions;
  simOptions.freshClock = FreshClock(opened.problem);
  if (!simOptions.freshClock) return opened;
  if (!options.simState.empty()) {
    simOptions.stateDir = Utf8Path(options.simState);
    std::error_code error;
    std::filesystem::create_directories(simOptions.stateDir, error);
    if (error) {
      opened.problem = std::string(msg::kCannotCreateStateFolder) + options.simState + ": " + error.message();
      return opened;
    }
  }
  auto simulator = std::make_unique<sim::LcuSimulator>(simOptions);
  if (!simulator->Ok()) {
    opened.problem = simulator->Error();
    return opened;
  }
  simulator->SetFaults(ParseFaultPlan(options.faults));
  simulator->SetLinkSpeed(LinkSpeedFromEnvironment());
  opened.backend = std::move(simulator);
  return opened;
}

usb::HostUsbOptions HostUsbOptionsOf(const ProgramOptions& options) {
  return {.device = options.device, .log = options.verbose ? &std::cerr : nullptr};
}

ProgramBackend OpenUsb(const ProgramOptions& options, const SettingsStore& store) {
  ProgramBackend opened;
  opened.backend = usb::OpenHostUsbBackend(store, HostUsbOptionsOf(options), opened.problem);
  opened.usb = opened.backend.get();
  return opened;
}

}  // namespace

ProgramBackend OpenProgramBackend(const ProgramOptions& options, const SettingsStore& store) {
  ProgramBackend opened;
  if (!options.replay.empty()) {
    opened = OpenReplay(options.replay);
  } else if (options.simulate || !options.simState.empty()) {
    opened = OpenSimulator(options);
  } else {
    opened = OpenUsb(options, store);
  }
  if (!opened.backend) return opened;
  if (!options.record.empty()) {
    std::string problem;
    opened.backend = RecordingBackend::ToFile(std::move(opened.backend), Utf8Path(options.record), problem);
    if (!opened.backend) {
      opened.problem = std::string(msg::kCannotCreateTranscript) + problem;
      opened.replay = nullptr;
      opened.usb = nullptr;
      return opened;
    }
  }
  if (options.verbose) opened.backend = RecordingBackend::ToStream(std::move(opened.backend), std::cerr);
  return opened;
}

std::optional<std::vector<usb::LcuCandidate>> ListUsbDevices(const ProgramOptions& options, const SettingsStore& store,
                                                             std::string& problem) {
  return usb::ListHostUsbDevices(store, HostUsbOptionsOf(options), problem);
}

sim::FaultPlan ParseFaultPlan(std::string_view text) {
  sim::FaultPlan plan;
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

void ReadSettingsFlags(SettingsStore& store, AppState& app) {
  const Profile profile(store);
  app.m_bAutoDownload = profile.GetProfileInt(reg::kSettings, reg::kAutoDownload, 0);
  app.m_bPreserveBuffer = profile.GetProfileInt(reg::kSettings, reg::kPreserveBuffer, 0);
  app.m_bPreserveQmt = profile.GetProfileInt(reg::kSettings, reg::kPreserveQmt, 0);
}

}  // namespace lcu::program
