// A backend that passes every transfer to the simulated LCU and keeps what the program
// wrote in bulk and which requests it made, so tests can look at the monitor windows'
// exchange blocks.
#pragma once

#include <memory>
#include <vector>

#include "core/link/usb_backend.h"
#include "sim/lcu_simulator.h"

namespace lcu::test {

class TappedBackend final : public UsbBackend {
 public:
  explicit TappedBackend(std::unique_ptr<sim::LcuSimulator> lcu) : m_lcu(std::move(lcu)) {}

  sim::LcuSimulator& Lcu() { return *m_lcu; }

  UsbHandle OpenNode(int node) override { return m_lcu->OpenNode(node); }
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) override {
    return m_lcu->GetDeviceDescriptor(handle, descriptor);
  }
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) override {
    requests.push_back(request.bRequest);
    return m_lcu->ControlRequest(handle, request, data);
  }
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override {
    return m_lcu->BulkRead(handle, buffer, moved);
  }
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override {
    bulkWrites.emplace_back(buffer.begin(), buffer.end());
    return m_lcu->BulkWrite(handle, buffer, moved);
  }
  void CloseNode(UsbHandle handle) override { m_lcu->CloseNode(handle); }
  std::uint32_t LastError() const override { return m_lcu->LastError(); }
  std::string ErrorText(std::uint32_t code) const override { return m_lcu->ErrorText(code); }

  void Clear() {
    requests.clear();
    bulkWrites.clear();
  }

  std::vector<std::uint8_t> requests;  // bRequest of each control request
  std::vector<std::vector<std::uint8_t>> bulkWrites;

 private:
  std::unique_ptr<sim::LcuSimulator> m_lcu;
};

}  // namespace lcu::test
