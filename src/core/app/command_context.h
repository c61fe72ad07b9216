// What an LCU command needs from the program around it: the link, the settings, the user,
// the clock, files, the shared application fields, and the window hooks (progress, the
// message pump, and the report of a switched setting).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/app/app_state.h"
#include "core/app/transfer_progress.h"
#include "core/host/clock.h"
#include "core/host/file_system.h"
#include "core/host/prompter.h"
#include "core/host/settings_store.h"
#include "core/link/link_owner.h"
#include "core/link/usb_device.h"

namespace lcu {

/// How a command ended, for callers that need to know (the command line's exit status).
enum class CommandResult {
  kDone,      // it did all its work
  kFailed,    // it failed or was refused; its message has been shown
  kDeclined,  // the user answered No or cancelled a dialog
};

/// The on/off states of the program that commands switch: the three settings flags and the
/// logger started by hand.
enum class AppFlag {
  kAutoDownload,
  kProtectData,
  kPreserveQmt,
  kLoggerStarted,
};

/// Window-side hooks of the commands. The desktop program shows a progress dialog and pumps
/// its event loop; the command line draws a progress bar.
class CommandUi {
 public:
  virtual ~CommandUi() = default;
  /// The download's progress dialog: opened with the number of buffers, stepped once per
  /// non-empty buffer, closed at the end.
  virtual void BeginProgress(int steps) = 0;
  virtual void StepProgress() = 0;
  virtual void EndProgress() = 0;
  /// The download's bytes so far, after each chunk; a window that shows no figures ignores it.
  virtual void ShowTransferred(const TransferProgress&) {}
  /// Lets waiting messages through; false when the program is quitting.
  virtual bool PumpWaitingMessages() = 0;
  /// A flag was switched on or off (the desktop program shows it as a menu's check mark).
  virtual void FlagChanged(AppFlag flag, bool on) = 0;
  /// The download's data file is complete and on disk, and the LCU is not yet touched: the
  /// place to tell the user its path. False when that could not be done; the download then
  /// leaves the LCU as it is and fails (the reason has been shown).
  virtual bool DataFileSaved(const std::string& path) {
    (void)path;
    return true;
  }
  /// A download saved its data file (path, bytes) and recorded it; lcuEmptied tells whether
  /// the LCU was reset afterwards. The desktop program shows it in its status bar.
  virtual void DownloadSaved(std::string_view /*path*/, std::uint64_t /*bytes*/, bool /*lcuEmptied*/) {}
};

/// A CommandUi that shows nothing (tests, scripts).
class SilentCommandUi : public CommandUi {
 public:
  void BeginProgress(int) override {}
  void StepProgress() override {}
  void EndProgress() override {}
  bool PumpWaitingMessages() override { return true; }
  void FlagChanged(AppFlag, bool) override {}
};

/// The link is device; link says who may use it (a command takes its lease there).
struct CommandContext {
  CUsbDevice& device;
  LinkOwner& link;
  SettingsStore& store;
  Prompter& prompter;
  Clock& clock;
  FileSystem& files;
  AppState& app;
  CommandUi& ui;
};

}  // namespace lcu
