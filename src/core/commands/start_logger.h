// Start Logger: switches the LCU's manual logging on or off through the logger start word
// (LCU 0xF752: 0x80 on, 0 off), and keeps the program's record of the state it set.
#pragma once

#include <cstdint>

#include "core/app/command_context.h"

namespace lcu {

struct StartLoggerResult {
  CommandResult result = CommandResult::kFailed;
  /// The start word sent (0x80 or 0); also set when the write failed.
  std::uint16_t startWord = 0;
};

/// Sets the manual logging state to on, tells the window (its check mark), then writes the
/// start word. The state and its check mark follow the command even when the write fails;
/// there is no on-line test, a closed link simply makes the write fail. Only a running
/// download refuses it, before anything changes. The start word off also forgets a logging
/// state read before, since the LCU no longer logs.
StartLoggerResult StartLogger(CommandContext& ctx, bool on);

/// Forgets the manual logging state when the LCU is found off line; sends nothing.
void ResetLoggerStarted(CommandContext& ctx);

}  // namespace lcu
