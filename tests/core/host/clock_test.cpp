// The Windows file-time count of a local time, and back.
#include <gtest/gtest.h>

#include <tuple>

#include "core/host/clock.h"

namespace lcu {
namespace {

TEST(FileTime, CountsHundredNanosecondsSince1601) {
  EXPECT_EQ(FileTimeFromLocal({1601, 1, 1, 0, 0, 0, 0}), 0u);
  EXPECT_EQ(FileTimeFromLocal({1970, 1, 1, 0, 0, 0, 0}), 116444736000000000ull);
  EXPECT_EQ(FileTimeFromLocal({2000, 3, 1, 12, 30, 15, 250}), 125963874152500000ull);
  const LocalTime t{2026, 12, 4, 13, 52, 44, 999};
  const LocalTime b = LocalFromFileTime(FileTimeFromLocal(t));
  EXPECT_EQ(std::make_tuple(b.year, b.month, b.day, b.hour, b.minute, b.second, b.millisecond),
            std::make_tuple(2026, 12, 4, 13, 52, 44, 999));
}

}  // namespace
}  // namespace lcu
