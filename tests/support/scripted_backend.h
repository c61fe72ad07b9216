// A UsbBackend for link tests: device nodes with chosen product ids, scripted replies and
// failures, and a transcript of every call that reached it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/link/usb_backend.h"
#include "core/util/little_endian.h"

namespace lcu::test {

/// The system's text of the error code a scripted failure leaves (ScriptedBackend::ErrorText).
inline constexpr std::string_view kScriptedErrorText = "A device attached to the system is not functioning.";

struct BackendCall {
  enum Kind { kOpen, kDescriptor, kControl, kBulkRead, kBulkWrite, kClose } kind;
  int node = -1;
  VendorRequest request{};
  std::size_t size = 0;
  std::vector<std::uint8_t> data;  // bytes written by a bulk write
};

class ScriptedBackend : public UsbBackend {
 public:
  /// Node number -> product id of the device found there.
  std::map<int, std::uint16_t> nodes;
  /// Transfers (counted from 1 over control and bulk transfers) that fail.
  std::vector<int> failTransfers;
  /// Bytes the reads return, in order; a counting pattern once they run out.
  std::deque<std::uint8_t> replyBytes;
  /// Makes the n-th transfer move this many bytes less.
  std::map<int, std::uint32_t> shortTransfers;
  std::uint32_t errorCode = 31;
  std::vector<BackendCall> calls;
  int transfers = 0;

  UsbHandle OpenNode(int node) override {
    Record(BackendCall::kOpen, node);
    return nodes.count(node) ? node + 100 : kInvalidUsbHandle;
  }
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> d) override {
    Record(BackendCall::kDescriptor, static_cast<int>(handle - 100));
    std::fill(d.begin(), d.end(), std::uint8_t{0});
    le::PutU16(d, 10, nodes.at(static_cast<int>(handle - 100)));
    return true;
  }
  bool ControlRequest(UsbHandle, const VendorRequest& r, std::span<std::uint8_t> data) override {
    Record(BackendCall::kControl, -1, r, data.size());
    if (Fails()) return false;
    for (auto& b : data) b = NextByte();
    return true;
  }
  bool BulkRead(UsbHandle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override {
    Record(BackendCall::kBulkRead, -1, {}, buffer.size());
    if (Fails()) return false;
    for (auto& b : buffer) b = NextByte();
    moved = static_cast<std::uint32_t>(buffer.size()) - Shortfall();
    return true;
  }
  bool BulkWrite(UsbHandle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override {
    Record(BackendCall::kBulkWrite, -1, {}, buffer.size(), {buffer.begin(), buffer.end()});
    if (Fails()) return false;
    moved = static_cast<std::uint32_t>(buffer.size()) - Shortfall();
    return true;
  }
  void CloseNode(UsbHandle handle) override { Record(BackendCall::kClose, static_cast<int>(handle - 100)); }
  std::uint32_t LastError() const override { return errorCode; }
  std::string ErrorText(std::uint32_t code) const override {
    return code == errorCode ? std::string(kScriptedErrorText) : std::string();
  }

  std::vector<BackendCall> CallsOf(BackendCall::Kind kind) const {
    std::vector<BackendCall> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out), [&](const auto& c) { return c.kind == kind; });
    return out;
  }
  std::vector<int> OpenedNodes() const {
    std::vector<int> out;
    for (const auto& c : CallsOf(BackendCall::kOpen)) out.push_back(c.node);
    return out;
  }
  void Reply(std::span<const std::uint8_t> bytes) { replyBytes.insert(replyBytes.end(), bytes.begin(), bytes.end()); }
  void Reply(std::initializer_list<std::uint8_t> bytes) { replyBytes.insert(replyBytes.end(), bytes); }

 private:
  void Record(BackendCall::Kind kind, int node, VendorRequest r = {}, std::size_t size = 0,
              std::vector<std::uint8_t> data = {}) {
    calls.push_back({kind, node, r, size, std::move(data)});
  }
  std::uint8_t NextByte() {
    if (replyBytes.empty()) return static_cast<std::uint8_t>(m_counter++);
    const std::uint8_t b = replyBytes.front();
    replyBytes.pop_front();
    return b;
  }
  bool Fails() { return std::find(failTransfers.begin(), failTransfers.end(), ++transfers) != failTransfers.end(); }
  std::uint32_t Shortfall() const {
    const auto it = shortTransfers.find(transfers);
    return it == shortTransfers.end() ? 0 : it->second;
  }
  unsigned m_counter = 0;
};

}  // namespace lcu::test
