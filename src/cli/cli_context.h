// What every command works with, built from the global options: the link to the LCU (a
// simulator, a transcript played back, or the real LCU over USB, as the program assembly
// opens it), the settings store shared with the desktop program, the prompter, and for the
// core's commands the application fields, the clock and the host's files. Each part is made
// when a command first asks for it, so that a command that needs no LCU never opens one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/console_prompter.h"
#include "core/app/app_state.h"
#include "core/app/command_context.h"
#include "core/app/command_guard.h"
#include "core/host/clock.h"
#include "core/host/settings_store.h"
#include "core/link/link_owner.h"
#include "core/link/replay_backend.h"
#include "core/link/usb_backend.h"
#include "core/link/usb_device.h"
#include "platform/host_file_system.h"
#include "program/program_options.h"

namespace CLI {
class App;
}

namespace lcu::cli {

struct GlobalOptions {
  program::ProgramOptions program;  // the LCU to work with
  bool yes = false;                 // answer every question Yes
};

/// Declares the global options on the program's command line.
void AddGlobalOptions(CLI::App& app, GlobalOptions& options);

class CliContext {
 public:
  explicit CliContext(GlobalOptions options);
  ~CliContext();
  CliContext(const CliContext&) = delete;
  CliContext& operator=(const CliContext&) = delete;

  /// The link to the LCU the options choose, not yet polled. Null when no backend can be
  /// opened; the reason has then been shown.
  CUsbDevice* GetDevice();
  /// Who may use the device's link (null while there is no device).
  LinkOwner* GetLink() { return m_link.get(); }
  /// The link after one poll, when the LCU answered it. Null when it did not (then the
  /// off-line message has been shown, in the form of the calling command) or when no backend
  /// could be opened.
  CUsbDevice* GetOnlineDevice(OfflineForm form);
  /// The link after one poll, on line or not: the core's commands show their own off-line
  /// message. Null when no backend could be opened.
  CUsbDevice* GetPolledDevice();

  /// The application fields, with the three settings flags read from the profile section
  /// "Settings" as the desktop program reads them at start-up.
  AppState& GetAppState();

  /// Everything a core command needs, around the polled link; the command talks to the user
  /// through prompter, or the console prompter when it is null. Nullopt when no backend
  /// could be opened (the reason has been shown).
  std::optional<CommandContext> MakeCommandContext(CommandUi& ui, Prompter* prompter = nullptr);

  /// Ends the run: closes the link and, when a transcript was played back, checks that the
  /// command followed it to its end. Returns the command's exit status, or 1 with the first
  /// difference shown when the command left the transcript.
  int Finish(int exitStatus);

  /// Loads the channel model as the desktop program does when an LCU comes on line: the
  /// channel definitions of the setup folder, placed by the calibration of that LCU, which
  /// is loaded into the application fields first; and the channels the hardware level offers.
  /// Commands call it after their poll with the LCU number of the status block, or with a
  /// number given on the command line. False when the definitions did not load: the reason
  /// has been shown, and the table holds what the load left in it.
  bool LoadChannelModel(std::uint16_t lcuNumber);

  /// Why the last poll found no LCU, in the user's words: the reason no backend could be
  /// opened, or the link's own reason (the one the desktop program's link pane shows).
  std::string OfflineReason() const;

  /// The options the program was started with.
  const GlobalOptions& Options() const { return m_options; }

  /// The host's local time and real pauses.
  Clock& GetClock() { return m_clock; }

  SettingsStore& GetStore();
  /// Where the settings live, for messages.
  std::string StoreLocation();

  ConsolePrompter& GetPrompter();

 private:
  GlobalOptions m_options;
  std::unique_ptr<ConsolePrompter> m_prompter;
  std::unique_ptr<SettingsStore> m_store;
  std::string m_storeLocation;
  std::unique_ptr<AppState> m_app;
  SystemClock m_clock;
  HostFileSystem m_files;
  // The device goes before its backend.
  std::unique_ptr<UsbBackend> m_backend;
  std::unique_ptr<CUsbDevice> m_device;
  std::unique_ptr<LinkOwner> m_link;
  bool m_bBackendTried = false;
  std::string m_backendProblem;
  ReplayBackend* m_replay = nullptr;  // within m_backend, when a transcript is played
  UsbBackend* m_usb = nullptr;        // within m_backend, when it is the real LCU
  bool m_bUsbProblemShown = false;
};

}  // namespace lcu::cli
