// What every command works with, built from the global options: the link to the LCU (a
// simulator or, in time, the real LCU over USB), the settings store shared with the desktop
// program, and the prompter. Each part is made when a command first asks for it, so that a
// command that needs no LCU never opens one.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/prompter.h"
#include "app/settings_store.h"
#include "app/usb_backend.h"
#include "app/usb_device.h"

namespace CLI {
class App;
}

namespace lcu {
class QtSettingsStore;
}

namespace lcu::cli {

struct GlobalOptions {
  bool simulate = false;  // a fresh simulated LCU in memory
  std::string simState;   // a simulated LCU kept in this folder
  bool yes = false;       // answer every question Yes
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
  /// The link after one poll, when the LCU answered it. Null when it did not (then
  /// offlineMessage has been shown, in the form of the calling command) or when no backend
  /// could be opened.
  CUsbDevice* GetOnlineDevice(std::string_view offlineMessage);

  SettingsStore& GetStore();
  /// Where the settings live, for messages.
  std::string StoreLocation();

  Prompter& GetPrompter();

 private:
  std::unique_ptr<UsbBackend> OpenBackend();
  std::unique_ptr<UsbBackend> OpenSimulator();
  std::unique_ptr<UsbBackend> OpenUsb();
  QtSettingsStore& Store();

  GlobalOptions m_options;
  std::unique_ptr<Prompter> m_prompter;
  std::unique_ptr<QtSettingsStore> m_store;
  // The device goes before its backend.
  std::unique_ptr<UsbBackend> m_backend;
  std::unique_ptr<CUsbDevice> m_device;
  bool m_bBackendTried = false;
};

}  // namespace lcu::cli
