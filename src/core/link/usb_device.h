// CUsbDevice: the one link to the LCU. It finds the LCU among the device nodes, sends
// vendor control requests, moves bulk data, and remembers whether the LCU answered the last
// status poll together with the 64-byte status block the poll returned.
//
// A failed driver call closes the link; the caller reports the failure in its own words.
// Only PollStatus reopens a closed link. A set-up request and its bulk transfer must follow
// each other with nothing in between; the program-wide transfers in logger_transfers.h do so.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/link/lcu_protocol.h"
#include "core/link/usb_backend.h"

namespace lcu {

class CUsbDevice {
 public:
  explicit CUsbDevice(UsbBackend& backend);
  virtual ~CUsbDevice();
  CUsbDevice(const CUsbDevice&) = delete;
  CUsbDevice& operator=(const CUsbDevice&) = delete;

  /// Makes sure a device node is open: tries nodes 0 to 14 and keeps the first whose
  /// product id is 1230. True if a node is open on return.
  bool FindDevice();
  /// Closes the link, saving the backend's last error code.
  void CloseDevice();

  /// Vendor control read of length bytes into buffer (request type 0xC0).
  bool VendorRead(std::uint8_t request, std::uint16_t value, std::uint16_t index, std::uint16_t length,
                  std::span<std::uint8_t> buffer);
  /// Vendor control write without data stage (request type 0x40).
  bool VendorWrite(std::uint8_t request, std::uint16_t value, std::uint16_t index, std::uint16_t length = 0);

  /// One bulk read of buffer.size() bytes. A short transfer still succeeds; moved (when
  /// given) reports the bytes actually received so that callers can refuse it.
  bool BulkRead(std::span<std::uint8_t> buffer, std::uint32_t* moved = nullptr);
  /// One bulk write of the whole buffer; moved as for BulkRead.
  bool BulkWrite(std::span<const std::uint8_t> buffer, std::uint32_t* moved = nullptr);

  /// Reads the status block at 0x8000 into m_status; IsOnline tells the outcome. Does
  /// nothing while the link is busy.
  void PollStatus();
  /// Whether the LCU answered the last status poll and the link has stayed open since.
  bool IsOnline() const { return m_bOnline != 0; }
  /// Whether an exchange that must not be interleaved is under way (see ExchangeScope).
  bool IsBusy() const { return m_bBusy != 0; }
  /// True while the LCU is logging (byte 0 of 0xFE36 AND 0x3D non-zero).
  bool IsLogging();
  /// The clock field of the last status block, split into hours and minutes.
  void GetClock(std::uint16_t& hours, std::uint16_t& minutes) const;

  /// Closes the link after a transfer that moved fewer bytes than its operation needed, so
  /// that the next poll starts afresh; the last error then names the short transfer.
  void FailShortTransfer();

  /// The text for m_dwLastError that a system-error box shows.
  std::string LastErrorText() const;
  /// Why the LCU is off line: the text of the backend's last error, which after a poll that
  /// found no node to open says what stood in the way (none attached, no permission, busy).
  std::string OfflineReason() const;

  UsbBackend& Backend() const { return m_backend; }

  /// Marks the link busy for the scope of an exchange that must not be interleaved: a block
  /// read, from its set-up request to its last bulk read, lets events through between its
  /// chunks. Nothing else may use the link meanwhile: PollStatus does nothing, the session
  /// skips its traffic and commands refuse. The scope leaves the link as busy as it found it,
  /// so that a read inside a longer exchange keeps that exchange's mark; closing the link
  /// clears the mark at once.
  class ExchangeScope {
   public:
    explicit ExchangeScope(CUsbDevice& device)
        : m_device(device), m_bWasBusy(device.m_bBusy), m_nClosesBefore(device.m_nCloses) {
      device.m_bBusy = 1;
    }
    ~ExchangeScope() {
      if (m_device.m_nCloses == m_nClosesBefore) m_device.m_bBusy = m_bWasBusy;
    }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

   private:
    CUsbDevice& m_device;
    std::int32_t m_bWasBusy;
    std::uint64_t m_nClosesBefore;
  };

  UsbHandle m_hDevice = kInvalidUsbHandle;
  std::uint32_t m_dwLastError = kErrorInvalidHandle;
  /// What the last read of the logging state (IsLogging) found: 1 logging. A closed link
  /// forgets it: the LCU may have been stopped or replaced meanwhile.
  std::int32_t m_bLoggingSeen = 0;
  std::array<std::uint8_t, kBlockSize> m_status{};

 private:
  std::int32_t m_bBusy = 0;
  std::int32_t m_bOnline = 0;
  std::uint64_t m_nCloses = 0;  // links closed so far

  void CloseWithError(std::uint32_t code);
  std::string ErrorTextOf(std::uint32_t code) const;

  UsbBackend& m_backend;
};

}  // namespace lcu
