// Set LCU Clock: the status block is read and written straight back with the clock alone
// changed to the computer's minute. That a simulated LCU runs on from the clock set is the
// simulator's clock test; refusals and No are in the LCU commands' tables, faults in the matrix.
#include <gtest/gtest.h>

#include "core/commands/set_lcu_clock.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

TEST(SetLcuClock, WritesTheStatusBlockBackWithOnlyTheClockChanged) {
  test::CommandFixture f;
  f.GoOnline();
  f.prompter.answers = {true};
  f.clock.now.hour = 14;
  f.clock.now.minute = 5;
  StatusBlock read{};
  for (std::size_t i = 0; i < read.size(); ++i) read[i] = static_cast<std::uint8_t>(0xA0 + i);
  f.Reply(read);

  const SetLcuClockResult set = SetLcuClock(f.ctx);
  EXPECT_EQ(set.result, CommandResult::kDone);
  EXPECT_EQ(set.minutes, 14 * 60 + 5);
  const StatusBlock& written = set.written;
  EXPECT_EQ(f.prompter.questions, std::vector<std::string>{std::string(msg::kSetLcuClockContinue)});
  EXPECT_EQ(f.Sent(), (std::vector<std::string>{"in 41 8000/0 64", "out 46 8000/0", "bulk-out 64"}));
  StatusBlock expected = read;
  le::PutU16(expected, 6, 14 * 60 + 5);
  EXPECT_EQ(f.LastWritten(), std::vector<std::uint8_t>(expected.begin(), expected.end()));
  EXPECT_EQ(written, expected);
  EXPECT_TRUE(f.prompter.messages.empty());
}

}  // namespace
}  // namespace lcu
