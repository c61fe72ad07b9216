// A Prompter for tests: records every message and question, answers from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/host/prompter.h"

namespace lcu::test {

class RecordingPrompter : public Prompter {
 public:
  void ShowMessage(MessageKind kind, std::string_view text) override {
    messages.emplace_back(text);
    kinds.push_back(kind);
  }
  bool AskQuestion(std::string_view text) override {
    questions.emplace_back(text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<std::string> messages;
  std::vector<MessageKind> kinds;
  std::vector<std::string> questions;
  std::deque<bool> answers;  // Yes = true; No once the script runs out
};

}  // namespace lcu::test
