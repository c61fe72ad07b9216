#include "firmware/hex_image.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "app/messages.h"
#include "util/little_endian.h"

namespace lcu {

namespace {

// Positions within a record line; position 0 is the colon.
constexpr std::size_t kCountAt = 1;
constexpr std::size_t kAddressAt = 3;
constexpr std::size_t kAddressDigits = 4;
constexpr std::size_t kDataAt = 9;
constexpr std::size_t kChecksumDigits = 2;

constexpr std::array<std::int8_t, 256> kHexValue = [] {
  std::array<std::int8_t, 256> table{};
  table.fill(-1);
  for (int i = 0; i < 10; ++i) table[static_cast<std::size_t>('0' + i)] = static_cast<std::int8_t>(i);
  for (int i = 0; i < 6; ++i) {
    table[static_cast<std::size_t>('A' + i)] = static_cast<std::int8_t>(10 + i);
    table[static_cast<std::size_t>('a' + i)] = static_cast<std::int8_t>(10 + i);
  }
  return table;
}();

// The load address as the LCU's tools read it: up to four characters from position 3,
// stopping at the first that is not a hexadecimal digit (or at the line's end).
std::uint32_t LenientAddress(std::span<const std::uint8_t> line) {
  std::uint32_t value = 0;
  const std::size_t end = std::min(line.size(), kAddressAt + kAddressDigits);
  for (std::size_t i = kAddressAt; i < end; ++i) {
    const int digit = kHexValue[line[i]];
    if (digit < 0) break;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

// The byte whose two hex digits start at pos, or -1 when either is not a digit. The caller
// has made sure that both positions lie inside the line.
int ByteAt(std::span<const std::uint8_t> line, std::size_t pos) {
  const int high = kHexValue[line[pos]];
  const int low = kHexValue[line[pos + 1]];
  if ((high | low) < 0) return -1;
  return high * 16 + low;
}

bool IsBlank(std::uint8_t c) { return c == ' ' || c == '\t'; }

// Checks and places one record whose start address lies in the load window.
HexError PlaceRecord(std::span<const std::uint8_t> line, std::uint32_t address, FirmwareImageSpan image) {
  if (line.size() > kHexLineLimit) return HexError::kLineTooLong;
  if (line.size() < kDataAt + kChecksumDigits) return HexError::kInvalidRecord;
  // Count, address and type: the four bytes before the data, all in the checksum.
  unsigned sum = 0;
  for (std::size_t pos = kCountAt; pos < kDataAt; pos += 2) {
    const int b = ByteAt(line, pos);
    if (b < 0) return HexError::kInvalidRecord;
    sum += static_cast<unsigned>(b);
  }
  const auto count = static_cast<std::size_t>(ByteAt(line, kCountAt));
  const std::size_t checksumAt = kDataAt + 2 * count;
  if (line.size() < checksumAt + kChecksumDigits) return HexError::kInvalidRecord;

  const std::size_t offset = address - kFirmwareBase;
  const bool fits = count <= image.size() - offset;
  for (std::size_t k = 0; k < count; ++k) {
    const int b = ByteAt(line, kDataAt + 2 * k);
    if (b < 0) return HexError::kInvalidRecord;
    sum += static_cast<unsigned>(b);
    if (fits) image[offset + k] = static_cast<std::uint8_t>(b);
  }
  const int checksum = ByteAt(line, checksumAt);
  if (checksum < 0) return HexError::kInvalidRecord;
  if (!std::all_of(line.begin() + static_cast<std::ptrdiff_t>(checksumAt + kChecksumDigits), line.end(), IsBlank))
    return HexError::kInvalidRecord;
  if (((sum + static_cast<unsigned>(checksum)) & 0xFFu) != 0) return HexError::kBadChecksum;
  if (!fits) return HexError::kPastImageEnd;
  return HexError::kNone;
}

// The text with its line-number placeholder replaced.
std::string WithLine(std::string_view text, std::size_t line) {
  constexpr std::string_view kPlaceholder = "%u";
  std::string out(text);
  const std::size_t at = out.find(kPlaceholder);
  if (at != std::string::npos) out.replace(at, kPlaceholder.size(), std::to_string(line));
  return out;
}

}  // namespace

HexReadResult ReadHexImage(std::span<const std::uint8_t> file, FirmwareImageSpan image) {
  std::fill(image.begin(), image.end(), std::uint8_t{0});
  if (file.size() > kHexFileLimit) return {HexError::kFileTooLarge, 0};

  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start < file.size()) {
    ++lineNumber;
    const auto* newline = static_cast<const std::uint8_t*>(std::memchr(file.data() + start, '\n', file.size() - start));
    const std::size_t end = newline == nullptr ? file.size() : static_cast<std::size_t>(newline - file.data());
    std::span<const std::uint8_t> line = file.subspan(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line = line.first(line.size() - 1);

    if (line.empty() || line[0] != ':') continue;
    const std::uint32_t address = LenientAddress(line);
    if (address < kFirmwareBase || address >= kLoadWindowEnd) continue;
    const HexError error = PlaceRecord(line, address, image);
    if (error != HexError::kNone) return {error, lineNumber};
  }
  SealFirmwareImage(image);
  return {};
}

std::string HexErrorText(const HexReadResult& result) {
  switch (result.error) {
    case HexError::kNone:
      return {};
    case HexError::kFileTooLarge:
      return std::string(msg::kHexFileTooLarge);
    case HexError::kInvalidRecord:
      return WithLine(msg::kHexLineInvalid, result.line);
    case HexError::kBadChecksum:
      return WithLine(msg::kHexLineBadChecksum, result.line);
    case HexError::kPastImageEnd:
      return WithLine(msg::kHexLinePastProgramMemory, result.line);
    case HexError::kLineTooLong:
      return WithLine(msg::kHexLineTooLong, result.line);
  }
  return {};
}

std::uint16_t FirmwareChecksum(std::span<const std::uint8_t, kFirmwareImageSize> image) {
  std::uint32_t sum = 0;
  for (std::size_t offset = 0; offset < kFirmwareChecksumOffset; offset += 2) sum += le::U16(image, offset);
  return static_cast<std::uint16_t>(sum & 0xFFFFu);
}

void SealFirmwareImage(FirmwareImageSpan image) { le::PutU16(image, kFirmwareChecksumOffset, FirmwareChecksum(image)); }

}  // namespace lcu
