// Which LCU the program works with, from its command line: a simulated LCU (--simulate, or
// --sim-state DIR to keep its memory in a folder), a transcript played back (--replay FILE)
// or the real LCU over USB; --record FILE writes the traffic with it to a transcript. A file
// name on the command line is ignored. --help and --version print their text and end the
// program.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include <QStringList>

#include "core/link/usb_backend.h"
#include "program/program_options.h"

namespace lcu::gui {

/// Prints the help or the version and ends the program when the arguments ask for either;
/// otherwise returns. Needs only a QCoreApplication, so both answer without a display.
void AnswerHelpAndVersion(const QStringList& arguments);

/// Reads the options, with the simulated LCU's fault plan from the environment; --help and
/// unknown options end the program as usual.
program::ProgramOptions ParseDeviceOptions(const QStringList& arguments);

/// A backend with no device behind it: every node is missing, so the LCU stays off line. The
/// program works with it when the LCU of its options cannot be had.
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
