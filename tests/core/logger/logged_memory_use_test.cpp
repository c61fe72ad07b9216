// The memory use of a buffer table: the data of every buffer against the room from the first
// buffer to the end marker, and no figure at all from a header that is not valid.
#include <gtest/gtest.h>

#include "core/logger/logged_memory_use.h"
#include "support/header_with_buffers.h"

namespace lcu {
namespace {

TEST(LoggedMemoryUse, CountsTheBuffersDataAgainstTheirRoom) {
  // Two buffers of 32 KiB room each; the first holds 8 KiB, the second 16 KiB and a half.
  const std::vector<LogBufferEntry> entries = {
      {1, 1, {0x8000, 1}, {0xA000, 1}, 0},
      {1, 1, {0x8000, 3}, {0xA000, 4}, 0},
      {0, 0, {0x8000, 5}, {0x8000, 5}, 0},
  };
  const std::optional<LoggedMemoryUse> use = MemoryUseOf(HeaderWithBuffers(2, 0, entries));
  ASSERT_TRUE(use);
  EXPECT_EQ(use->usedBytes, 8192u + 16384u + 8192u);
  EXPECT_EQ(use->capacityBytes, 65536u);
  EXPECT_EQ(use->Percent(), 50u);
  EXPECT_EQ((LoggedMemoryUse{1, 3}).Percent(), 33u) << "rounded down";
  EXPECT_EQ((LoggedMemoryUse{0, 0}).Percent(), 0u) << "no room";
}

TEST(LoggedMemoryUse, GivesNoFigureForAnInvalidHeader) {
  const std::vector<LogBufferEntry> fits = {{1, 1, {0x8000, 1}, {0x8000, 1}, 0}, {0, 0, {0x8000, 2}, {0x8000, 2}, 0}};
  const std::vector<LogBufferEntry> beyondMemory = {{1, 1, {0x8000, 1}, {0x8000, 70}, 0},
                                                    {0, 0, {0x8000, 71}, {0x8000, 71}, 0}};
  EXPECT_TRUE(MemoryUseOf(HeaderWithBuffers(2, 0, fits)));
  EXPECT_FALSE(MemoryUseOf(HeaderWithBuffers(0, 0, fits))) << "no memory";
  EXPECT_FALSE(MemoryUseOf(HeaderWithBuffers(kMaxMemorySize + 1, 0, fits))) << "more memory than an LCU has";
  EXPECT_FALSE(MemoryUseOf(HeaderWithBuffers(2, 0, beyondMemory))) << "a buffer beyond the memory";
}

}  // namespace
}  // namespace lcu
