// Text at the edge of the Windows API: the programs keep text in UTF-8, the system's wide
// functions take UTF-16. Converting at this one edge lets a path or a setting hold any
// character, whatever the user's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace lcu::win {

/// UTF-8 to UTF-16; an invalid sequence becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
/// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

/// The system's own text for an error code (FormatMessageW), without the line break it ends
/// with; "Error N" when the system has none.
std::string SystemErrorText(unsigned long code);

}  // namespace lcu::win
