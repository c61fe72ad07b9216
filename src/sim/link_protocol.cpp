#include "sim/link_protocol.h"

#include <algorithm>
#include <thread>

#include "core/util/little_endian.h"

namespace lcu::sim {

namespace {

// How much of the simulator's own lateness in handing a transfer back the link-speed model
// leaves out of the next transfer's start.
constexpr auto kLatenessExcused = std::chrono::milliseconds(1);

}  // namespace

std::string LinkErrorText(std::uint32_t code) {
  switch (code) {
    case kErrorSuccess: return "The operation completed successfully.";
    case kErrorFileNotFound: return "No LCU is attached to this device node.";
    case kErrorInvalidHandle: return "The handle is invalid.";
    case kErrorWriteFault: return "The simulated LCU could not save its state.";
    case kErrorGenFailure: return "The request was not accepted by the LCU.";
    case kErrorSharingViolation: return "The LCU is already in use by another program.";
    case kErrorInvalidParameter: return "The request's data length does not match its buffer.";
    case kErrorSemTimeout: return "The LCU did not answer in time.";
    case kErrorDeviceNotConnected: return "The device is not connected.";
    default: {
      std::string text = CommonErrorText(code);
      return text.empty() ? "Unknown error " + std::to_string(code) + "." : text;
    }
  }
}

LinkProtocol::LinkProtocol(MemoryMap& memory, const LoggingEngine& logging, int node, std::uint16_t productId,
                           LinkSpeed speed)
    : m_memory(memory), m_logging(logging), m_node(node), m_productId(productId), m_speed(speed) {}

bool LinkProtocol::Fail(std::uint32_t code) {
  m_lastError = code;
  return false;
}

UsbHandle LinkProtocol::OpenNode(int node) {
  if (!m_memory.Ok() || !m_bPlugged || node != m_node) {
    Fail(kErrorFileNotFound);
    return kInvalidUsbHandle;
  }
  // The node is opened without sharing, as the driver opens it.
  if (m_openHandle != kInvalidUsbHandle) {
    Fail(kErrorSharingViolation);
    return kInvalidUsbHandle;
  }
  m_openHandle = m_nextHandle++;
  m_stream = Stream::kNone;
  return m_openHandle;
}

bool LinkProtocol::GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) {
  if (!m_bPlugged) return Fail(kErrorDeviceNotConnected);
  if (handle == kInvalidUsbHandle || handle != m_openHandle) return Fail(kErrorInvalidHandle);
  std::fill(descriptor.begin(), descriptor.end(), std::uint8_t{0});
  le::PutU8(descriptor, 0, 18);       // bLength
  le::PutU8(descriptor, 1, 1);        // bDescriptorType: device
  le::PutU16(descriptor, 2, 0x0200);  // bcdUSB 2.00
  le::PutU8(descriptor, 4, 0xFF);     // bDeviceClass: vendor specific
  le::PutU8(descriptor, 7, 64);       // bMaxPacketSize0
  le::PutU16(descriptor, 8, 0);       // idVendor
  le::PutU16(descriptor, 10, m_productId);
  le::PutU16(descriptor, 12, static_cast<std::uint16_t>(0x0100 * kFreshFirmwareVersion));  // bcdDevice
  le::PutU8(descriptor, 14, 1);                                                            // iManufacturer
  le::PutU8(descriptor, 15, 2);                                                            // iProduct
  le::PutU8(descriptor, 16, 3);                                                            // iSerialNumber
  le::PutU8(descriptor, 17, 1);                                                            // bNumConfigurations
  return true;
}

void LinkProtocol::CloseNode(UsbHandle handle) {
  if (handle != kInvalidUsbHandle && handle == m_openHandle) {
    m_openHandle = kInvalidUsbHandle;
    m_stream = Stream::kNone;
  }
}

bool LinkProtocol::ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) {
  // Any control request ends a stream that a set-up request had opened.
  m_stream = Stream::kNone;
  const bool ok = BeginTransfer(handle) && Control(request, data);
  if (ok) WaitForBus(ModelControlTime(m_speed));
  return ok;
}

bool LinkProtocol::BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) {
  moved = 0;
  return BeginTransfer(handle) && Read(buffer, moved);
}

bool LinkProtocol::BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) {
  moved = 0;
  if (BeginTransfer(handle)) return Write(buffer, moved);
  m_stream = Stream::kNone;
  return false;
}

void LinkProtocol::SetFaults(const FaultPlan& plan) {
  m_faults = plan;
  m_transfers = 0;
}

void LinkProtocol::Unplug() {
  m_bPlugged = false;
  m_openHandle = kInvalidUsbHandle;
  m_stream = Stream::kNone;
}

bool LinkProtocol::BeginTransfer(UsbHandle handle) {
  ++m_transfers;
  if (m_faults.unplugAtTransfer != 0 && m_transfers == m_faults.unplugAtTransfer) Unplug();
  if (m_faults.startLoggingAtTransfer != 0 && m_transfers == m_faults.startLoggingAtTransfer)
    m_memory.WriteSpace(kStartWordAddress, kStartWordOn);
  if (!m_memory.Ok()) return Fail(kErrorGenFailure);
  if (!m_bPlugged) return Fail(kErrorDeviceNotConnected);
  if (handle == kInvalidUsbHandle || handle != m_openHandle) return Fail(kErrorInvalidHandle);
  if (m_faults.failTransfer != 0 && m_transfers == m_faults.failTransfer) {
    m_stream = Stream::kNone;
    return Fail(kErrorSemTimeout);
  }
  return true;
}

