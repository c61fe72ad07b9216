// QuietPrompter: a Prompter for work the user did not ask for (a check run by itself on a new
// connection): it shows nothing, answers every question No and cancels every dialog, and
// remembers whether anything was to be shown.
#pragma once

#include "core/host/prompter.h"

namespace lcu {

class QuietPrompter final : public Prompter {
 public:
  void ShowMessage(MessageKind, std::string_view) override { m_bHadMessage = true; }
  bool AskQuestion(std::string_view) override { return false; }

  bool HadMessage() const { return m_bHadMessage; }

 private:
  bool m_bHadMessage = false;
};

}  // namespace lcu
