#include "core/firmware/hex_image.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstring>
#include <string_view>

#include "core/messages/message_text.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {

// Positions within a record line; position 0 is the colon.
constexpr std::size_t kCountAt = 1;
constexpr std::size_t kAddressAt = 3;
constexpr std::size_t kAddressDigits = 4;
constexpr std::size_t kTypeAt = 7;
constexpr std::size_t kDataAt = 9;
constexpr std::size_t kChecksumDigits = 2;

// Record types that decide what a file means; 03 and 05 (start addresses) are skipped.
constexpr int kDataType = 0x00;
constexpr int kEndOfFileType = 0x01;
constexpr int kExtendedSegmentType = 0x02;
constexpr int kExtendedLinearType = 0x04;
constexpr int kLastKnownType = 0x05;
constexpr std::size_t kExtendedAddressBytes = 2;

constexpr std::array<std::uint8_t, 3> kByteOrderMark = {0xEF, 0xBB, 0xBF};
// Data addresses a record outside the window can reach: a 16-bit start and up to 255 bytes.
constexpr std::size_t kAddressSpan = 0x10000 + 0xFF;

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

// The whole four-digit load address, or -1 when a digit is not hexadecimal. The caller has
// made sure that the line reaches past it.
std::int32_t WholeAddress(std::span<const std::uint8_t> line) {
  std::int32_t value = 0;
  for (std::size_t i = kAddressAt; i < kAddressAt + kAddressDigits; ++i) {
    const int digit = kHexValue[line[i]];
    if (digit < 0) return -1;
    value = value * 16 + digit;
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

// One record that has been checked to be whole and exact.
struct Record {
  std::size_t count = 0;
  std::array<std::uint8_t, 255> data{};
};

// Checks that a record line is whole and exact and decodes its count and data.
HexError CheckRecord(std::span<const std::uint8_t> line, Record& record) {
  if (line.size() < kDataAt + kChecksumDigits) return HexError::kInvalidRecord;
  // Count, address and type: the four bytes before the data, all in the checksum.
  unsigned sum = 0;
  for (std::size_t pos = kCountAt; pos < kDataAt; pos += 2) {
    const int b = ByteAt(line, pos);
    if (b < 0) return HexError::kInvalidRecord;
    sum += static_cast<unsigned>(b);
  }
  record.count = static_cast<std::size_t>(ByteAt(line, kCountAt));
  const std::size_t checksumAt = kDataAt + 2 * record.count;
  if (line.size() < checksumAt + kChecksumDigits) return HexError::kInvalidRecord;
  for (std::size_t k = 0; k < record.count; ++k) {
    const int b = ByteAt(line, kDataAt + 2 * k);
    if (b < 0) return HexError::kInvalidRecord;
    sum += static_cast<unsigned>(b);
    record.data[k] = static_cast<std::uint8_t>(b);
  }
  const int checksum = ByteAt(line, checksumAt);
  if (checksum < 0) return HexError::kInvalidRecord;
  if (!std::all_of(line.begin() + static_cast<std::ptrdiff_t>(checksumAt + kChecksumDigits), line.end(), IsBlank))
    return HexError::kInvalidRecord;
  if (((sum + static_cast<unsigned>(checksum)) & 0xFFu) != 0) return HexError::kBadChecksum;
  return HexError::kNone;
}

// The record type as far as the line shows one: -1 when it is too short or not hexadecimal.
int TypeOf(std::span<const std::uint8_t> line) { return line.size() < kDataAt ? -1 : ByteAt(line, kTypeAt); }

bool IsExtendedAddress(int type) { return type == kExtendedSegmentType || type == kExtendedLinearType; }

// Where the line that begins at start ends, and where the next one begins: a line ends at
// LF, CR LF or a lone CR.
struct LineEnd {
  std::size_t end;
  std::size_t next;
};

LineEnd FindLineEnd(std::span<const std::uint8_t> file, std::size_t start) {
  const std::uint8_t* from = file.data() + start;
  const std::size_t rest = file.size() - start;
  const auto* lf = static_cast<const std::uint8_t*>(std::memchr(from, '\n', rest));
  const std::size_t upTo = lf == nullptr ? rest : static_cast<std::size_t>(lf - from);
  const auto* cr = static_cast<const std::uint8_t*>(std::memchr(from, '\r', upTo));
  if (cr == nullptr) return {start + upTo, start + upTo + 1};
  const std::size_t end = start + static_cast<std::size_t>(cr - from);
  return {end, end + (end + 1 < file.size() && file[end + 1] == '\n' ? 2 : 1)};
}

// The ignored bytes among addresses [from, to).
IgnoredBytes IgnoredIn(const std::bitset<kAddressSpan>& ignored, std::size_t from, std::size_t to) {
  IgnoredBytes bytes;
  for (std::size_t address = from; address < to; ++address) {
    if (!ignored[address]) continue;
    if (bytes.count++ == 0) bytes.first = static_cast<std::uint32_t>(address);
    bytes.last = static_cast<std::uint32_t>(address);
  }
  return bytes;
}

}  // namespace

HexReadResult ReadHexImage(std::span<const std::uint8_t> file, FirmwareImageSpan image) {
  std::fill(image.begin(), image.end(), std::uint8_t{0});
  if (file.size() > kHexFileLimit) return {HexError::kFileTooLarge, 0};

  std::bitset<kFirmwareImageSize> covered;
  std::bitset<kAddressSpan> ignored;
  bool endRecord = false;
  bool extended = false;  // an extended address record with a non-zero value is in force
  Record record;
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  if (file.size() >= kByteOrderMark.size() && std::equal(kByteOrderMark.begin(), kByteOrderMark.end(), file.begin()))
    start = kByteOrderMark.size();
  while (start < file.size()) {
    ++lineNumber;
    const LineEnd lineEnd = FindLineEnd(file, start);
    const std::span<const std::uint8_t> line = file.subspan(start, lineEnd.end - start);
    start = lineEnd.next;

    if (line.empty()) continue;
    if (line[0] != ':') {
      if (std::find(line.begin(), line.end(), std::uint8_t{':'}) != line.end())
        return {HexError::kTextBeforeColon, lineNumber};
      continue;
    }
    const int type = TypeOf(line);
    if (line.size() >= kDataAt && type < 0) return {HexError::kInvalidRecord, lineNumber};
    if (type > kLastKnownType) return {HexError::kUnknownType, lineNumber};
    if (type == kEndOfFileType || IsExtendedAddress(type)) {
      if (const HexError error = CheckRecord(line, record); error != HexError::kNone) return {error, lineNumber};
      if (type == kEndOfFileType) {
        endRecord = true;
        continue;
      }
      if (record.count != kExtendedAddressBytes) return {HexError::kInvalidRecord, lineNumber};
      extended = record.data[0] != 0 || record.data[1] != 0;
      continue;
    }
    if (type > kDataType) continue;  // a start address: nothing to place
    const std::uint32_t address = LenientAddress(line);
    const bool inWindow = address >= kFirmwareBase && address < kLoadWindowEnd;
    if (extended && (inWindow || type == kDataType)) return {HexError::kExtendedData, lineNumber};
    if (!inWindow) {
      // A line too short for a type places nothing, and nothing can be said of its bytes.
      const std::int32_t whole = type == kDataType ? WholeAddress(line) : -1;
      const int count = whole < 0 ? -1 : ByteAt(line, kCountAt);
      if (count <= 0) continue;
      const auto first = static_cast<std::size_t>(whole);
      const std::size_t end = first + static_cast<std::size_t>(count);
      if (first < kFirmwareBase && end > kFirmwareBase) return {HexError::kIntoWindow, lineNumber};
      for (std::size_t a = first; a < end; ++a) ignored.set(a);
      continue;
    }
    if (const HexError error = CheckRecord(line, record); error != HexError::kNone) return {error, lineNumber};
    const std::size_t offset = address - kFirmwareBase;
    if (record.count > image.size() - offset) return {HexError::kPastImageEnd, lineNumber};
    std::copy_n(record.data.begin(), record.count, image.begin() + static_cast<std::ptrdiff_t>(offset));
    for (std::size_t k = 0; k < record.count; ++k) covered.set(offset + k);
  }
  if (covered.none()) return {HexError::kNoData, 0};
  if (!endRecord) return {HexError::kNoEndRecord, 0};
  SealFirmwareImage(image);
  return {HexError::kNone, 0, covered.count(), IgnoredIn(ignored, 0, kFirmwareBase),
          IgnoredIn(ignored, kLoadWindowEnd, kAddressSpan)};
}

std::string HexErrorText(const HexReadResult& result) {
  switch (result.error) {
    case HexError::kNone: return {};
    case HexError::kFileTooLarge: return std::string(msg::kHexFileTooLarge);
    case HexError::kInvalidRecord: return WithNumber(msg::kHexLineInvalid, result.line);
    case HexError::kBadChecksum: return WithNumber(msg::kHexLineBadChecksum, result.line);
    case HexError::kPastImageEnd: return WithNumber(msg::kHexLinePastProgramMemory, result.line);
    case HexError::kTextBeforeColon: return WithNumber(msg::kHexLineTextBeforeColon, result.line);
    case HexError::kIntoWindow: return WithNumber(msg::kHexLineIntoWindow, result.line);
    case HexError::kUnknownType: return WithNumber(msg::kHexLineUnknownType, result.line);
    case HexError::kExtendedData: return WithNumber(msg::kHexLineExtendedAddress, result.line);
    case HexError::kNoData: return std::string(msg::kHexFileHoldsNoFirmware);
    case HexError::kNoEndRecord: return std::string(msg::kHexFileWithoutEndRecord);
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
