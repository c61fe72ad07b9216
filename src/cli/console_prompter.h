// The Prompter of the command line: messages go to stderr exactly as written, one line per
// line of text; questions are asked on the terminal, answered Yes by --yes, and answered No
// when there is no terminal to ask on. The Initialize LCU dialog takes its number from the
// command line, given to the prompter before the command runs.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/host/prompter.h"

namespace lcu::cli {

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

 private:
  void WriteLines(std::string_view text);

  bool m_bAssumeYes;
  bool m_bInteractive;
  std::istream& m_in;
  std::ostream& m_out;
  std::optional<std::int32_t> m_initLcuNumber;
};

}  // namespace lcu::cli
