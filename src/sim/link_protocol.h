// LinkProtocol: the simulated LCU's side of the USB link. It opens and closes the device node,
// hands out the device descriptor, answers each request of the link (LCU_READ_BLOCK,
// LCU_READ_CHANNELS, LCU_WRITE_WORD, and the set-ups of bulk transfers, which stream data
// memory page by page, the address space, or the firmware image), applies the fault plan and
// takes as long as the link-speed model says. Errors are numbered as the platform numbers them.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include "core/link/usb_backend.h"
#include "sim/logging_engine.h"
#include "sim/memory_map.h"

namespace lcu::sim {

enum class LinkSpeed {
  kUnlimited,
  kFullSpeed,  // 64-byte packets, 19 per 1 ms frame
  kHighSpeed,  // 512-byte packets, 13 per 125 us microframe
};

/// The bus time the link-speed model charges for moving a number of bytes in bulk.
std::chrono::nanoseconds ModelBulkTime(LinkSpeed speed, std::uint64_t bytes);
/// The bus time the model charges for one control request.
std::chrono::nanoseconds ModelControlTime(LinkSpeed speed);

/// Failures and events to inject. Transfers (control requests, bulk reads and bulk writes)
/// are counted from 1 since the plan was set; 0 disables an entry.
struct FaultPlan {
  int failTransfer = 0;   // this transfer fails (the link closes)
  int shortTransfer = 0;  // this bulk transfer moves shortBy fewer bytes
  std::uint32_t shortBy = 1;
  int unplugAtTransfer = 0;  // the device disappears before this transfer
  /// The LCU starts logging by itself just before this transfer, as a real LCU may while a
  /// download runs; the transfer itself goes through.
  int startLoggingAtTransfer = 0;
};

/// The error codes of the simulated link.
inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorWriteFault = 29;
inline constexpr std::uint32_t kErrorGenFailure = 31;  // what a stalled request looks like
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorSemTimeout = 121;
inline constexpr std::uint32_t kErrorDeviceNotConnected = 1167;

/// The text of an error code of the simulated link.
std::string LinkErrorText(std::uint32_t code);

class LinkProtocol {
 public:
  /// node: the device node the LCU appears on.
  LinkProtocol(MemoryMap& memory, const LoggingEngine& logging, int node, std::uint16_t productId, LinkSpeed speed);

  UsbHandle OpenNode(int node);
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor);
  void CloseNode(UsbHandle handle);

  /// Notes when the host's request reached the simulator; each transfer starts with it.
  void RequestArrived() { m_requestArrived = std::chrono::steady_clock::now(); }
  /// A control request, counted as a transfer; any one ends an open stream.
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data);
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved);
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved);

  /// Records a failure: its code becomes the last error. Always false.
  bool Fail(std::uint32_t code);
  std::uint32_t LastError() const { return m_lastError; }

  void SetFaults(const FaultPlan& plan);
  int TransferCount() const { return m_transfers; }
  void Unplug();
  void Replug() { m_bPlugged = true; }
  void SetLinkSpeed(LinkSpeed speed) { m_speed = speed; }

 private:
  enum class Stream { kNone, kReadData, kReadSpace, kWriteData, kWriteSpace, kFirmware };

  // Counts the transfer and applies the fault plan; false when the transfer cannot go on.
  bool BeginTransfer(UsbHandle handle);
  std::uint32_t ShortenedCount(std::size_t requested) const;
  void WaitForBus(std::chrono::nanoseconds busTime);
  bool Control(const VendorRequest& r, std::span<std::uint8_t> reply);
  bool Answer(const std::array<std::uint8_t, kBlockSize>& block, const VendorRequest& r, std::span<std::uint8_t> reply);
  bool Read(std::span<std::uint8_t> buffer, std::uint32_t& moved);
  bool Write(std::span<const std::uint8_t> buffer, std::uint32_t& moved);

  MemoryMap& m_memory;
  const LoggingEngine& m_logging;
  int m_node;
  std::uint16_t m_productId;
  bool m_bPlugged = true;
  UsbHandle m_openHandle = kInvalidUsbHandle;
  UsbHandle m_nextHandle = 0x4C00;
  std::uint32_t m_lastError = kErrorSuccess;
  Stream m_stream = Stream::kNone;
  std::uint64_t m_streamPos = 0;
  FaultPlan m_faults;
  int m_transfers = 0;
  LinkSpeed m_speed;
  std::chrono::steady_clock::time_point m_busFree = std::chrono::steady_clock::now();
  // When the current request reached the simulator, and when the simulator last handed
  // control back to the host after a transfer.
  std::chrono::steady_clock::time_point m_requestArrived = m_busFree;
  std::chrono::steady_clock::time_point m_handedBack = m_busFree;
};

}  // namespace lcu::sim
