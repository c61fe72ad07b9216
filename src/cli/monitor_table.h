// The live values as the command line shows them: a monitor window's rows as a text table,
// and a terminal screen that redraws the table in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/app_state.h"
#include "core/host/clock.h"

namespace lcu::cli {

/// The five cells of a monitor window's row.
struct MonitorRow {
  std::string id;
  std::string name;
  std::string value;
  std::string units;
  std::string raw;
};

/// A row with the channel table's name and units and empty Value and Raw cells.
MonitorRow LabelledRow(const AppState& app, std::uint16_t channel);

/// The Value cell of a reading: converted with the calibration and shown with the decimals
/// of the channel itself, also where the conversion follows a source channel.
std::string ValueCellOf(const AppState& app, std::uint16_t channel, std::uint32_t reading);

/// The table: a line of column headings, then one line per row, the columns aligned (ID,
/// Value and Raw to the right), names and units safe for the terminal. No line ends in
/// blanks.
std::vector<std::string> FormatMonitorTable(std::span<const MonitorRow> rows);

/// Shows one table after another. In place, each table overwrites the one before it (the
/// cursor goes back up over it); otherwise the tables follow each other with a blank line
/// after each.
class TableScreen {
 public:
  TableScreen(std::ostream& out, bool inPlace) : m_out(out), m_bInPlace(inPlace) {}
  void Show(std::span<const std::string> lines);

 private:
  std::ostream& m_out;
  bool m_bInPlace;
  std::size_t m_nShownLines = 0;
};

}  // namespace lcu::cli
