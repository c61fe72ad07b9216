#include "cli/terminal.h"

#include <array>
#include <cstdio>

#include "cli/utf8_sequence.h"

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

// Code points that change what a terminal does rather than show a character: the C0 and C1
// controls, DEL, and the marks that override the direction of the text around them.
bool IsTerminalControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || IsDirectionOverride(c); }

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
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto byte = static_cast<unsigned char>(text.front());
    std::size_t length = byte < 0x80 ? 1 : Utf8SequenceLength(text);
    if (length == 0) {
      // A byte of no UTF-8 character: a terminal that reads 8-bit controls takes 0x80 to 0x9F
      // for one (0x9B starts a command sequence); other bytes show as they are.
      length = 1;
      if (byte <= 0x9F) {
        AppendEscaped(out, byte);
      } else {
        out += static_cast<char>(byte);
      }
    } else if (IsTerminalControl(Utf8CodePoint(text.substr(0, length)))) {
      for (std::size_t i = 0; i < length; ++i) AppendEscaped(out, static_cast<unsigned char>(text[i]));
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out;
}

}  // namespace lcu::cli
