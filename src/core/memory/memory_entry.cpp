#include "core/memory/memory_entry.h"

#include <algorithm>

#include "core/link/lcu_protocol.h"
#include "core/util/decimal_text.h"

namespace lcu {

namespace {
constexpr std::int32_t kMinRange = 1;
// One LCU_READ_BLOCK brings the bytes of every row.
constexpr std::int32_t kMaxRange = static_cast<std::int32_t>(kBlockSize);
constexpr std::int64_t kLargestByte = 0xFF;
constexpr std::int64_t kLowestSignedByte = -128;

// The value of a run of digits in a base, or nullopt when a character is no digit of it or
// there are none; values past the byte stop the reading, as they are refused anyway.
std::optional<std::int64_t> DigitsValue(std::string_view text, int base) {
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    int digit = base;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit >= base) return std::nullopt;
    value = std::min<std::int64_t>(value * base + digit, kLargestByte + 1);
  }
  return value;
}
}  // namespace

std::uint16_t ParseAddressEntry(std::string_view text) {
  return static_cast<std::uint16_t>(ParseHexNumber(text) & 0xFFFFu);
}

std::optional<std::uint16_t> ConvertDatum(std::int32_t format, std::string_view text) {
  switch (static_cast<DatumFormat>(format)) {
    case DatumFormat::kHex:
      return ParseAddressEntry(text);
    case DatumFormat::kAscii: {
      if (text.empty()) return std::uint16_t{0};
      const auto widened = static_cast<std::int16_t>(static_cast<std::int8_t>(text.front()));
      return static_cast<std::uint16_t>(widened);
    }
    case DatumFormat::kDec:
      return static_cast<std::uint16_t>(static_cast<std::uint32_t>(ParseDecimalInt(text)) & 0xFFFFu);
    case DatumFormat::kBin:
      return static_cast<std::uint16_t>(ParseBinaryNumber(text) & 0xFFFFu);
  }
  return std::nullopt;
}

std::optional<std::uint16_t> ParseByteDatum(DatumFormat format, std::string_view text) {
  std::optional<std::int64_t> value;
  std::int64_t lowest = 0;
  switch (format) {
    case DatumFormat::kHex:
      if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
      value = DigitsValue(text, 16);
      break;
    case DatumFormat::kAscii:
      if (text.size() != 1) return std::nullopt;
      return ConvertDatum(static_cast<std::int32_t>(format), text);
    case DatumFormat::kDec: {
      const bool negative = !text.empty() && text.front() == '-';
      if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
      value = DigitsValue(text, 10);
      if (value && negative) value = -*value;
      lowest = kLowestSignedByte;
      break;
    }
    case DatumFormat::kBin:
      value = DigitsValue(text, 2);
      break;
  }
  if (!value || *value < lowest || *value > kLargestByte) return std::nullopt;
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(*value) & 0xFFFFu);
}

std::string_view InitialDatumText(std::int32_t lastFormat) {
  return lastFormat == static_cast<std::int32_t>(DatumFormat::kAscii) ? " " : "0";
}

std::uint16_t StepAddress(std::uint16_t address, std::int32_t range, std::int32_t delta) {
  const std::int64_t v = static_cast<std::int64_t>(address) - static_cast<std::int64_t>(range) * delta;
  return static_cast<std::uint16_t>(std::clamp<std::int64_t>(v, 0, 0xFFFF));
}

bool IsValidMemoryRange(std::int64_t range) { return range >= kMinRange && range <= kMaxRange; }

}  // namespace lcu
