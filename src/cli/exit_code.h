// Exit statuses of the lcu program; scripts rely on them.
#pragma once

#include "core/app/command_context.h"

namespace lcu::cli {

inline constexpr int kExitOk = 0;        // the command did all its work
inline constexpr int kExitFailed = 1;    // it failed or was refused; its message was printed
inline constexpr int kExitUsage = 2;     // the command line was wrong
inline constexpr int kExitDeclined = 3;  // the user answered No

/// The exit status of a core command's outcome.
constexpr int ExitStatusOf(CommandResult result) {
  switch (result) {
    case CommandResult::kDone: return kExitOk;
    case CommandResult::kDeclined: return kExitDeclined;
    case CommandResult::kFailed: break;
  }
  return kExitFailed;
}

}  // namespace lcu::cli
