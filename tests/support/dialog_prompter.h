// A RecordingPrompter that also answers the Initialize LCU and Session Data dialogs from a
// script and records what the Session Data dialog was opened with.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "recording_prompter.h"

namespace lcu::test {

class DialogPrompter : public RecordingPrompter {
 public:
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

  /// The number OK returns, or nullopt for Cancel.
  std::optional<std::int32_t> initAnswer;
  int initDialogs = 0;
  /// Update with the values shown, else sessionAnswer (nullopt for Cancel).
  bool sessionUnchanged = false;
  std::optional<SessionDataValues> sessionAnswer;
  std::vector<SessionDataValues> sessionShown;
};

}  // namespace lcu::test
