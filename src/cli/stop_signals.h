// StopSignals: while one lives, Ctrl+C, SIGTERM and SIGHUP (Ctrl+Break on Windows) no longer
// end the program at once; they are noted, and a long transfer (download, dump-data) sees
// them at its next pump and ends as a quitting program's would: the LCU is left as it is and
// the partial file is named. The previous handlers come back when it goes.
#pragma once

#include <array>

namespace lcu::cli {

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  /// True once one of the signals came in while a StopSignals lived.
  static bool Caught();

 private:
  using Handler = void (*)(int);
  std::array<Handler, 3> m_previous{};
};

}  // namespace lcu::cli
