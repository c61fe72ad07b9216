#include "core/util/decimal_text.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace lcu {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'z')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'Z')
    v = c - 'A' + 10;
  return v < base ? v : -1;
}

// Reads a number in the given base the way the original platform's strtol does: a value
// beyond the 32-bit signed range saturates at its limit.
bool ParseNumber(std::string_view text, int base, bool allowHexPrefix, std::int64_t& result) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (allowHexPrefix && i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
      i + 2 < text.size() && DigitValue(text[i + 2], 16) >= 0) {
    i += 2;
  }
  constexpr std::int64_t kLimit = std::int64_t{1} << 31;
  std::int64_t value = 0;
  bool any = false;
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i], base);
    if (d < 0) break;
    any = true;
    value = value * base + d;
    if (value > kLimit) value = kLimit;
  }
  result = negative ? -value : std::min<std::int64_t>(value, kLimit - 1);
  return any;
}

}  // namespace

bool TryParseDecimalInt(std::string_view text, std::int32_t& value) {
  std::int64_t v = 0;
  const bool any = ParseNumber(text, 10, false, v);
  if (v > std::numeric_limits<std::int32_t>::max()) v = std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) v = std::numeric_limits<std::int32_t>::min();
  value = static_cast<std::int32_t>(v);
  return any;
}

std::int32_t ParseDecimalInt(std::string_view text) {
  std::int32_t v = 0;
  TryParseDecimalInt(text, v);
  return v;
}

std::uint32_t ParseHexNumber(std::string_view text) {
  std::int64_t v = 0;
  ParseNumber(text, 16, true, v);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) & 0xFFFFFFFFu);
}

std::uint32_t ParseBinaryNumber(std::string_view text) {
  std::int64_t v = 0;
  ParseNumber(text, 2, false, v);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) & 0xFFFFFFFFu);
}

}  // namespace lcu
