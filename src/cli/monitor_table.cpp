#include "cli/monitor_table.h"

#include <algorithm>
#include <array>
#include <ostream>

#include "cli/cli_messages.h"
#include "cli/terminal.h"
#include "core/channels/channel_conversion.h"
#include "core/monitor/monitor_row.h"

namespace lcu::cli {

namespace {

constexpr std::string_view kColumnGap = "  ";
// Escape sequences of ANSI terminals: cursor up n lines, erase the whole line.
constexpr std::string_view kCursorUpStart = "\x1b[";
constexpr std::string_view kCursorUpEnd = "A";
constexpr std::string_view kEraseLine = "\r\x1b[2K";

enum class Align { kLeft, kRight };

struct Column {
  std::string_view heading;
  std::string MonitorRow::*cell;
  Align align;
};

constexpr std::array<Column, 5> kColumns = {{
    {msg::kColumnId, &MonitorRow::id, Align::kRight},
    {msg::kColumnChannel, &MonitorRow::name, Align::kLeft},
    {msg::kColumnValue, &MonitorRow::value, Align::kRight},
    {msg::kColumnUnits, &MonitorRow::units, Align::kLeft},
    {msg::kColumnRaw, &MonitorRow::raw, Align::kRight},
}};

void AppendPadded(std::string& line, std::string_view text, std::size_t width, Align align) {
  const std::size_t pad = width - std::min(width, text.size());
  if (align == Align::kRight) line.append(pad, ' ');
  line += text;
  if (align == Align::kLeft) line.append(pad, ' ');
}

std::string TrimEnd(std::string line) {
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

}  // namespace

MonitorRow LabelledRow(const AppState& app, std::uint16_t channel) {
  const ChannelDefinition& definition = app.m_channelTable[channel];
  return {FormatIdCell(channel), definition.NameText(), {}, definition.UnitsText(), {}};
}

std::string ValueCellOf(const AppState& app, std::uint16_t channel, std::uint32_t reading) {
  return FormatValueCell(ConvertReading(app.m_calibration, reading, channel), app.m_channelTable[channel].decimals);
}

std::vector<std::string> FormatMonitorTable(std::span<const MonitorRow> shownRows) {
  std::vector<MonitorRow> rows(shownRows.begin(), shownRows.end());
  for (MonitorRow& row : rows) {
    row.name = TerminalSafe(row.name);
    row.units = TerminalSafe(row.units);
  }
  std::array<std::size_t, kColumns.size()> widths{};
  for (std::size_t c = 0; c < kColumns.size(); ++c) {
    widths[c] = kColumns[c].heading.size();
    for (const MonitorRow& row : rows) widths[c] = std::max(widths[c], (row.*kColumns[c].cell).size());
  }
  std::vector<std::string> lines;
  lines.reserve(rows.size() + 1);
  const auto line = [&](auto cellOf) {
    std::string text;
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
      if (c > 0) text += kColumnGap;
      AppendPadded(text, cellOf(c), widths[c], kColumns[c].align);
    }
    lines.push_back(TrimEnd(std::move(text)));
  };
  line([](std::size_t c) { return kColumns[c].heading; });
  for (const MonitorRow& row : rows) line([&row](std::size_t c) { return std::string_view(row.*kColumns[c].cell); });
  return lines;
}

void TableScreen::Show(std::span<const std::string> lines) {
  if (m_bInPlace) {
    if (m_nShownLines > 0) m_out << kCursorUpStart << m_nShownLines << kCursorUpEnd;
    for (const std::string& line : lines) m_out << kEraseLine << line << '\n';
    m_nShownLines = lines.size();
  } else {
    for (const std::string& line : lines) m_out << line << '\n';
    m_out << '\n';
  }
  m_out.flush();
}

}  // namespace lcu::cli
