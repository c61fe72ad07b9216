#include "core/host/prompter.h"

namespace lcu {

std::string FormatSystemError(std::string_view caption, std::string_view systemText) {
  std::string text(caption);
  text += '\n';
  text += systemText;
  return text;
}

void ShowSystemError(Prompter& prompter, std::string_view caption, std::string_view systemText) {
  prompter.Error(FormatSystemError(caption, systemText));
}

std::string FileErrorLine(std::string_view path, std::string_view reason) {
  std::string line(path);
  if (!reason.empty()) {
    line += ": ";
    line += reason;
  }
  return line;
}

void ShowFileError(Prompter& prompter, std::string_view text, std::string_view path, std::string_view reason) {
  ShowSystemError(prompter, text, FileErrorLine(path, reason));
}

}  // namespace lcu
