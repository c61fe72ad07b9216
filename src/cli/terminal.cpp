#include "terminal.h"

#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace lcu::cli {

namespace {

bool IsTerminal(std::FILE* stream) {
#if defined(_WIN32)
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

}  // namespace

bool StdinIsTerminal() { return IsTerminal(stdin); }
bool StdoutIsTerminal() { return IsTerminal(stdout); }
bool StderrIsTerminal() { return IsTerminal(stderr); }

void UseUtf8Console() {
#if defined(_WIN32)
  SetConsoleOutputCP(CP_UTF8);
  SetConsoleCP(CP_UTF8);
#endif
}

}  // namespace lcu::cli
