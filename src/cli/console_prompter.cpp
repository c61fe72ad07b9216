#include "cli/console_prompter.h"

#include <cctype>
#include <iostream>
#include <string>

#include "cli/terminal.h"

namespace lcu::cli {

namespace {

bool IsYes(std::string_view answer) {
  std::string word;
  for (const char c : answer)
    if (!std::isspace(static_cast<unsigned char>(c)))
      word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word == "y" || word == "yes";
}

}  // namespace

ConsolePrompter::ConsolePrompter(bool assumeYes, bool interactive, std::istream& in, std::ostream& out)
    : m_bAssumeYes(assumeYes), m_bInteractive(interactive), m_in(in), m_out(out) {}

std::unique_ptr<ConsolePrompter> ConsolePrompter::ForTerminal(bool assumeYes) {
  return std::make_unique<ConsolePrompter>(assumeYes, StdinIsTerminal(), std::cin, std::cerr);
}

void ConsolePrompter::ShowMessage(MessageKind, std::string_view text) {
  WriteLines(text);
  m_out << '\n';
  m_out.flush();
}

void ConsolePrompter::ShowNote(std::string_view text) { ShowMessage(MessageKind::kInformation, text); }

bool ConsolePrompter::AskQuestion(std::string_view text) {
  WriteLines(text);
  m_out << " [y/N] ";
  if (m_bAssumeYes || !m_bInteractive) {
    // The answer is echoed so that a log shows why the command went on or stopped.
    m_out << (m_bAssumeYes ? "y" : "n") << '\n';
    m_out.flush();
    return m_bAssumeYes;
  }
  m_out.flush();
  std::string answer;
  if (!std::getline(m_in, answer)) {
    m_out << '\n';
    return false;
  }
  return IsYes(answer);
}

// System texts end their lines with CR LF and often end with a line break of their own;
// the console gets plain lines and no empty last line. A message may carry text from the LCU
// or from files (a path, a name), so each line is made safe for the terminal.
void ConsolePrompter::WriteLines(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (start > 0) m_out << '\n';
    m_out << TerminalSafe(line);
    start = end + 1;
  }
}

}  // namespace lcu::cli
