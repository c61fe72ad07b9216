// LoggerHeader: the LCU's 16384-byte header page (LCU 0x8000 to 0xBFFF), the layout shared
// by the LCU, the calibration files, the first 16384 bytes of every data file and the setup
// extract. Only the listed fields are interpreted; every other byte is carried unchanged.
//
// Behind the window at 0x8000 lies the data memory in pages of 16 KiB: the header is page 0
// and the logging buffers follow. A linear address is named by a Position (window address
// 0x8000 + address mod 16384, page = address div 16384).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/link/lcu_protocol.h"

namespace lcu {

/// Largest memory size field whose end of memory still has a 16-bit page number.
inline constexpr std::uint16_t kMaxMemorySize = 2047;

/// Header offsets of the interpreted fields.
namespace hdr {
inline constexpr std::size_t kMemorySize = 0x02;
inline constexpr std::size_t kLcuNumber = 0x04;
inline constexpr std::size_t kClock = 0x06;
inline constexpr std::size_t kStbc = 0x08;
inline constexpr std::size_t kMemoryFigure = 0x0A;
inline constexpr std::size_t kCarryCount = 0x12;
inline constexpr std::size_t kFirmwareVersion = 0x16;
inline constexpr std::size_t kDownloadTime = 0x18;
inline constexpr std::size_t kDataPresent = 0x40;
inline constexpr std::size_t kCleared44 = 0x44;
inline constexpr std::size_t kWrapFlag = 0x48;
inline constexpr std::size_t kLapsSinceReset = 0x4A;
inline constexpr std::size_t kSession = 0x4C;
inline constexpr std::size_t kOuting = 0x4E;
inline constexpr std::size_t kLapBase = 0x50;
inline constexpr std::size_t kCleared52 = 0x52;
inline constexpr std::size_t kLogbookFirstBlock = 0x56;  // 32 bytes
inline constexpr std::size_t kQmtWord = 0x76;
inline constexpr std::size_t kPaceLaps = 0x7C;
inline constexpr std::size_t kLogbook80 = 0x80;
inline constexpr std::size_t kLogbookTotal = 0x84;
inline constexpr std::size_t kLogbookResetTime = 0x88;
inline constexpr std::size_t kLogbook90 = 0x90;
inline constexpr std::size_t kLogbook94 = 0x94;
inline constexpr std::size_t kLogbook98 = 0x98;
inline constexpr std::size_t kLogbookTail = 0x9A;         // 6 bytes
inline constexpr std::size_t kLogbookSecondBlock = 0xA0;  // 96 bytes
inline constexpr std::size_t kConfigId = 0x100;           // 15 characters
inline constexpr std::size_t kConfigIdLength = 15;
inline constexpr std::size_t kConfigVersion = 0x110;  // 7 characters
inline constexpr std::size_t kConfigVersionLength = 7;
inline constexpr std::size_t kBufferCount = 0x900;
inline constexpr std::size_t kFirstBufferSize = 0x902;
inline constexpr std::size_t kBufferTable = 0xA02;
inline constexpr std::size_t kBufferEntrySize = 12;
inline constexpr std::size_t kQmtBlock = 0x1BCA;      // 16 bytes
inline constexpr std::size_t kChannelNames = 0x1780;  // the buffer table must end below it
}  // namespace hdr

/// Logging rates in samples per second, indexed by rate code 0 to 9.
inline constexpr std::array<std::uint32_t, 10> kRates = {1000, 500, 200, 100, 50, 20, 10, 5, 2, 1};

/// A data-memory position as the LCU names it.
struct Position {
  std::uint16_t window = kWindowBase;
  std::uint16_t page = 0;
  friend bool operator==(const Position&, const Position&) = default;
};

/// Position of a linear data-memory address.
Position PositionOf(std::uint32_t linear);
/// Linear address of a position (window address taken modulo 16384).
std::uint64_t LinearOf(Position position);
/// Distance from one position to another in 32-bit arithmetic, as a byte count.
std::uint32_t Distance(Position from, Position to);

/// One 12-byte logging-buffer descriptor.
struct LogBufferEntry {
  std::uint8_t rateCode = 0;
  std::uint8_t weight = 0;
  Position start;
  Position end;
  std::uint16_t carried = 0;  // not interpreted
  friend bool operator==(const LogBufferEntry&, const LogBufferEntry&) = default;
};

/// Where buffer i's data lies and in which order a download writes it.
struct BufferExtent {
  std::uint32_t length = 0;       // bytes of data
  Position readFrom;              // where the single block read starts (the buffer's start)
  std::uint32_t olderOffset = 0;  // offset in the block of the part written first
  std::uint32_t olderLength = 0;  // its length (D2; 0 when not wrapped)
  std::uint32_t newerLength = 0;  // length of the part from the block's start (D1)
};

class LoggerHeader {
 public:
  LoggerHeader() = default;
  explicit LoggerHeader(std::span<const std::uint8_t, kLoggerHeaderSize> bytes);

