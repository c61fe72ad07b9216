// The memory window's traffic: a datum written to each address in order, and a run of rows
// read in one block. What a failed transfer shows is the core's fault matrix.
#include <gtest/gtest.h>

#include "core/commands/memory_access.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

TEST(MemoryAccess, WritesTheDatumToEveryAddressInOrder) {
  test::CommandFixture f;
  f.GoOnline();
  const std::vector<std::uint16_t> rows = {0x8001, 0x8002, 0x8005};
  EXPECT_EQ(WriteMemoryDatum(f.ctx, rows, 0x012C), CommandResult::kDone);
  EXPECT_EQ(f.Sent(), (std::vector<std::string>{"out 44 8001/12C", "out 44 8002/12C", "out 44 8005/12C"}));
  EXPECT_TRUE(f.prompter.messages.empty());
}

TEST(MemoryAccess, ReadsSixtyFourBytesAndFormatsTheRun) {
  test::CommandFixture f;
  f.GoOnline();
  f.backend.Reply({0x41, 0x0A, 0xFF});
  const auto rows = ReadMemoryRows(f.device, 0xFFFE, 16);
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), 2u);
  EXPECT_EQ((*rows)[0].address, "FFFE");
  EXPECT_EQ((*rows)[0].ascii, "A");
  EXPECT_EQ((*rows)[1].binary, "00001010");
  EXPECT_EQ(f.Sent(), std::vector<std::string>{"in 41 FFFE/0 64"});
}

}  // namespace
}  // namespace lcu
