// Exit statuses of the lcu program; scripts rely on them.
#pragma once

namespace lcu::cli {

inline constexpr int kExitOk = 0;        // the command did all its work
inline constexpr int kExitFailed = 1;    // it failed or was refused; its message was printed
inline constexpr int kExitUsage = 2;     // the command line was wrong
inline constexpr int kExitDeclined = 3;  // the user answered No

}  // namespace lcu::cli
