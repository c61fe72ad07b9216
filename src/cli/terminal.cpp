#include "cli/terminal.h"

#include <array>
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

void AppendEscaped(std::string& out, unsigned char byte) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "\\x%02X", static_cast<unsigned>(byte));
  out += text.data();
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

std::string TerminalSafe(std::string_view text) {
  constexpr unsigned char kUtf8C1Lead = 0xC2;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool c1 = byte == kUtf8C1Lead && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (c1) {
      AppendEscaped(out, byte);
      AppendEscaped(out, static_cast<unsigned char>(text[++i]));
    } else if (byte < 0x20 || byte == 0x7F) {
      AppendEscaped(out, byte);
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

}  // namespace lcu::cli
