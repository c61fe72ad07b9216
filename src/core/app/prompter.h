// How the core talks to the user: message boxes and questions. The desktop program shows
// them as modal boxes captioned "Corvalent", the command line prints them on stderr and
// asks on the terminal, tests record them.
#pragma once

#include <string>
#include <string_view>

namespace lcu {

enum class MessageKind {
  kError,        // OK only, exclamation icon
  kInformation,  // OK only, information icon
};

class Prompter {
 public:
  virtual ~Prompter() = default;

  /// Shows one message and returns when the user has acknowledged it.
  virtual void ShowMessage(MessageKind kind, std::string_view text) = 0;
  /// Asks a Yes/No question (question icon); true means Yes.
  virtual bool AskQuestion(std::string_view text) = 0;

  void Error(std::string_view text) { ShowMessage(MessageKind::kError, text); }
  void Information(std::string_view text) { ShowMessage(MessageKind::kInformation, text); }
};

/// The text of a system-error box: the caption, a line feed and the system's text.
std::string FormatSystemError(std::string_view caption, std::string_view systemText);

/// Shows the caption together with the system's text for an error, in one OK-only box.
void ShowSystemError(Prompter& prompter, std::string_view caption, std::string_view systemText);

}  // namespace lcu
