// The simulated LCU with a stopwatch: a UsbBackend that passes every call to the simulator
// and adds up the GUI thread's time spent inside it, so that a benchmark can set the LCU's
// side of an exchange apart from the program's own.
#pragma once

#include <chrono>
#include <span>
#include <string>

#include "core/link/usb_backend.h"

namespace lcu::bench {

// Passes every call to the simulator and adds up the GUI thread's CPU time spent inside it:
// that is the LCU's side of the exchange (on a real link, the device's and the kernel's), not
// the program's.
class TimedLcu final : public UsbBackend {
  // The simulator never blocks, so its wall time is its CPU time; the monotonic clock is read
  // without a system call, which keeps the measuring out of the figures.
  template <class Call>
  auto Timed(Call call) {
    const auto start = std::chrono::steady_clock::now();
    auto result = call();
    m_insideMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return result;
  }

 public:
  explicit TimedLcu(UsbBackend& lcu) : m_lcu(lcu) {}

  double InsideMs() const { return m_insideMs; }

  UsbHandle OpenNode(int node) override {
    return Timed([&] { return m_lcu.OpenNode(node); });
  }
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) override {
    return Timed([&] { return m_lcu.GetDeviceDescriptor(handle, descriptor); });
  }
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) override {
    return Timed([&] { return m_lcu.ControlRequest(handle, request, data); });
  }
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override {
    return Timed([&] { return m_lcu.BulkRead(handle, buffer, moved); });
  }
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override {
    return Timed([&] { return m_lcu.BulkWrite(handle, buffer, moved); });
  }
  void CloseNode(UsbHandle handle) override { m_lcu.CloseNode(handle); }
  std::uint32_t LastError() const override { return m_lcu.LastError(); }
  std::string ErrorText(std::uint32_t code) const override { return m_lcu.ErrorText(code); }

 private:
  UsbBackend& m_lcu;
  double m_insideMs = 0;
};

}  // namespace lcu::bench
