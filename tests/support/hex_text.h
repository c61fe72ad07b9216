// Intel-HEX text for tests and benchmarks: records with their checksums, whole firmware
// files cut into records of given lengths, and conversions between text and bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lcu::test {

inline constexpr std::uint8_t kHexData = 0x00;
inline constexpr std::uint8_t kHexEndOfFile = 0x01;
inline constexpr std::uint8_t kHexExtendedSegment = 0x02;
inline constexpr std::uint8_t kHexExtendedLinear = 0x04;

/// One record line without its line end, checksum included.
inline std::string HexRecord(std::uint16_t address, std::span<const std::uint8_t> data, std::uint8_t type = kHexData) {
  std::string line = ":";
  unsigned sum = 0;
  const auto put = [&](unsigned byte) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", byte & 0xFFu);
    line += digits;
    sum += byte;
  };
  put(static_cast<unsigned>(data.size()));
  put(address >> 8u);
  put(address & 0xFFu);
  put(type);
  for (const std::uint8_t b : data) put(b);
  put((0x100u - (sum & 0xFFu)) & 0xFFu);
  return line;
}

inline std::string HexRecord(std::uint16_t address, std::initializer_list<std::uint8_t> data,
                             std::uint8_t type = kHexData) {
  return HexRecord(address, std::span<const std::uint8_t>(data.begin(), data.size()), type);
}

inline std::string HexEndRecord() { return HexRecord(0, std::span<const std::uint8_t>{}, kHexEndOfFile); }

/// Data records for bytes placed from address on, cut into records whose lengths cycle
/// through recordLengths, each line ended by lineEnd; no end-of-file record.
inline std::string HexRecords(std::uint16_t address, std::span<const std::uint8_t> bytes,
                              std::vector<std::size_t> recordLengths, std::string_view lineEnd = "\n") {
  std::string text;
  std::size_t at = 0;
  for (std::size_t i = 0; at < bytes.size(); ++i) {
    const std::size_t n = std::min(recordLengths[i % recordLengths.size()], bytes.size() - at);
    text += HexRecord(static_cast<std::uint16_t>(address + at), bytes.subspan(at, n));
    text += lineEnd;
    at += n;
  }
  return text;
}

inline std::vector<std::uint8_t> BytesOf(std::string_view text) { return {text.begin(), text.end()}; }

}  // namespace lcu::test