std::uint32_t LinkProtocol::ShortenedCount(std::size_t requested) const {
  auto n = static_cast<std::uint32_t>(requested);
  if (m_faults.shortTransfer != 0 && m_transfers == m_faults.shortTransfer) n -= std::min(n, m_faults.shortBy);
  return n;
}

// The transfer starts on the bus once the host asks for it: the host's time since the last
// transfer ended counts, the simulator's own work and its lateness in waking from the last
// wait do not (a device on the wire adds neither), up to kLatenessExcused, so that a slow
// start-up or a long stall is never taken as bus time already spent. The host never gets
// control back before the model's bus would have finished.
void LinkProtocol::WaitForBus(std::chrono::nanoseconds busTime) {
  if (m_speed == LinkSpeed::kUnlimited) return;
  const auto hostTime = std::max(m_requestArrived - m_handedBack, std::chrono::steady_clock::duration::zero());
  m_busFree = std::max(m_busFree + hostTime, m_requestArrived - kLatenessExcused) + busTime;
  // On Windows a sleep ends on the system's millisecond tick and may end before its
  // deadline; sleeping again for what is left never hands control back early.
  while (std::chrono::steady_clock::now() < m_busFree) std::this_thread::sleep_until(m_busFree);
  m_handedBack = std::chrono::steady_clock::now();
}

bool LinkProtocol::Control(const VendorRequest& r, std::span<std::uint8_t> reply) {
  const bool in = r.bmRequestType == kRequestTypeVendorIn;
  const bool out = r.bmRequestType == kRequestTypeVendorOut;
  switch (r.bRequest) {
    case LCU_READ_BLOCK:
      if (!in) return Fail(kErrorGenFailure);
      return Answer(m_memory.Block(r.wValue), r, reply);
    case LCU_READ_CHANNELS:
      if (!in) return Fail(kErrorGenFailure);
      return Answer(m_logging.ChannelReadings(), r, reply);
    case LCU_WRITE_WORD:
      if (!out) return Fail(kErrorGenFailure);
      // The LCU's memory is byte-wide: it stores the datum's low byte at the address.
      m_memory.WriteSpace(r.wValue, static_cast<std::uint8_t>(r.wIndex & 0xFF));
      return true;
    case LCU_BULK_READ:
    case LCU_BULK_WRITE: {
      if (!out) return Fail(kErrorGenFailure);
      const bool read = r.bRequest == LCU_BULK_READ;
      if (r.wValue >= kWindowBase && r.wValue < kWindowEnd) {
        m_stream = read ? Stream::kReadData : Stream::kWriteData;
        m_streamPos = static_cast<std::uint64_t>(r.wIndex) * kPageSize + (r.wValue - kWindowBase);
        return true;
      }
      if (r.wIndex != 0) return Fail(kErrorGenFailure);
      m_stream = read ? Stream::kReadSpace : Stream::kWriteSpace;
      m_streamPos = r.wValue;
      return true;
    }
    case LCU_LOAD_FIRMWARE:
      if (!out || r.wValue != kFirmwareBase || r.wIndex != kFirmwareKey) return Fail(kErrorGenFailure);
      m_stream = Stream::kFirmware;
      m_streamPos = kFirmwareBase;
      return true;
    default: return Fail(kErrorGenFailure);
  }
}

bool LinkProtocol::Answer(const std::array<std::uint8_t, kBlockSize>& block, const VendorRequest& r,
                          std::span<std::uint8_t> reply) {
  if (reply.size() != r.wLength) return Fail(kErrorInvalidParameter);
  std::fill(reply.begin(), reply.end(), std::uint8_t{0});
  std::copy_n(block.begin(), std::min(reply.size(), block.size()), reply.begin());
  return true;
}

bool LinkProtocol::Read(std::span<std::uint8_t> buffer, std::uint32_t& moved) {
  if (m_stream != Stream::kReadData && m_stream != Stream::kReadSpace) {
    m_stream = Stream::kNone;
    return Fail(kErrorGenFailure);
  }
  const std::uint32_t n = ShortenedCount(buffer.size());
  if (m_stream == Stream::kReadData) {
    m_memory.ReadData(m_streamPos, buffer.first(n));
  } else {
    for (std::uint32_t i = 0; i < n; ++i) buffer[i] = m_memory.SpaceByte(m_streamPos + i);
  }
  m_streamPos += n;
  moved = n;
  WaitForBus(ModelBulkTime(m_speed, n));
  return true;
}

bool LinkProtocol::Write(std::span<const std::uint8_t> buffer, std::uint32_t& moved) {
  const Stream kind = m_stream;
  m_stream = Stream::kNone;  // a set-up is good for one bulk write
  if (kind != Stream::kWriteData && kind != Stream::kWriteSpace && kind != Stream::kFirmware) {
    return Fail(kErrorGenFailure);
  }
  if (kind == Stream::kFirmware && buffer.size() > kFirmwareImageSize) return Fail(kErrorGenFailure);
  const std::uint32_t n = ShortenedCount(buffer.size());
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::uint64_t at = m_streamPos + i;
    if (kind == Stream::kWriteData) {
      m_memory.SetDataByte(at, buffer[i]);
    } else if (kind == Stream::kWriteSpace) {
      m_memory.WriteSpace(at, buffer[i]);
    } else {
      m_memory.Program().Set(static_cast<std::size_t>(at), buffer[i]);
    }
  }
  moved = n;
  WaitForBus(ModelBulkTime(m_speed, n));
  return true;
}

}  // namespace lcu::sim
