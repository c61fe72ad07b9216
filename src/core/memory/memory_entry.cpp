#include "core/memory/memory_entry.h"

#include <algorithm>

#include "core/link/lcu_protocol.h"
#include "core/util/decimal_text.h"
#include "core/util/strict_number.h"

namespace lcu {

namespace {
constexpr std::int32_t kMinRange = 1;
// One LCU_READ_BLOCK brings the bytes of every row.
constexpr std::int32_t kMaxRange = static_cast<std::int32_t>(kBlockSize);
constexpr std::int64_t kLargestByte = 0xFF;
constexpr std::int64_t kLowestSignedByte = -128;
}  // namespace

std::uint16_t ParseAddressEntry(std::string_view text) {
  return static_cast<std::uint16_t>(ParseHexNumber(text) & 0xFFFFu);
}

std::optional<std::uint16_t> ConvertDatum(std::int32_t format, std::string_view text) {
  switch (static_cast<DatumFormat>(format)) {
    case DatumFormat::kHex: return ParseAddressEntry(text);
    case DatumFormat::kAscii: {
      if (text.empty()) return std::uint16_t{0};
      const auto widened = static_cast<std::int16_t>(static_cast<std::int8_t>(text.front()));
      return static_cast<std::uint16_t>(widened);
    }
    case DatumFormat::kDec:
      return static_cast<std::uint16_t>(static_cast<std::uint32_t>(ParseDecimalInt(text)) & 0xFFFFu);
    case DatumFormat::kBin: return static_cast<std::uint16_t>(ParseBinaryNumber(text) & 0xFFFFu);
  }
  return std::nullopt;
}

std::optional<std::uint16_t> ParseByteDatum(DatumFormat format, std::string_view text) {
  StrictNumber value;
  switch (format) {
    case DatumFormat::kHex: value = ParseStrictNumber(text, {NumberBase::kHex}, 0, kLargestByte); break;
    case DatumFormat::kAscii:
      if (text.size() != 1) return std::nullopt;
      return ConvertDatum(static_cast<std::int32_t>(format), text);
    case DatumFormat::kDec:
      value = ParseStrictNumber(text, {NumberBase::kDecimal, true}, kLowestSignedByte, kLargestByte);
      break;
    case DatumFormat::kBin: value = ParseStrictNumber(text, {NumberBase::kBinary}, 0, kLargestByte); break;
  }
  if (!value) return std::nullopt;
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value.value) & 0xFFFFu);
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
