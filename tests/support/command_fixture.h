// Everything an LCU command runs against in a test: a scripted link, an in-memory store and
// file system, a prompter that answers dialogs, a fixed clock and a window side that records
// the flags.
// Transfers are counted from the moment the link came on line, so a test names the
// command's own n-th transfer.
#pragma once

#include <array>
#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/app/app_state.h"
#include "core/app/command_context.h"
#include "core/host/memory_settings_store.h"
#include "fixed_clock.h"
#include "memory_file_system.h"
#include "recording_prompter.h"
#include "scripted_backend.h"

namespace lcu::test {

/// Records every flag a command switches, in order and as it stands now.
struct RecordingCommandUi : SilentCommandUi {
  void FlagChanged(AppFlag flag, bool on) override {
    flags[flag] = on;
    flagCalls.emplace_back(flag, on);
  }
  std::map<AppFlag, bool> flags;
  std::vector<std::pair<AppFlag, bool>> flagCalls;
};

struct CommandFixture {
  ScriptedBackend backend;
  CUsbDevice device{backend};
  LinkOwner link{device};
  MemorySettingsStore store;
  RecordingPrompter prompter;
  FixedClock clock;
  MemoryFileSystem files;
  AppState app;
  RecordingCommandUi ui;
  CommandContext ctx{device, link, store, prompter, clock, files, app, ui};
  int transfersBefore = 0;
  std::size_t callsBefore = 0;

  /// One successful poll: the link is open and on line.
  void GoOnline() {
    backend.nodes[0] = kLcuProductId;
    device.PollStatus();
    transfersBefore = backend.transfers;
    callsBefore = backend.calls.size();
  }
  void FailTransfer(int n) { backend.failTransfers.push_back(transfersBefore + n); }
  void ShortTransfer(int n) { backend.shortTransfers[transfersBefore + n] = 1; }
  void Reply(std::span<const std::uint8_t> bytes) { backend.Reply(bytes); }

  /// The control and bulk transfers the command sent, as short texts: "out 45 0000/0",
  /// "in 41 8040/0 64", "bulk-in 32768", "bulk-out 64".
  std::vector<std::string> Sent() const {
    std::vector<std::string> out;
    for (std::size_t i = callsBefore; i < backend.calls.size(); ++i) {
      const BackendCall& c = backend.calls[i];
      std::array<char, 64> text{};
      const VendorRequest& r = c.request;
      if (c.kind == BackendCall::kControl && r.IsRead())
        std::snprintf(text.data(), text.size(), "in %02X %04X/%X %u", r.bRequest, r.wValue, r.wIndex,
                      unsigned{r.wLength});
      else if (c.kind == BackendCall::kControl)
        std::snprintf(text.data(), text.size(), "out %02X %04X/%X", r.bRequest, r.wValue, r.wIndex);
      else if (c.kind == BackendCall::kBulkRead)
        std::snprintf(text.data(), text.size(), "bulk-in %zu", c.size);
      else if (c.kind == BackendCall::kBulkWrite)
        std::snprintf(text.data(), text.size(), "bulk-out %zu", c.size);
      else
        continue;
      out.emplace_back(text.data());
    }
    return out;
  }
  /// The bytes of the command's last bulk write.
  std::vector<std::uint8_t> LastWritten() const {
    const auto writes = backend.CallsOf(BackendCall::kBulkWrite);
    return writes.empty() ? std::vector<std::uint8_t>{} : writes.back().data;
  }
};

}  // namespace lcu::test
