// The Prompter of the command line: messages go to stderr exactly as written, one line per
// line of text; questions are asked on the terminal, answered Yes by --yes, and answered No
// when there is no terminal to ask on.
#pragma once

#include <iosfwd>
#include <memory>

#include "app/prompter.h"

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

 private:
  void WriteLines(std::string_view text);

  bool m_bAssumeYes;
  bool m_bInteractive;
  std::istream& m_in;
  std::ostream& m_out;
};

}  // namespace lcu::cli