  std::span<std::uint8_t, kLoggerHeaderSize> Bytes() { return m_bytes; }
  std::span<const std::uint8_t, kLoggerHeaderSize> Bytes() const { return m_bytes; }

  std::uint16_t U16(std::size_t offset) const;
  std::uint32_t U32(std::size_t offset) const;
  void SetU16(std::size_t offset, std::uint16_t value);
  void SetU32(std::size_t offset, std::uint32_t value);

  std::uint16_t MemorySize() const { return U16(hdr::kMemorySize); }
  std::uint16_t LcuNumber() const { return U16(hdr::kLcuNumber); }
  std::uint32_t DataPresent() const { return U32(hdr::kDataPresent); }
  std::uint16_t WrapFlag() const { return U16(hdr::kWrapFlag); }
  std::uint16_t BufferCount() const { return U16(hdr::kBufferCount); }
  std::uint64_t DownloadTime() const;
  void SetDownloadTime(std::uint64_t fileTime);
  /// A fixed-length text field, cut at its first NUL.
  std::string Text(std::size_t offset, std::size_t length) const;

  /// The size of the data memory in bytes (memory size field x 512 KiB).
  std::uint64_t DataMemoryBytes() const { return static_cast<std::uint64_t>(MemorySize()) * kMemoryUnit; }

  /// Offset of buffer entry i (entry N is the end marker).
  static constexpr std::size_t EntryOffset(std::size_t i) { return hdr::kBufferTable + i * hdr::kBufferEntrySize; }
  /// Highest buffer count whose N + 1 entries end at or below the given offset.
  static std::size_t MaxBufferCount(std::size_t limit);

  LogBufferEntry Entry(std::size_t i) const;
  void SetEntry(std::size_t i, const LogBufferEntry& entry);

  /// Extent of buffer i (0 <= i < N) as the download takes it, following the wrap flag.
  BufferExtent ExtentOf(std::size_t i) const;

  friend bool operator==(const LoggerHeader&, const LoggerHeader&) = default;

 private:
  std::array<std::uint8_t, kLoggerHeaderSize> m_bytes{};
};

/// What is wrong with a buffer table.
enum class BufferTableFault {
  kTooManyBuffers,     // the N + 1 entries do not fit the header page
  kWindowOutside,      // a window address lies outside 0x8000 to 0xBFFF
  kStartInHeaderPage,  // the buffer starts inside page 0
  kEndBeforeStart,     // its end position lies before its start
  kRegionBeforeStart,  // wrapped: the next entry starts before this one
  kEndOutsideRegion,   // wrapped: its end position lies past its region
  kPastMemoryEnd,      // the data a download reads runs past the end of the data memory
};

struct BufferTableProblem {
  BufferTableFault fault = BufferTableFault::kTooManyBuffers;
  /// The entry at fault (the buffer count for kTooManyBuffers).
  std::size_t entry = 0;
  friend bool operator==(const BufferTableProblem&, const BufferTableProblem&) = default;
};

/// Checks that the buffer table fits its page and that every buffer extent lies inside the
/// data memory, in order, before the header is used to index memory. Returns the first
/// problem, in entry order.
std::optional<BufferTableProblem> FindBufferTableProblem(const LoggerHeader& header);

/// The line that names the entry and what is wrong with it, shown below "Logger header is
/// invalid.", e.g. "Entry 2 ends past the end of memory.".
std::string BufferTableProblemText(const BufferTableProblem& problem);

/// The line shown below "Logger header is invalid." for a memory size field outside 1 to
/// kMaxMemorySize.
std::string MemorySizeProblemText(std::uint32_t memorySize);

/// FindBufferTableProblem as the message to show ("Logger header is invalid.") when there
/// is a problem.
std::optional<std::string_view> ValidateBufferTable(const LoggerHeader& header);

}  // namespace lcu
