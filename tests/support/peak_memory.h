// The most memory the test's process has held resident so far, to show that an operation on
// a large input does not take memory in proportion to it. POSIX only.
#pragma once

#if !defined(_WIN32)
#include <sys/resource.h>

namespace lcu::test {

/// The process's peak resident size in kilobytes.
inline long PeakResidentKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace lcu::test

#endif
