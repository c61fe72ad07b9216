// The session block's values as the LCU stores them.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "core/logger/session_block.h"
#include "core/util/little_endian.h"
#include "support/example_blocks.h"

namespace lcu {
namespace {

using test::ExampleSessionBlock;

TEST(SessionBlockAfterUpdate, ClampsNegativesAndKeepsTheLow16Bits) {
  const SessionBlock block = ExampleSessionBlock();
  struct Case {
    SessionDataValues entered;
    std::uint16_t session, outing, lapBase, paceLaps;
  };
  const std::vector<Case> cases = {
      {{5, 2, 28, 3}, 4, 1, 20, 3},
      {{0, 0, 0, 0}, 0, 0, 0, 0},                      // Session 0 stores 0, not 65535
      {{6, 3, 5, 70000}, 5, 2, 0, 4464},               // lap count below laps + 1; pace laps cut to 16 bits
      {{65537, 1, 65536 + 8, INT32_MIN}, 0, 0, 0, 0},  // 65536 and a lap base of 65536 wrap to 0
      {{INT32_MAX, 1, INT32_MAX, INT32_MAX}, 0xFFFE, 0, 0xFFF7, 0xFFFF},
  };
  for (const Case& c : cases) {
    SessionBlock expected = block;
    le::PutU16(expected, 0x0C, c.session);
    le::PutU16(expected, 0x0E, c.outing);
    le::PutU16(expected, 0x10, c.lapBase);
    le::PutU16(expected, 0x3C, c.paceLaps);
    EXPECT_EQ(SessionBlockAfterUpdate(block, c.entered), expected) << c.entered.session << ' ' << c.entered.lapCount;
  }
  SessionBlock full{};
  full.fill(0xFF);
  EXPECT_EQ(SessionValuesOf(full), (SessionDataValues{65536, 65536, 131071, 65535}));
}

}  // namespace
}  // namespace lcu
