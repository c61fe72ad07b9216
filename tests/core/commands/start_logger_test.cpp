// Start Logger: the start word it sends and the state it keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/commands/start_logger.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

using test::CommandFixture;

// Off line the write fails, but the state and its check mark follow the command all the same.
TEST(StartLogger, TheStateFollowsTheCommandEvenWhenTheWriteFails) {
  CommandFixture f;
  const StartLoggerResult started = StartLogger(f.ctx, true);
  EXPECT_EQ(started.result, CommandResult::kFailed);
  EXPECT_EQ(f.prompter.messages, std::vector<std::string>{"Failed to write data to LCU.\nThe handle is invalid."});
  EXPECT_EQ(f.ui.flags[AppFlag::kLoggerStarted], true);
  EXPECT_EQ(f.app.m_bLoggerStarted, 1);
}

// Whatever state the program set last, the word asked for is sent; the word off also forgets
// that the LCU was seen logging.
TEST(StartLogger, SendsTheWordAskedForFromEitherState) {
  for (const bool before : {false, true}) {
    for (const bool on : {false, true}) {
      SCOPED_TRACE(std::to_string(before) + " -> " + std::to_string(on));
      CommandFixture f;
      f.GoOnline();
      f.app.m_bLoggerStarted = before ? 1 : 0;
      f.device.m_bLoggingSeen = 1;
      const StartLoggerResult result = StartLogger(f.ctx, on);
      EXPECT_EQ(result.result, CommandResult::kDone);
      EXPECT_EQ(result.startWord, on ? 0x80 : 0);
      EXPECT_EQ(f.Sent(), std::vector<std::string>{on ? "out 44 F752/80" : "out 44 F752/0"});
      EXPECT_EQ(f.app.m_bLoggerStarted, on ? 1 : 0);
      EXPECT_EQ(f.ui.flagCalls, (std::vector<std::pair<AppFlag, bool>>{{AppFlag::kLoggerStarted, on}}));
      EXPECT_EQ(f.device.m_bLoggingSeen, on ? 1 : 0);
    }
  }
}

TEST(StartLogger, AnLcuFoundOffLineForgetsTheStateAndSendsNothing) {
  CommandFixture f;
  f.GoOnline();
  StartLogger(f.ctx, true);
  ResetLoggerStarted(f.ctx);
  EXPECT_EQ(f.app.m_bLoggerStarted, 0);
  EXPECT_EQ(f.ui.flags[AppFlag::kLoggerStarted], false);
  EXPECT_EQ(f.Sent(), std::vector<std::string>{"out 44 F752/80"});
}

}  // namespace
}  // namespace lcu
