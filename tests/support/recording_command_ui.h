// A CommandUi for tests: records switched flags and progress, and lets the pump report that
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
  void FlagChanged(AppFlag flag, bool on) override {
    flags[flag] = on;
    flagCalls.emplace_back(flag, on);
  }

  std::vector<int> progressSteps;
  int steps = 0;
  int progressEnded = 0;
  int pumps = 0;
  bool quitting = false;
  /// The current state of each flag that was reported, and every report in order.
  std::map<AppFlag, bool> flags;
  std::vector<std::pair<AppFlag, bool>> flagCalls;
};

}  // namespace lcu::test
