#include "cli/progress_bar.h"

#include <algorithm>
#include <iostream>

#include "cli/cli_messages.h"
#include "cli/stop_signals.h"
#include "cli/terminal.h"

namespace lcu::cli {

namespace {

constexpr int kBarWidth = 30;

}  // namespace

std::string ProgressLine(int done, int steps, std::string_view figures) {
  steps = std::max(steps, 0);
  done = std::clamp(done, 0, steps);
  const int filled = steps == 0 ? 0 : done * kBarWidth / steps;
  std::string line(msg::kProgressCaption);
  line += " [";
  line.append(static_cast<std::size_t>(filled), '#');
  line.append(static_cast<std::size_t>(kBarWidth - filled), ' ');
  line += "] ";
  line += std::to_string(done) + '/' + std::to_string(steps);
  if (!figures.empty()) {
    line += "  ";
    line += figures;
  }
  return line;
}

ProgressBar::ProgressBar(std::ostream& out, bool enabled) : m_out(out), m_bEnabled(enabled) {}

ProgressBar ProgressBar::ForStderr() { return ProgressBar(std::cerr, StderrIsTerminal()); }

void ProgressBar::BeginProgress(int steps) {
  m_nSteps = steps;
  m_nDone = 0;
  m_figures.clear();
  Draw();
}

void ProgressBar::StepProgress() {
  ++m_nDone;
  Draw();
}

void ProgressBar::EndProgress() { Clear(); }

bool ProgressBar::PumpWaitingMessages() { return !StopSignals::Caught(); }

void ProgressBar::ShowTransferred(const TransferProgress& progress) {
  m_figures = TransferProgressText(progress);
  Draw();
}

void ProgressBar::Clear() {
  if (!m_bShown) return;
  m_out << '\r' << std::string(m_shownLength, ' ') << '\r';
  m_out.flush();
  m_bShown = false;
}

void ProgressBar::Draw() {
  if (!m_bEnabled) return;
  const std::string line = ProgressLine(m_nDone, m_nSteps, m_figures);
  // A shorter line than the last one wipes what the last one left beyond its end.
  const std::size_t wipe = m_bShown && m_shownLength > line.size() ? m_shownLength - line.size() : 0;
  m_out << '\r' << line << std::string(wipe, ' ');
  m_out.flush();
  m_bShown = true;
  m_shownLength = line.size() + wipe;
}

void ProgressPrompter::ShowMessage(MessageKind kind, std::string_view text) {
  m_bar.Clear();
  m_inner.ShowMessage(kind, text);
}

bool ProgressPrompter::AskQuestion(std::string_view text) {
  m_bar.Clear();
  return m_inner.AskQuestion(text);
}

}  // namespace lcu::cli
