// Telling the UTF-8 characters in the 8-bit text of the LCU and of setup files from bytes that
// are not part of one, for the output that must escape or convert such bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace lcu::cli {

/// The length of the valid UTF-8 sequence of two to four bytes at the start of text, or 0:
/// no overlong forms, no surrogates, nothing above U+10FFFF. A byte below 0x80 gives 0 too.
std::size_t Utf8SequenceLength(std::string_view text);

/// The code point of one valid sequence of one to four bytes (as Utf8SequenceLength measures).
char32_t Utf8CodePoint(std::string_view sequence);

/// The marks that override or isolate the direction of the text around them (U+202A to
/// U+202E, U+2066 to U+2069): shown raw they can make a line read as something else.
constexpr bool IsDirectionOverride(char32_t c) { return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069); }

}  // namespace lcu::cli
