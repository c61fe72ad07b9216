// A file size limit for the test's process while it is in scope, as a shell's ulimit -f sets
// one: writes past the limit fail with "File too large", as on a disk that is full there.
// POSIX only: Windows has no such limit (tests that need it are left out there).
#pragma once

#if !defined(_WIN32)
#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace lcu::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t bytes) : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &m_old);
    rlimit limited = m_old;
    limited.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit m_old{};
  void (*m_oldHandler)(int);
};

}  // namespace lcu::test

#endif
