// The CSV record of live channel values, shared by lcu monitor --csv and the desktop
// program's recording: a header line "time" and one heading per channel (its name, and its
// units in brackets when it has any), then one line per tick with the local time and the
// values as the Value cell shows them. A tick without readings keeps its line with empty
// cells, so a gap in the record is visible where it happened.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/host/clock.h"

namespace lcu {

/// The heading of the time column.
inline constexpr std::string_view kCsvTimeColumn = "time";

/// A CSV field: quoted, with its quotes doubled, when it holds a comma, a quote or a line
/// break; as it is otherwise.
std::string CsvField(std::string_view text);
/// The fields joined by commas, without a line end.
std::string CsvLine(std::span<const std::string> fields);
/// The local time as "YYYY-MM-DD hh:mm:ss.mmm".
std::string CsvTimestamp(const LocalTime& time);
/// A channel's column heading: "NAME [units]", or the name alone without units.
std::string CsvHeading(std::string_view name, std::string_view units);

}  // namespace lcu
