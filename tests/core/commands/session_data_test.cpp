// Session Data: the block read, the values it holds, and what goes back after Update.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/commands/edit_session_data.h"
#include "core/commands/read_session_data.h"
#include "core/commands/write_session_data.h"
#include "core/util/little_endian.h"
#include "support/command_fixture.h"
#include "support/example_blocks.h"

namespace lcu {
namespace {

using test::CommandFixture;
using test::ExampleSessionBlock;

// A value the session block cannot hold as entered is refused with its range and nothing is
// written; a lap count below the laps since the reset + 1 still stores a lap base of 0.
TEST(SessionData, RefusesWhatTheBlockCannotHoldAndReportsWhatItStored) {
  const struct {
    SessionDataValues entered;
    const char* refusal;
    SessionDataValues stored;
    std::optional<std::size_t> refusedField;
  } cases[] = {
      {{0, 2, 28, 3}, "Please enter an integer between 1 and 65536.", {}, 0},
      {{5, 65537, 28, 3}, "Please enter an integer between 1 and 65536.", {}, 1},
      {{5, 2, 65536 + 8, 3}, "Please enter an integer between 0 and 65543.", {}, 2},
      {{5, 2, -1, 3}, "Please enter an integer between 0 and 65543.", {}, 2},
      {{5, 2, 28, 65536}, "Please enter an integer between 0 and 65535.", {}, 3},
      {{65536, 1, 65536 + 7, 65535}, nullptr, {65536, 1, 65536 + 7, 65535}, std::nullopt},
      {{1, 1, 3, 0}, nullptr, {1, 1, 8, 0}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entered.lapCount);
    CommandFixture f;
    f.GoOnline();
    f.Reply(ExampleSessionBlock());
    f.prompter.sessionAnswer = c.entered;
    const WriteSessionDataResult edit = EditSessionData(f.ctx);
    const SessionDataValues& stored = edit.stored;
    EXPECT_EQ(edit.result, c.refusal ? CommandResult::kFailed : CommandResult::kDone);
    EXPECT_EQ(edit.refusedField, c.refusedField);
    if (c.refusal) {
      EXPECT_EQ(f.prompter.messages, std::vector<std::string>{c.refusal});
      EXPECT_EQ(f.Sent(), std::vector<std::string>{"in 41 8040/0 64"});
    } else {
      EXPECT_TRUE(f.prompter.messages.empty());
      EXPECT_EQ(stored, c.stored);
    }
  }
}

TEST(ReadSessionData, ReturnsWhatTheLcuHolds) {
  CommandFixture f;
  f.GoOnline();
  f.Reply(ExampleSessionBlock());
  const ReadSessionDataResult read = ReadSessionData(f.ctx);
  EXPECT_EQ(read.result, CommandResult::kDone);
  EXPECT_EQ(f.Sent(), std::vector<std::string>{"in 41 8040/0 64"});
  EXPECT_EQ(read.block, ExampleSessionBlock());
  EXPECT_EQ(read.values, (SessionDataValues{5, 2, 28, 3}));
  EXPECT_EQ(read.ranges[0].highest, 65536);
  EXPECT_EQ(read.ranges[2].highest, 7 + 65536) << "the laps since the reset + the lap base's limit";
  EXPECT_TRUE(f.prompter.messages.empty() && f.prompter.sessionShown.empty());
}

// The write follows a read made before: it does not read the block again, and the lap count
// is stored relative to the laps since the reset of that read.
TEST(WriteSessionData, WritesTheValuesIntoTheBlockReadBefore) {
  CommandFixture f;
  f.GoOnline();
  const WriteSessionDataResult written = WriteSessionData(f.ctx, ExampleSessionBlock(), {6, 1, 40, 2});
  EXPECT_EQ(written.result, CommandResult::kDone);
  EXPECT_EQ(f.Sent(), (std::vector<std::string>{"out 46 8040/0", "bulk-out 64"}));
  EXPECT_EQ(f.LastWritten(), std::vector<std::uint8_t>(written.written.begin(), written.written.end()));
  EXPECT_EQ(le::U16(written.written, 0x10), 40 - 7 - 1) << "lap base";
  EXPECT_EQ(le::U16(written.written, 0x0C), 5) << "session";
  EXPECT_EQ(written.stored, (SessionDataValues{6, 1, 40, 2}));
}

}  // namespace
}  // namespace lcu
