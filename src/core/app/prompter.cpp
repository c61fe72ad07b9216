#include "app/prompter.h"

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

}  // namespace lcu
