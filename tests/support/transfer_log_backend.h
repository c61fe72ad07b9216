// A backend that passes every call to another and notes the kind of each transfer, so that a
// fault matrix knows which of a command's transfers are bulk transfers (the ones a short
// transfer can hit) and what each one was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/link/usb_backend.h"

namespace lcu::test {

struct LoggedTransfer {
  enum Kind { kControlRead, kControlWrite, kBulkRead, kBulkWrite } kind = kControlRead;
  std::uint8_t request = 0;
  std::uint16_t value = 0;
  std::size_t size = 0;

  bool IsBulk() const { return kind == kBulkRead || kind == kBulkWrite; }
  std::string Text() const {
    switch (kind) {
      case kControlRead:
        return "read " + std::to_string(request);
      case kControlWrite:
        return "write " + std::to_string(request);
      case kBulkRead:
        return "bulk-in " + std::to_string(size);
      case kBulkWrite:
        break;
    }
    return "bulk-out " + std::to_string(size);
  }
};

class TransferLogBackend final : public UsbBackend {
 public:
  explicit TransferLogBackend(UsbBackend& inner) : m_inner(inner) {}

  UsbHandle OpenNode(int node) override { return m_inner.OpenNode(node); }
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) override {
    return m_inner.GetDeviceDescriptor(handle, descriptor);
  }
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) override {
    log.push_back({request.IsRead() ? LoggedTransfer::kControlRead : LoggedTransfer::kControlWrite, request.bRequest,
                   request.wValue, data.size()});
    return m_inner.ControlRequest(handle, request, data);
  }
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override {
    log.push_back({LoggedTransfer::kBulkRead, 0, 0, buffer.size()});
    return m_inner.BulkRead(handle, buffer, moved);
  }
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override {
    log.push_back({LoggedTransfer::kBulkWrite, 0, 0, buffer.size()});
    return m_inner.BulkWrite(handle, buffer, moved);
  }
  void CloseNode(UsbHandle handle) override { m_inner.CloseNode(handle); }
  std::uint32_t LastError() const override { return m_inner.LastError(); }
  std::string ErrorText(std::uint32_t code) const override { return m_inner.ErrorText(code); }

  std::vector<LoggedTransfer> log;

 private:
  UsbBackend& m_inner;
};

}  // namespace lcu::test
