#include "core/firmware/hex_writer.h"

#include <algorithm>

namespace lcu {

std::string HexRecord(std::uint16_t address, std::span<const std::uint8_t> data, std::uint8_t type) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string line = ":";
  unsigned sum = 0;
  const auto put = [&](unsigned byte) {
    byte &= 0xFFu;
    line += kDigits[byte >> 4u];
    line += kDigits[byte & 0x0Fu];
    sum += byte;
  };
  put(static_cast<unsigned>(data.size()));
  put(address >> 8u);
  put(address & 0xFFu);
  put(type);
  for (const std::uint8_t b : data) put(b);
  put(0x100u - (sum & 0xFFu));
  return line;
}

std::string HexRecord(std::uint16_t address, std::initializer_list<std::uint8_t> data, std::uint8_t type) {
  return HexRecord(address, std::span<const std::uint8_t>(data.begin(), data.size()), type);
}

std::string HexEndRecord() { return HexRecord(0, std::span<const std::uint8_t>{}, kHexEndOfFile); }

std::string HexRecords(std::uint16_t address, std::span<const std::uint8_t> bytes,
                       const std::vector<std::size_t>& recordLengths, std::string_view lineEnd) {
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

}  // namespace lcu
