// The command line's results on standard output, every write checked: a full disk, a closed
// stdout or /dev/full must never pass for a result that was written (a script would take a
// cut or empty file for the whole answer, and a download would empty the LCU without its
// file's path having reached anyone).
#pragma once

#include <streambuf>
#include <string>

#include "core/host/prompter.h"

namespace lcu::cli {

/// While an object lives, std::cout writes through it into stdout. The first write that
/// fails is kept with the system's reason, and every later write fails too, so that the
/// output stops at the first line that did not get through. One object at a time (main's).
class StandardOutput final : public std::streambuf {
 public:
  StandardOutput();
  ~StandardOutput() override;
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;

  /// Hands everything written so far on to the system. False when any write failed, now or
  /// before.
  static bool Flush();
  /// Flush, and when it fails shows "Could not write the output." with the system's reason,
  /// unless that was shown already.
  static bool FlushOrReport(Prompter& prompter);
  /// The exit status of the run that ended with status: kExitFailed when the output could
  /// not be written (reported as FlushOrReport does), else status.
  static int Finish(int status, Prompter& prompter);

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  bool Put(const char* text, std::size_t count);
  bool FlushStdout();
  void Fail();

  std::streambuf* m_previous;
  int m_error = 0;  // the system's error of the first failed write; 0 while none failed
  bool m_bReported = false;
};

}  // namespace lcu::cli
