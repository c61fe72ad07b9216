// The Windows file-time count of a local time, and back.
#include <gtest/gtest.h>

#include "core/host/clock.h"

namespace lcu {
namespace {

TEST(FileTime, CountsHundredNanosecondsSince1601) {
  EXPECT_EQ(FileTimeFromLocal({1601, 1, 1, 0, 0, 0, 0}), 0u);
  EXPECT_EQ(FileTimeFromLocal({1970, 1, 1, 0, 0, 0, 0}), 116444736000000000ull);
  EXPECT_EQ(FileTimeFromLocal({2000, 3, 1, 12, 30, 15, 250}), 125963874152500000ull);
  const LocalTime t{2026, 12, 4, 13, 52, 44, 999};
  const LocalTime back = LocalFromFileTime(FileTimeFromLocal(t));
  EXPECT_EQ(back.year, 2026);
  EXPECT_EQ(back.month, 12);
  EXPECT_EQ(back.day, 4);
  EXPECT_EQ(back.hour, 13);
  EXPECT_EQ(back.minute, 52);
  EXPECT_EQ(back.second, 44);
  EXPECT_EQ(back.millisecond, 999);
}

}  // namespace
}  // namespace lcu
