#include "cli/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "cli/cli_messages.h"
#include "cli/exit_code.h"

namespace lcu::cli {

namespace {

StandardOutput* g_pInstalled = nullptr;

}  // namespace

StandardOutput::StandardOutput() : m_previous(std::cout.rdbuf(this)) { g_pInstalled = this; }

StandardOutput::~StandardOutput() {
  FlushStdout();
  std::cout.rdbuf(m_previous);
  g_pInstalled = nullptr;
}

bool StandardOutput::Flush() {
  std::cout.flush();
  return g_pInstalled == nullptr || g_pInstalled->FlushStdout();
}

bool StandardOutput::FlushOrReport(Prompter& prompter) {
  if (Flush()) return true;
  if (!g_pInstalled->m_bReported) {
    g_pInstalled->m_bReported = true;
    ShowSystemError(prompter, msg::kCouldNotWriteOutput, std::generic_category().message(g_pInstalled->m_error));
  }
  return false;
}

int StandardOutput::Finish(int status, Prompter& prompter) { return FlushOrReport(prompter) ? status : kExitFailed; }

StandardOutput::int_type StandardOutput::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  return Put(&byte, 1) ? c : traits_type::eof();
}

std::streamsize StandardOutput::xsputn(const char* text, std::streamsize count) {
  return Put(text, static_cast<std::size_t>(count)) ? count : 0;
}

int StandardOutput::sync() { return FlushStdout() ? 0 : -1; }

// stdout keeps its own buffer (a line at a time on a terminal), so a failure may only show
// when that buffer is handed on: at a flush, or once it is full.
bool StandardOutput::Put(const char* text, std::size_t count) {
  if (m_error != 0) return false;
  errno = 0;
  if (std::fwrite(text, 1, count, stdout) == count) return true;
  Fail();
  return false;
}

bool StandardOutput::FlushStdout() {
  if (m_error != 0) return false;
  errno = 0;
  if (std::fflush(stdout) == 0) return true;
  Fail();
  return false;
}

void StandardOutput::Fail() { m_error = errno != 0 ? errno : EIO; }

}  // namespace lcu::cli
