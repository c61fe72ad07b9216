#include "core/memory/memory_row.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/link/lcu_protocol.h"

namespace lcu {

MemoryRow FormatMemoryRow(std::uint16_t address, std::uint8_t byte) {
  MemoryRow row;
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "%4.4hX", address);
  row.address = text.data();
  std::snprintf(text.data(), text.size(), "%3.3hu", static_cast<unsigned short>(byte));
  row.dec = text.data();
  std::snprintf(text.data(), text.size(), "%2.2hX", static_cast<unsigned short>(byte));
  row.hex = text.data();
  row.ascii = (byte >= 0x20 && byte <= 0x7E) ? std::string(1, static_cast<char>(byte)) : std::string(".");
  row.binary = HexToBinary(row.hex);
  return row;
}

std::string HexToBinary(std::string_view hex) {
  static constexpr std::array<const char*, 16> kGroups = {"0000", "0001", "0010", "0011", "0100", "0101",
                                                          "0110", "0111", "1000", "1001", "1010", "1011",
                                                          "1100", "1101", "1110", "1111"};
  std::string out;
  for (const char c : hex) {
    int v = -1;
    if (c >= '0' && c <= '9')
      v = c - '0';
    else if (c >= 'A' && c <= 'F')
      v = c - 'A' + 10;
    if (v < 0) break;
    out += kGroups[static_cast<std::size_t>(v)];
  }
  return out;
}

int MemoryRowCount(std::uint16_t address, int range) {
  const int room = static_cast<int>(kAddressSpaceEnd) - address;
  return std::clamp(range, 0, room);
}

}  // namespace lcu
