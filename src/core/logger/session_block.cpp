#include "core/logger/session_block.h"

#include <algorithm>

#include "core/logger/logger_header.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {

// A 16-bit field stores 0 to 65535; session and outing are shown one higher.
constexpr std::int64_t kLargestU16 = 0xFFFF;

constexpr std::size_t kLapsSinceResetAt = hdr::kLapsSinceReset - kSessionBlockBase;
constexpr std::size_t kSessionAt = hdr::kSession - kSessionBlockBase;
constexpr std::size_t kOutingAt = hdr::kOuting - kSessionBlockBase;
constexpr std::size_t kLapBaseAt = hdr::kLapBase - kSessionBlockBase;
constexpr std::size_t kPaceLapsAt = hdr::kPaceLaps - kSessionBlockBase;

// A value entered in the Session Data dialog as the LCU stores it: never below 0, low 16 bits.
std::uint16_t StoredU16(std::int64_t value) {
  return static_cast<std::uint16_t>(static_cast<std::uint64_t>(std::max<std::int64_t>(value, 0)) & 0xFFFFu);
}

}  // namespace

SessionDataValues SessionValuesOf(const SessionBlock& block) {
  SessionDataValues v;
  v.session = le::U16(block, kSessionAt) + 1;
  v.outing = le::U16(block, kOutingAt) + 1;
  v.lapCount = le::U16(block, kLapsSinceResetAt) + le::U16(block, kLapBaseAt) + 1;
  v.paceLaps = le::U16(block, kPaceLapsAt);
  return v;
}

std::array<std::int32_t, 4> SessionFields(const SessionDataValues& values) {
  return {values.session, values.outing, values.lapCount, values.paceLaps};
}

SessionDataRanges SessionValueRanges(const SessionBlock& block) {
  const std::int64_t lapsSinceReset = le::U16(block, kLapsSinceResetAt);
  return {IntegerRange{1, kLargestU16 + 1}, IntegerRange{1, kLargestU16 + 1},
          IntegerRange{0, lapsSinceReset + kLargestU16 + 1}, IntegerRange{0, kLargestU16}};
}

std::string EnterIntegerBetween(const IntegerRange& range) {
  std::string text(msg::kEnterIntegerBetween);
  text.replace(text.find("%1"), 2, std::to_string(range.lowest));
  text.replace(text.find("%2"), 2, std::to_string(range.highest));
  return text;
}

SessionBlock SessionBlockAfterUpdate(const SessionBlock& block, const SessionDataValues& values) {
  SessionBlock out = block;
  const std::int64_t lapsSinceReset = le::U16(block, kLapsSinceResetAt);
  le::PutU16(out, kSessionAt, StoredU16(std::int64_t{values.session} - 1));
  le::PutU16(out, kOutingAt, StoredU16(std::int64_t{values.outing} - 1));
  le::PutU16(out, kLapBaseAt, StoredU16(std::int64_t{values.lapCount} - lapsSinceReset - 1));
  le::PutU16(out, kPaceLapsAt, StoredU16(values.paceLaps));
  return out;
}

}  // namespace lcu
