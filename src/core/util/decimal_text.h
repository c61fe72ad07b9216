// Number conversions of the system's settings and dialog texts, with the C library's
// lenient rules (leading blanks and a sign accepted, digits read up to the first other
// character, no digits giving 0), but without its undefined behaviour on overflow.
#pragma once

#include <cstdint>
#include <string_view>

namespace lcu {

// Decimal conversion like atoi: "  -12abc" gives -12, "abc" gives 0. Values beyond the
// 32-bit range are clamped.
std::int32_t ParseDecimalInt(std::string_view text);

// Like ParseDecimalInt, but reports whether any digit was read.
bool TryParseDecimalInt(std::string_view text, std::int32_t& value);

// Hexadecimal conversion like strtol(text, nullptr, 16): leading blanks, a sign and a
// 0x prefix accepted; reading stops at the first non-digit; nothing readable gives 0.
// The result is the number's two's complement cut to 32 bits.
std::uint32_t ParseHexNumber(std::string_view text);

// Base-2 conversion like strtol(text, nullptr, 2), cut to 32 bits.
std::uint32_t ParseBinaryNumber(std::string_view text);

}  // namespace lcu
