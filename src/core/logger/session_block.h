// The session block of the logger header (LCU 0x8040 to 0x807F, header 0x40 to 0x7F): the
// session, outing, lap and pace-lap counts as the LCU keeps them, and the values the user
// sees and enters for them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/host/prompter.h"
#include "core/link/lcu_protocol.h"

namespace lcu {

using SessionBlock = std::array<std::uint8_t, kBlockSize>;

/// Where the session block starts in the logger header: a header offset less this is the
/// field's place in the block.
inline constexpr std::size_t kSessionBlockBase = kSessionBlockAddress - kStatusAddress;

/// Labels of the Session Data dialog, also used wherever the four values are printed.
namespace session_label {
inline constexpr std::string_view kSession = "Session :";
inline constexpr std::string_view kOuting = "Outing :";
inline constexpr std::string_view kLapCount = "Lap Count :";
inline constexpr std::string_view kPaceLaps = "Pace Laps :";
}  // namespace session_label

/// The values the Session Data dialog shows for a session block: session and outing count
/// from 1, the lap count adds the laps since the reset to the lap base.
SessionDataValues SessionValuesOf(const SessionBlock& block);

/// The four values of Session Data in the dialog's order: session, outing, lap count, pace laps.
std::array<std::int32_t, 4> SessionFields(const SessionDataValues& values);

/// What the session block can hold of each value as entered, in the dialog's order: session
/// and outing 1 to 65536, pace laps 0 to 65535, a lap count up to the laps since the reset +
/// 65536 (the lap base's limit). A lap count from 0 up to the laps since the reset leaves a
/// lap base of 0. Anything else would be stored as some other number, so it is refused.
SessionDataRanges SessionValueRanges(const SessionBlock& block);

/// The framework's range message: "Please enter an integer between X and Y.".
std::string EnterIntegerBetween(const IntegerRange& range);

/// The session block after Update with the values entered: each stored value is raised to 0
/// when negative and kept to its low 16 bits; the laps since the reset and every other byte
/// stay as read.
SessionBlock SessionBlockAfterUpdate(const SessionBlock& block, const SessionDataValues& values);

}  // namespace lcu
