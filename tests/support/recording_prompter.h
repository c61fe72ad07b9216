// A Prompter for tests: records every message, note, question and dialog, answers questions and
// the Initialize LCU and Session Data dialogs from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/host/prompter.h"

namespace lcu::test {

class RecordingPrompter : public Prompter {
 public:
  void ShowMessage(MessageKind, std::string_view text) override { messages.emplace_back(text); }
  bool AskQuestion(std::string_view text) override {
    questions.emplace_back(text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowNote(std::string_view text) override { notes.emplace_back(text); }
  std::optional<std::int32_t> RunInitLcuDialog() override {
    ++initDialogs;
    return initAnswer;
  }
  std::optional<SessionDataValues> RunSessionDataDialog(const SessionDataValues& shown,
                                                        const SessionDataRanges&) override {
    sessionShown.push_back(shown);
    if (sessionUnchanged) return shown;
    return sessionAnswer;
  }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<std::string> notes;
  std::deque<bool> answers;  // Yes = true; No once the script runs out
  /// The number OK returns, or nullopt for Cancel.
  std::optional<std::int32_t> initAnswer;
  int initDialogs = 0;
  /// Update with the values shown, else sessionAnswer (nullopt for Cancel).
  bool sessionUnchanged = false;
  std::optional<SessionDataValues> sessionAnswer;
  std::vector<SessionDataValues> sessionShown;
};

}  // namespace lcu::test
