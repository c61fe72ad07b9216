#include "cli/session_data_edits.h"

#include "cli/cli_messages.h"

namespace lcu::cli {

std::optional<std::string> SessionDataEdits::Refusal(const SessionDataRanges& ranges) const {
  const auto given = Fields();
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (!given[i] || ranges[i].Contains(*given[i])) continue;
    return std::string(kSessionOptions[i]) + ": " + std::to_string(*given[i]) + std::string(msg::kNotBetween) +
           std::to_string(ranges[i].lowest) + std::string(msg::kAnd) + std::to_string(ranges[i].highest);
  }
  return std::nullopt;
}

SessionDataValues SessionDataEdits::AppliedTo(const SessionDataValues& read) const {
  return SessionDataValues{session.value_or(read.session), outing.value_or(read.outing),
                           lapCount.value_or(read.lapCount), paceLaps.value_or(read.paceLaps)};
}

}  // namespace lcu::cli
