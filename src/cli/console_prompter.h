// The Prompter of the command line: messages go to stderr exactly as written, one line per
// line of text; questions are asked on the terminal, answered Yes by --yes, and answered No
// when there is no terminal to ask on. The dialogs take their values from the command line,
// given to the prompter before the command runs.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/host/prompter.h"

namespace lcu::cli {

/// The options of `lcu session` that change the values, in the dialog's order.
inline constexpr std::array<std::string_view, 4> kSessionOptions = {"--session", "--outing", "--laps", "--pace"};

/// Session Data values given on the command line; the others keep the values shown.
struct SessionDataEdits {
  std::optional<std::int32_t> session;
  std::optional<std::int32_t> outing;
  std::optional<std::int32_t> lapCount;
  std::optional<std::int32_t> paceLaps;

  bool Any() const { return session || outing || lapCount || paceLaps; }
  /// The given values in the dialog's order.
  std::array<std::optional<std::int32_t>, 4> Fields() const { return {session, outing, lapCount, paceLaps}; }
};

class ConsolePrompter final : public Prompter {
 public:
  /// assumeYes answers every question Yes without reading; otherwise an interactive prompter
  /// reads the answer from in, and a non-interactive one answers No.
  ConsolePrompter(bool assumeYes, bool interactive, std::istream& in, std::ostream& out);

  /// A prompter on stdin and stderr, interactive when stdin is a terminal.
  static std::unique_ptr<ConsolePrompter> ForTerminal(bool assumeYes);

  void ShowMessage(MessageKind kind, std::string_view text) override;
  bool AskQuestion(std::string_view text) override;
  void ShowNote(std::string_view text) override;

  /// The Initialize LCU dialog ends with OK and this number; without one it is cancelled.
  void SetInitLcuNumber(std::int32_t number) { m_initLcuNumber = number; }
  std::optional<std::int32_t> RunInitLcuDialog() override { return m_initLcuNumber; }

  /// The Session Data dialog ends with Update when any value was given (the shown values
  /// with the given ones in their place), and is cancelled otherwise. A given value outside
  /// its range cancels it too, and is kept as the refusal.
  void SetSessionDataEdits(const SessionDataEdits& edits) { m_sessionEdits = edits; }
  std::optional<SessionDataValues> RunSessionDataDialog(const SessionDataValues& shown,
                                                        const SessionDataRanges& ranges) override;
  /// The values the Session Data dialog was opened with; none while it has not been.
  const std::optional<SessionDataValues>& ShownSessionData() const { return m_shownSession; }
  /// Why the dialog refused the given values: the option, its value and its range.
  const std::optional<std::string>& SessionDataRefusal() const { return m_sessionRefusal; }

 private:
  void WriteLines(std::string_view text);

  bool m_bAssumeYes;
  bool m_bInteractive;
  std::istream& m_in;
  std::ostream& m_out;
  std::optional<std::int32_t> m_initLcuNumber;
  SessionDataEdits m_sessionEdits;
  std::optional<SessionDataValues> m_shownSession;
  std::optional<std::string> m_sessionRefusal;
};

}  // namespace lcu::cli
