#include "core/monitor/csv_record.h"

#include <array>
#include <cstdio>

namespace lcu {

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string CsvLine(std::span<const std::string> fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += CsvField(fields[i]);
  }
  return line;
}

std::string CsvTimestamp(const LocalTime& time) {
  // Room for any int in every field, so the text is never cut.
  std::array<char, 96> text{};
  std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d.%03d", time.year, time.month, time.day,
                time.hour, time.minute, time.second, time.millisecond);
  return text.data();
}

std::string CsvHeading(std::string_view name, std::string_view units) {
  std::string heading(name);
  if (!units.empty()) {
    heading += " [";
    heading += units;
    heading += ']';
  }
  return heading;
}

}  // namespace lcu
