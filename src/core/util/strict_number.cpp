#include "core/util/strict_number.h"

namespace lcu {

namespace {

// Magnitudes beyond every range a caller asks for stop growing here, so that any number of
// digits reads without overflow and still counts as out of range.
constexpr std::int64_t kSaturated = std::int64_t{1} << 62;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

bool HasHexPrefix(std::string_view text) {
  return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

StrictNumber ParseStrictNumber(std::string_view text, NumberForm form, std::int64_t lowest, std::int64_t highest) {
  StrictNumber result;
  if (form.blanks) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  }
  bool negative = false;
  if (form.sign && !text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (form.base == NumberBase::kBinary) base = 2;
  if (form.base == NumberBase::kHex || (form.base == NumberBase::kDecimalOrHex && HasHexPrefix(text))) {
    base = 16;
    if (HasHexPrefix(text)) text.remove_prefix(2);
  }
  if (text.empty() || (form.maxDigits != 0 && text.size() > form.maxDigits)) return result;
  std::int64_t magnitude = 0;
  for (const char c : text) {
    const int digit = DigitValue(c);
    if (digit < 0 || digit >= base) return result;
    magnitude = magnitude > kSaturated / base ? kSaturated : magnitude * base + digit;
  }
  result.value = negative ? -magnitude : magnitude;
  result.error = result.value < lowest || result.value > highest ? NumberError::kOutOfRange : NumberError::kNone;
  return result;
}

}  // namespace lcu
