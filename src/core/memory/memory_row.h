// The texts of one row of the memory window (and of `lcu peek`): one LCU byte shown as
// address, decimal, hexadecimal, character and binary.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lcu {

struct MemoryRow {
  std::string address;  // "%4.4hX"
  std::string dec;      // "%3.3hu"
  std::string hex;      // "%2.2hX"
  std::string ascii;    // the character when printable (0x20 to 0x7E), else "."
  std::string binary;   // HexToBinary of the hex text
};

/// Texts of the row for the byte at the address.
MemoryRow FormatMemoryRow(std::uint16_t address, std::uint8_t byte);

/// Binary digits of a hexadecimal text, four per digit; only "0"-"9" and "A"-"F" are
/// taken and the conversion stops at the first other character.
std::string HexToBinary(std::string_view hex);

/// Rows shown for a run of range bytes from address: never past 0xFFFF.
int MemoryRowCount(std::uint16_t address, int range);

}  // namespace lcu
