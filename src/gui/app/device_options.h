// Which LCU the program works with, from its command line: a simulated LCU (--simulate, or
// --sim-state DIR to keep its memory in a folder) or the real LCU over USB; --record FILE
// writes the traffic with either to a transcript. A file name on the command line is ignored.
// --help and --version print their text and end the program.
#pragma once

#include <memory>
#include <string>

#include <QString>
#include <QStringList>

#include "core/host/settings_store.h"
#include "core/link/usb_backend.h"

namespace lcu::gui {

struct DeviceOptions {
  bool simulate = false;  // a fresh simulated LCU in memory
  QString simState;       // a simulated LCU kept in this folder
  QString record;         // the transcript of the traffic with the LCU goes here
};

/// Prints the help or the version and ends the program when the arguments ask for either;
/// otherwise returns. Needs only a QCoreApplication, so both answer without a display.
void AnswerHelpAndVersion(const QStringList& arguments);

/// Reads the options; --help and unknown options end the program as usual.
DeviceOptions ParseDeviceOptions(const QStringList& arguments);

/// The backend the options choose: the real LCU over USB unless a simulator is asked for,
/// looked for with the vendor id of the settings store. When it cannot be had, the backend
/// finds no LCU and problem says why, for the user to read once the main window is up.
struct BackendChoice {
  std::unique_ptr<UsbBackend> backend;
  std::string problem;
};

BackendChoice OpenBackend(const DeviceOptions& options, const SettingsStore& store);

/// A backend with no device behind it: every node is missing, so the LCU stays off line.
class NoLcuBackend final : public UsbBackend {
 public:
  UsbHandle OpenNode(int) override { return kInvalidUsbHandle; }
  bool GetDeviceDescriptor(UsbHandle, std::span<std::uint8_t, 18>) override { return false; }
  bool ControlRequest(UsbHandle, const VendorRequest&, std::span<std::uint8_t>) override { return false; }
  bool BulkRead(UsbHandle, std::span<std::uint8_t>, std::uint32_t&) override { return false; }
  bool BulkWrite(UsbHandle, std::span<const std::uint8_t>, std::uint32_t&) override { return false; }
  void CloseNode(UsbHandle) override {}
  std::uint32_t LastError() const override { return kErrorInvalidHandle; }
  std::string ErrorText(std::uint32_t) const override { return {}; }
};

}  // namespace lcu::gui
