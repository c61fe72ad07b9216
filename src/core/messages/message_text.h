// Filling in the placeholders of the system's messages: "%u" stands for a number (a line, an
// entry, a count) and "%s" for a text (an address, the system's words).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lcu {

/// The message with its first "%u" replaced by the number.
std::string WithNumber(std::string_view message, std::size_t number);

/// The message with its first "%s" replaced by the text.
std::string WithText(std::string_view message, std::string_view text);

}  // namespace lcu
