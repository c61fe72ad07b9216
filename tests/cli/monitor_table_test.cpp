// The monitor command's table and its redrawing in place.
#include "cli/monitor_table.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lcu::cli {
namespace {

TEST(MonitorTableTest, ColumnsWidenToTheirLongestCellAndNumbersAlignRight) {
  const std::vector<MonitorRow> rows = {
      {"005", "FUEL PRESS", "3.81", "bar", "1657"},
      {"1023", "ID1023", "-123456.50", "", "65535"},
      {"070", "GEAR", "2", "", "2"},
  };
  EXPECT_EQ(FormatMonitorTable(rows), (std::vector<std::string>{
                                          "  ID  Channel          Value  Units    Raw",
                                          " 005  FUEL PRESS        3.81  bar     1657",
                                          "1023  ID1023      -123456.50         65535",
                                          " 070  GEAR                 2             2",
                                      }));
  EXPECT_EQ(FormatMonitorTable({}), std::vector<std::string>{"ID  Channel  Value  Units  Raw"});
  // A name or unit text from the definition file cannot move the cursor: it shows escaped.
  const std::vector<MonitorRow> hostile = {{"001", "A\x1b[H", "1", "\r", "1"}};
  EXPECT_EQ(FormatMonitorTable(hostile)[1], "001  A\\x1B[H      1  \\x0D     1");
}

TEST(MonitorTableTest, InPlaceTheNextTableOverwritesTheLastOne) {
  const std::vector<std::string> first = {"a", "b", "c"};
  const std::vector<std::string> second = {"d", "e", "f"};

  std::ostringstream terminal;
  TableScreen inPlace(terminal, true);
  inPlace.Show(first);
  inPlace.Show(second);
  EXPECT_EQ(terminal.str(),
            "\r\x1b[2Ka\n\r\x1b[2Kb\n\r\x1b[2Kc\n"
            "\x1b[3A\r\x1b[2Kd\n\r\x1b[2Ke\n\r\x1b[2Kf\n");

  std::ostringstream log;
  TableScreen appended(log, false);
  appended.Show(first);
  appended.Show(second);
  EXPECT_EQ(log.str(), "a\nb\nc\n\nd\ne\nf\n\n");
}

}  // namespace
}  // namespace lcu::cli
