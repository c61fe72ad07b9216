// The download's progress on the command line: one line on stderr, redrawn in place at every
// step and as the bytes arrive, drawn only when stderr is a terminal so that logs and pipes
// stay clean.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "core/app/command_context.h"
#include "core/host/prompter.h"

namespace lcu::cli {

/// The text of the progress line after done of steps steps: the caption, a bar of fixed
/// width filled in proportion, "done/steps" and, when given, the transfer's figures.
std::string ProgressLine(int done, int steps, std::string_view figures = {});

/// The CommandUi of the download: draws the progress line and has no menu. There is no event
/// loop to pump; the pump reports the program as quitting once a stop signal came in (see
/// StopSignals).
class ProgressBar final : public CommandUi {
 public:
  /// Draws on out when enabled; otherwise shows nothing.
  ProgressBar(std::ostream& out, bool enabled);
  /// A bar on stderr, enabled when stderr is a terminal.
  static ProgressBar ForStderr();

  void BeginProgress(int steps) override;
  void StepProgress() override;
  void EndProgress() override;
  void ShowTransferred(const TransferProgress& progress) override;
  bool PumpWaitingMessages() override;
  void FlagChanged(AppFlag, bool) override {}

  /// Wipes the line on screen, so that a message can be printed; the next step draws it again.
  void Clear();

 private:
  void Draw();

  std::ostream& m_out;
  bool m_bEnabled;
  bool m_bShown = false;
  int m_nSteps = 0;
  int m_nDone = 0;
  std::string m_figures;
  std::size_t m_shownLength = 0;
};

/// Hands messages and questions on to another prompter, wiping the progress line first so
/// that they start at the beginning of a line.
class ProgressPrompter final : public Prompter {
 public:
  ProgressPrompter(Prompter& inner, ProgressBar& bar) : m_inner(inner), m_bar(bar) {}

  void ShowMessage(MessageKind kind, std::string_view text) override;
  bool AskQuestion(std::string_view text) override;

 private:
  Prompter& m_inner;
  ProgressBar& m_bar;
};

}  // namespace lcu::cli
