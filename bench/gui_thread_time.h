// The GUI thread's own CPU time, which the window benchmarks measure instead of wall time:
// the machines they run on are shared, and other processes' work must not count.
#pragma once

#include <time.h>

#include <QEventLoop>
#include <QTimer>

namespace lcu::bench {

inline double ThreadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Runs the event loop for a stretch of wall time; the GUI thread's CPU time spent in it.
inline double RunFor(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  const double start = ThreadCpuMs();
  loop.exec();
  return ThreadCpuMs() - start;
}

}  // namespace lcu::bench
