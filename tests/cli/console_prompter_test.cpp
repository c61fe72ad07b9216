// The command line's prompter: what it prints on stderr and how questions are answered.
#include "cli/console_prompter.h"

#include <optional>
#include <sstream>

#include <gtest/gtest.h>

namespace lcu::cli {
namespace {

struct QuestionCase {
  bool assumeYes;
  bool interactive;
  const char* typed;
  bool answer;
  const char* printed;
};

TEST(ConsolePrompterTest, AnswersQuestions) {
  const QuestionCase cases[] = {
      {true, false, "", true, "Q ? [y/N] y\n"},      {true, true, "n\n", true, "Q ? [y/N] y\n"},
      {false, false, "y\n", false, "Q ? [y/N] n\n"}, {false, true, "y\n", true, "Q ? [y/N] "},
      {false, true, " YES \n", true, "Q ? [y/N] "},  {false, true, "n\n", false, "Q ? [y/N] "},
      {false, true, "\n", false, "Q ? [y/N] "},      {false, true, "yep\n", false, "Q ? [y/N] "},
      {false, true, "", false, "Q ? [y/N] \n"},
  };
  for (const QuestionCase& c : cases) {
    std::istringstream in(c.typed);
    std::ostringstream out;
    ConsolePrompter prompter(c.assumeYes, c.interactive, in, out);
    SCOPED_TRACE(::testing::Message() << "yes=" << c.assumeYes << " terminal=" << c.interactive
                                      << " typed=" << c.typed);
    EXPECT_EQ(prompter.AskQuestion("Q ?"), c.answer);
    EXPECT_EQ(out.str(), c.printed);
    if (c.assumeYes || !c.interactive) {
      EXPECT_EQ(in.tellg(), 0) << "read input it should not have";
    }
  }
}

TEST(ConsolePrompterTest, PrintsMessagesAsPlainLines) {
  const struct {
    const char* text;
    const char* printed;
  } cases[] = {
      {"LCU is off-line", "LCU is off-line\n"},
      {"Failed to read header\r\nThe handle is invalid.\r\n", "Failed to read header\nThe handle is invalid.\n"},
      {"Failed to read header\n", "Failed to read header\n"},
      {"", "\n"},
      // Text from the LCU or a file cannot drive the terminal: its control characters show
      // escaped, the line breaks of the message stay.
      {"Could not open\n/tmp/\x1b[2Jx\tcal: gone", "Could not open\n/tmp/\\x1B[2Jx\\x09cal: gone\n"},
      {"C1 \xc2\x9b and \x7f, not \xc3\xa9", "C1 \\xC2\\x9B and \\x7F, not \xc3\xa9\n"},
  };
  for (const auto& c : cases) {
    std::istringstream in;
    std::ostringstream out;
    ConsolePrompter prompter(false, false, in, out);
    prompter.Error(c.text);
    EXPECT_EQ(out.str(), c.printed) << c.text;
  }
}

}  // namespace
}  // namespace lcu::cli
