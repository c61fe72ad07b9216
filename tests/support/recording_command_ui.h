// A CommandUi for tests: records check marks and progress, and lets the pump report that
// the program is quitting.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "core/app/command_context.h"

namespace lcu::test {

class RecordingCommandUi : public CommandUi {
 public:
  void BeginProgress(int count) override { progressSteps.push_back(count); }
  void StepProgress() override { ++steps; }
  void EndProgress() override { ++progressEnded; }
  bool PumpWaitingMessages() override {
    ++pumps;
    return !quitting;
  }
  void SetMenuCheck(int commandId, bool checked) override {
    checks[commandId] = checked;
    checkCalls.emplace_back(commandId, checked);
  }

  std::vector<int> progressSteps;
  int steps = 0;
  int progressEnded = 0;
  int pumps = 0;
  bool quitting = false;
  /// The current check mark of each item that was set, and every call in order.
  std::map<int, bool> checks;
  std::vector<std::pair<int, bool>> checkCalls;
};

}  // namespace lcu::test
