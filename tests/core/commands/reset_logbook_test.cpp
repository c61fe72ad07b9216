// Reset Logbook: the header goes back with its logbook cleared and stamped.
#include <gtest/gtest.h>

#include "core/commands/reset_logbook.h"
#include "core/host/clock.h"
#include "core/logger/logger_header.h"
#include "core/util/little_endian.h"
#include "support/command_fixture.h"
#include "support/example_blocks.h"

namespace lcu {
namespace {

using test::CommandFixture;
using test::Pattern;

TEST(ResetLogbook, ClearsTheLogbookAndStampsTheResetTime) {
  CommandFixture f;
  f.GoOnline();
  const auto header = Pattern(kLoggerHeaderSize, 9);
  f.Reply(header);
  f.prompter.answers = {true};
  const ResetLogbookResult reset = ResetLogbook(f.ctx);
  EXPECT_EQ(reset.result, CommandResult::kDone);
  EXPECT_EQ(reset.resetFileTime, FileTimeFromLocal(f.clock.now));
  EXPECT_EQ(f.Sent(), (std::vector<std::string>{"out 45 8000/0", "bulk-in 16384", "out 46 8040/0", "bulk-out 16320"}));
  auto expected = header;
  std::fill(expected.begin() + 0x56, expected.begin() + 0x76, 0);  // logbook counters
  std::fill(expected.begin() + 0x80, expected.begin() + 0x100, 0);
  le::PutU64(expected, 0x88, FileTimeFromLocal(f.clock.now));
  EXPECT_EQ(f.LastWritten(), std::vector<std::uint8_t>(expected.begin() + 64, expected.end()));
  EXPECT_TRUE(f.prompter.messages.empty());
}

}  // namespace
}  // namespace lcu
