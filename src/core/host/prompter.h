// How the core talks to the user: message boxes and questions. The desktop program shows
// them as modal boxes captioned "Corvalent", the command line prints them on stderr and
// asks on the terminal, tests record them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lcu {

enum class MessageKind {
  kError,        // OK only, exclamation icon
  kInformation,  // OK only, information icon
};

/// The four values of the Session Data dialog, as the user sees them.
struct SessionDataValues {
  std::int32_t session = 0;
  std::int32_t outing = 0;
  std::int32_t lapCount = 0;
  std::int32_t paceLaps = 0;
  friend bool operator==(const SessionDataValues&, const SessionDataValues&) = default;
};

/// An inclusive range of integers that a dialog's field accepts.
struct IntegerRange {
  std::int64_t lowest = 0;
  std::int64_t highest = 0;
  bool Contains(std::int64_t value) const { return value >= lowest && value <= highest; }
};

/// What the Session Data dialog accepts for each value, in its order: session, outing, lap
/// count, pace laps.
using SessionDataRanges = std::array<IntegerRange, 4>;

class Prompter {
 public:
  virtual ~Prompter() = default;

  /// Shows one message and returns when the user has acknowledged it.
  virtual void ShowMessage(MessageKind kind, std::string_view text) = 0;
  /// Asks a Yes/No question (question icon); true means Yes.
  virtual bool AskQuestion(std::string_view text) = 0;
  /// A remark that needs no answer and stops nothing, such as which file a command uses.
  /// The command line prints it on stderr; a prompter without such a place drops it.
  virtual void ShowNote(std::string_view text) { (void)text; }

  /// The Initialize LCU dialog: the LCU number entered (0 to 65535), or nullopt when the
  /// user cancelled. A prompter that cannot show the dialog cancels.
  virtual std::optional<std::int32_t> RunInitLcuDialog() { return std::nullopt; }
  /// The Session Data dialog, opened with the values shown: the values after Update, each
  /// within its range (the dialog refuses others and stays open), or nullopt on Cancel. A
  /// prompter that cannot show the dialog cancels.
  virtual std::optional<SessionDataValues> RunSessionDataDialog(const SessionDataValues& shown,
                                                                const SessionDataRanges& ranges) {
    (void)shown;
    (void)ranges;
    return std::nullopt;
  }

  void Error(std::string_view text) { ShowMessage(MessageKind::kError, text); }
  void Information(std::string_view text) { ShowMessage(MessageKind::kInformation, text); }
};

/// The text of a system-error box: the caption, a line feed and the system's text.
std::string FormatSystemError(std::string_view caption, std::string_view systemText);

/// Shows the caption together with the system's text for an error, in one OK-only box.
void ShowSystemError(Prompter& prompter, std::string_view caption, std::string_view systemText);

/// The line that names a file and why it failed: "<path>: <reason>", or the path alone
/// without a reason.
std::string FileErrorLine(std::string_view path, std::string_view reason);

/// A failure about a file, in the form of a system-error box: the message as its first line,
/// then the file's path and the system's reason ("<path>: <reason>"), so that the user knows
/// which file and why. Without a reason the second line holds the path alone.
void ShowFileError(Prompter& prompter, std::string_view text, std::string_view path, std::string_view reason);

}  // namespace lcu
