// A UsbBackend for link tests: device nodes with chosen product ids, scripted replies and
// failures, and a transcript of every call that reached it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/link/usb_backend.h"
#include "core/util/little_endian.h"

namespace lcu::test {

struct BackendCall {
  enum Kind { kOpen, kDescriptor, kControl, kBulkRead, kBulkWrite, kClose } kind;
  int node = -1;
  VendorRequest request{};
  std::size_t size = 0;
  std::vector<std::uint8_t> data;  // bytes written by a bulk write

  static BackendCall Of(Kind kind, int node = -1) {
    BackendCall c{kind, node, {}, 0, {}};
    return c;
  }
};

class ScriptedBackend : public UsbBackend {
 public:
  /// Node number -> product id of the device found there.
  std::map<int, std::uint16_t> nodes;
  /// Failures: the n-th call (1-based, counting control and bulk transfers) fails.
  std::vector<int> failTransfers;
  /// Bytes the reads return, in order; a counting pattern once they run out.
  std::deque<std::uint8_t> replyBytes;
  /// Makes the n-th transfer move this many bytes less.
  std::map<int, std::uint32_t> shortTransfers;
  std::uint32_t errorCode = 31;
  std::vector<BackendCall> calls;
  int transfers = 0;

  UsbHandle OpenNode(int node) override {
    calls.push_back(BackendCall::Of(BackendCall::kOpen, node));
    return nodes.count(node) ? node + 100 : kInvalidUsbHandle;
  }
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> d) override {
    calls.push_back(BackendCall::Of(BackendCall::kDescriptor, static_cast<int>(handle - 100)));
    std::fill(d.begin(), d.end(), std::uint8_t{0});
    const std::uint16_t pid = nodes.at(static_cast<int>(handle - 100));
    le::PutU16(d, 10, pid);
    return true;
  }
  bool ControlRequest(UsbHandle, const VendorRequest& r, std::span<std::uint8_t> data) override {
    BackendCall c = BackendCall::Of(BackendCall::kControl);
    c.request = r;
    c.size = data.size();
    calls.push_back(c);
    if (Fails()) return false;
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = NextByte();
    return true;
  }
  bool BulkRead(UsbHandle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override {
    BackendCall c = BackendCall::Of(BackendCall::kBulkRead);
    c.size = buffer.size();
    calls.push_back(c);
    if (Fails()) return false;
    for (auto& b : buffer) b = NextByte();
    moved = static_cast<std::uint32_t>(buffer.size()) - Shortfall();
    return true;
  }
  bool BulkWrite(UsbHandle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override {
    BackendCall c = BackendCall::Of(BackendCall::kBulkWrite);
    c.size = buffer.size();
    c.data.assign(buffer.begin(), buffer.end());
    calls.push_back(c);
    if (Fails()) return false;
    moved = static_cast<std::uint32_t>(buffer.size()) - Shortfall();
    return true;
  }
  void CloseNode(UsbHandle handle) override { calls.push_back(BackendCall::Of(BackendCall::kClose, static_cast<int>(handle - 100))); }
  std::uint32_t LastError() const override { return errorCode; }
  std::string ErrorText(std::uint32_t code) const override {
    return code == errorCode ? "A device attached to the system is not functioning." : std::string();
  }

  std::vector<BackendCall> CallsOf(BackendCall::Kind kind) const {
    std::vector<BackendCall> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out), [&](const auto& c) { return c.kind == kind; });
    return out;
  }
  std::vector<int> OpenedNodes() const {
    std::vector<int> out;
    for (const auto& c : calls)
      if (c.kind == BackendCall::kOpen) out.push_back(c.node);
    return out;
  }

  void Reply(std::initializer_list<std::uint8_t> bytes) { replyBytes.insert(replyBytes.end(), bytes); }

  /// The next byte of the scripted replies, or a counting pattern.
  std::uint8_t NextByte() {
    if (replyBytes.empty()) return static_cast<std::uint8_t>(m_counter++);
    const std::uint8_t b = replyBytes.front();
    replyBytes.pop_front();
    return b;
  }

 private:
  bool Fails() {
    ++transfers;
    return std::find(failTransfers.begin(), failTransfers.end(), transfers) != failTransfers.end();
  }
  std::uint32_t Shortfall() const {
    const auto it = shortTransfers.find(transfers);
    return it == shortTransfers.end() ? 0 : it->second;
  }
  unsigned m_counter = 0;
};

}  // namespace lcu::test
