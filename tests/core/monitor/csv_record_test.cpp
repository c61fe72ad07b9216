// The CSV record's fields; headings and times are the recorder's lines.
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
      {"OIL PRESS", "OIL PRESS"}, {"", ""},           {"P1,P2", "\"P1,P2\""}, {"6\" WHEEL", "\"6\"\" WHEEL\""},
      {"A\nB", "\"A\nB\""},       {"-0.05", "-0.05"},
  };
  for (const auto& c : cases) EXPECT_EQ(CsvField(c.text), c.field) << c.text;
  EXPECT_EQ(CsvLine(std::vector<std::string>{"time", "A,B", "C"}), "time,\"A,B\",C");
  EXPECT_EQ(CsvLine(std::vector<std::string>{"t", "", ""}), "t,,");
}

}  // namespace
}  // namespace lcu
