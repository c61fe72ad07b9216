// The CSV record's fields, headings and times.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/monitor/csv_record.h"

namespace lcu {
namespace {

TEST(CsvRecordTest, QuotesOnlyFieldsThatNeedIt) {
  const struct {
    const char* text;
    const char* field;
  } cases[] = {
      {"OIL PRESS", "OIL PRESS"},   {"", ""},
      {"P1,P2", "\"P1,P2\""},       {"6\" WHEEL", "\"6\"\" WHEEL\""},
      {"A\nB", "\"A\nB\""},         {"-0.05", "-0.05"},
  };
  for (const auto& c : cases) EXPECT_EQ(CsvField(c.text), c.field) << c.text;
  EXPECT_EQ(CsvLine(std::vector<std::string>{"time", "A,B", "C"}), "time,\"A,B\",C");
  EXPECT_EQ(CsvLine(std::vector<std::string>{"t", "", ""}), "t,,");
}

TEST(CsvRecordTest, HeadingsAndTimes) {
  EXPECT_EQ(CsvHeading("FUEL PRESS", "bar"), "FUEL PRESS [bar]");
  EXPECT_EQ(CsvHeading("GEAR", ""), "GEAR");
  EXPECT_EQ(CsvTimestamp({2024, 3, 7, 9, 5, 2, 7}), "2024-03-07 09:05:02.007");
  EXPECT_EQ(CsvTimestamp({2031, 12, 31, 23, 59, 59, 999}), "2031-12-31 23:59:59.999");
}

}  // namespace
}  // namespace lcu
