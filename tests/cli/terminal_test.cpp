// Text from the LCU and from files shown on a terminal: nothing in it may act on the terminal.
#include "cli/terminal.h"

#include <string>

#include <gtest/gtest.h>

namespace lcu::cli {
namespace {

TEST(TerminalSafe, EscapesEveryByteThatCouldActOnTheTerminal) {
  const struct {
    std::string text;
    const char* shown;
  } cases[] = {
      {"OIL TEMP", "OIL TEMP"},
      {std::string("a\x1B[2J\r\n\x7F", 8) + std::string(1, '\0'), "a\\x1B[2J\\x0D\\x0A\\x7F\\x00"},
      {"\xC2\x9B"
       "2J",
       "\\xC2\\x9B2J"},  // a C1 control in UTF-8
      {"a\x9B"
       "2J",
       "a\\x9B2J"},  // a lone C1 control, as 8-bit terminals read it
      {"\x80\x9F", "\\x80\\x9F"},
      {"\xE2\x80\xAE"
       "cba",
       "\\xE2\\x80\\xAEcba"},  // right-to-left override
      {"\xE2\x80\xAA\xE2\x80\xAD\xE2\x81\xA6\xE2\x81\xA9",
       "\\xE2\\x80\\xAA\\xE2\\x80\\xAD\\xE2\\x81\\xA6\\xE2\\x81\\xA9"},
      {"\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA", "\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA"},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"S\xE9T \xC3", "S\xE9T \xC3"},  // other stray bytes show as they are
      {"\xE2\x80",
       "\xE2"
       "\\x80"},  // a cut-short sequence: its C1 byte escaped
  };
  for (const auto& c : cases) EXPECT_EQ(TerminalSafe(c.text), c.shown) << c.text;
}

}  // namespace
}  // namespace lcu::cli
