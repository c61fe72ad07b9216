// The values `lcu session` is given to change: each takes the place of the value read from
// the LCU, the others stay as read.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/host/prompter.h"

namespace lcu::cli {

/// The options of `lcu session` that change the values, in the dialog's order.
inline constexpr std::array<std::string_view, 4> kSessionOptions = {"--session", "--outing", "--laps", "--pace"};

struct SessionDataEdits {
  std::optional<std::int32_t> session;
  std::optional<std::int32_t> outing;
  std::optional<std::int32_t> lapCount;
  std::optional<std::int32_t> paceLaps;

  bool Any() const { return session || outing || lapCount || paceLaps; }
  /// The given values in the dialog's order.
  std::array<std::optional<std::int32_t>, 4> Fields() const { return {session, outing, lapCount, paceLaps}; }

  /// Why the first given value outside its range cannot be stored: "--session: 70000 is not
  /// between 1 and 65536". Nothing when every given value fits.
  std::optional<std::string> Refusal(const SessionDataRanges& ranges) const;
  /// The values read with the given ones in their place.
  SessionDataValues AppliedTo(const SessionDataValues& read) const;
};

}  // namespace lcu::cli
