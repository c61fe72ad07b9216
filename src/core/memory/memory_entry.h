// The entries of the memory window's dialogs: the address bar's address and page steps, and
// the write dialog's datum in its four formats. Shared by the memory window and `lcu poke`.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lcu {

/// The write dialog's formats, in the order of its radio buttons.
enum class DatumFormat : std::int32_t { kHex = 0, kAscii = 1, kDec = 2, kBin = 3 };

/// The address typed into the address bar: read as hexadecimal (leading blanks, a sign and a
/// 0x prefix accepted, reading stops at the first other character, nothing readable gives
/// 0), cut to 16 bits. "12345" gives 0x2345 and "-1" gives 0xFFFF.
std::uint16_t ParseAddressEntry(std::string_view text);

/// The 16-bit datum of the write dialog's entry. Hex and Dec read like the address (Dec in
/// decimal, a negative number giving its two's complement), Bin reads base 2, ASCII takes the
/// first character as a signed 8-bit value widened to 16 bits (0x80-0xFF give 0xFF80-0xFFFF,
/// an empty text 0). A format outside 0 to 3 gives nullopt: nothing is written.
std::optional<std::uint16_t> ConvertDatum(std::int32_t format, std::string_view text);

/// A value for one byte of LCU memory given in a format (`lcu poke`): the datum the write
/// dialog makes of it, or nullopt when the text is not a number of its format or does not
/// fit the byte the LCU stores. Hex 0 to FF (an optional 0x), Dec -128 to 255 (a negative
/// value as its two's complement, -1 giving 0xFFFF as in the dialog), Bin 0 to 11111111,
/// ASCII exactly one byte. Nothing around the value is allowed.
std::optional<std::uint16_t> ParseByteDatum(DatumFormat format, std::string_view text);

/// The text the write dialog's data box opens with for the last format used.
std::string_view InitialDatumText(std::int32_t lastFormat);

/// One step of the address bar's spin control: the address moves by one page of range bytes,
/// towards lower addresses for delta +1 and higher ones for delta -1, kept within 0..0xFFFF.
std::uint16_t StepAddress(std::uint16_t address, std::int32_t range, std::int32_t delta);

/// The address bar's range check: 1 to 64 rows.
bool IsValidMemoryRange(std::int64_t range);

}  // namespace lcu
