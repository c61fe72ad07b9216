// Reading a download data file: the 16384-byte logger header as read from the LCU (with the
// download time stamped into bytes 0x18 to 0x1F), followed by the data of each logging
// buffer in entry order. The header tells where each buffer's data lies and how long the
// complete file is; a file that is shorter is what a stopped or failed download leaves. A
// download that the LCU logged into while it was read may mix older and newer data: its file
// carries, behind the last buffer, the 16384-byte header read afterwards, and so is never
// taken for complete.
//
// The reader works over bytes, never indexes outside them, and refuses a file whose header
// could not have come from a download or whose buffer table does not fit its memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/clock.h"
#include "core/host/prompter.h"
#include "core/logger/logger_header.h"

namespace lcu {

/// One logging buffer as a data file holds it.
struct DataFileBuffer {
  std::uint8_t rateCode = 0;
  /// Samples per second; none for a rate code above 9.
  std::optional<std::uint32_t> rate;
  std::uint8_t weight = 0;
  /// Bytes of the buffer's data in a complete file.
  std::uint32_t length = 0;
  /// File offset where its data begins.
  std::uint64_t offset = 0;
  /// Bytes of its data that the file holds (less than length in an incomplete file).
  std::uint64_t bytesPresent = 0;
};

struct DataFileInfo {
  std::uint16_t lcuNumber = 0;
  /// The download time as stored: a Windows file-time count of the local time.
  std::uint64_t downloadFileTime = 0;
  LocalTime downloadTime;
  /// Session, outing, lap count and pace laps as the Session Data dialog would show them.
  SessionDataValues session;
  bool wrapped = false;
  std::vector<DataFileBuffer> buffers;
  /// Length of the complete file: the header and every buffer's data.
  std::uint64_t expectedSize = 0;
  std::uint64_t fileSize = 0;
  /// The file carries the header read after its download behind the last buffer: the LCU
  /// logged while it was read, and the data may mix older and newer parts.
  bool loggedDuring = false;

  bool Complete() const { return fileSize == expectedSize; }
};

/// Reads what a data file holds from its first bytes (at least the 16384-byte header; more
/// is not looked at) and its size on disk, so that a caller need not load a large file. On
/// refusal returns nullopt and sets error to the message to show.
std::optional<DataFileInfo> ReadDataFileInfo(std::span<const std::uint8_t> start, std::uint64_t fileSize,
                                             std::string_view& error);

/// ReadDataFileInfo over the whole file's bytes.
std::optional<DataFileInfo> ReadDataFile(std::span<const std::uint8_t> bytes, std::string_view& error);

/// The part of a buffer's data that the file's bytes hold; empty when none.
std::span<const std::uint8_t> BufferData(std::span<const std::uint8_t> file, const DataFileBuffer& buffer);

/// A download time as the report shows it: "2024-05-01 10:20:30.123" (local time).
std::string DownloadTimeText(const LocalTime& time);

/// The report of `lcu dat-info`: one "Label : value" line per item, then one line per
/// buffer ("Buffer i : rate, weight, length"), then the file's size and completeness.
std::string FormatDataFileInfo(const DataFileInfo& info);

}  // namespace lcu
