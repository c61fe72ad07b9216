#include "gui/monitor/monitor_table_model.h"

#include <array>
#include <chrono>

#include <QGuiApplication>
#include <QPalette>

#include "core/channels/channel_conversion.h"
#include "core/monitor/conversion_explanation.h"
#include "core/monitor/monitor_row.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/group_images.h"
#include "gui/monitor/last_read_text.h"

namespace lcu::gui {

namespace {

// How often the model looks whether its values are still live: often enough that a window
// greys well within a second of the values going old.
constexpr std::chrono::milliseconds kLiveCheckPeriod{250};

constexpr std::array<std::string_view, kMonitorColumnCount> kHeadings = {
    text::kIdHeading, text::kChannelHeading, text::kValueHeading, text::kUnitsHeading, text::kRawHeading};

Qt::Alignment ColumnAlignment(int column) {
  const bool right = column == kIdColumn || column == kValueColumn || column == kRawColumn;
  return (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

// The table has no entry for numbers from 1024 on: such rows have no name, no unit and
// no decimals.
const ChannelDefinition* Definition(const AppState& app, std::uint16_t channel) {
  return channel < app.m_channelTable.size() ? &app.m_channelTable[channel] : nullptr;
}

}  // namespace

MonitorTableModel::MonitorTableModel(MonitorDocument& document, LcuSession& session, const CommandContext& ctx,
                                     QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_session(session), m_ctx(ctx), m_app(ctx.app) {
  m_document.AddObserver(*this);
  m_session.Subscribe(m_document, *this);
  connect(&m_liveCheck, &QTimer::timeout, this, &MonitorTableModel::CheckLive);
  m_liveCheck.start(kLiveCheckPeriod);
}

MonitorTableModel::~MonitorTableModel() {
  m_session.Unsubscribe(m_document, *this);
  m_document.RemoveObserver(*this);
}

void MonitorTableModel::OnRowsChanged(const MonitorDocument& document) {
  beginResetModel();
  m_rows.clear();
  m_rows.reserve(document.Channels().size());
  for (const std::uint16_t channel : document.Channels()) {
    Row row;
    row.channel = channel;
    row.image = GetChannelImage(channel);
    row.id = ToQString(FormatIdCell(channel));
    if (const ChannelDefinition* definition = Definition(m_app, channel)) {
      row.name = ToQString(definition->NameText());
      row.units = ToQString(definition->UnitsText());
    }
    m_rows.push_back(std::move(row));
  }
  m_bLive = false;
  endResetModel();
}

bool MonitorTableModel::LiveNow() const { return AreReadingsLive(m_ctx, m_document.ReadingsTakenAt()); }

void MonitorTableModel::CheckLive() {
  const bool live = LiveNow();
  if (!live && !m_document.Readings().empty()) emit staleNoteChanged();
  if (live == m_bLive) return;
  m_bLive = live;
  if (live) emit staleNoteChanged();
  if (m_rows.empty()) return;
  const int last = static_cast<int>(m_rows.size()) - 1;
  emit dataChanged(index(0, kValueColumn), index(last, kValueColumn), {Qt::ForegroundRole});
  emit dataChanged(index(0, kRawColumn), index(last, kRawColumn), {Qt::ForegroundRole});
}

QString MonitorTableModel::StaleText() const {
  return StaleNote(m_ctx, m_bLive, !m_document.Readings().empty(), m_document.ReadingsTakenAt(),
                   m_document.ReadingsTime());
}

QString MonitorTableModel::RowsText(const std::vector<int>& rows) const {
  QStringList lines;
  for (const int row : rows) {
    if (row < 0 || row >= rowCount()) continue;
    const Row& shown = Shown(static_cast<std::size_t>(row));
    lines << QStringList{shown.name, shown.value, shown.units}.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n'));
}

QStringList MonitorTableModel::FirstNames(int count) const {
  QStringList names;
  for (int row = 0; row < rowCount() && row < count; ++row) {
    const Row& shown = m_rows[static_cast<std::size_t>(row)];
    // Before the definitions are loaded a channel has only its number.
    names << (shown.name.isEmpty() ? shown.id : shown.name);
  }
  return names;
}

void MonitorTableModel::OnReadings(const MonitorDocument&, std::span<const std::uint32_t> readings, const LocalTime&) {
  const std::size_t count = std::min(readings.size(), m_rows.size());
  if (count == 0) return;
  for (std::size_t i = 0; i < count; ++i) {
    Row& row = m_rows[i];
    row.reading = readings[i];
    row.textsCurrent = false;
  }
  const bool wasLive = m_bLive;
  m_bLive = LiveNow();
  QList<int> roles{Qt::DisplayRole};
  if (m_bLive != wasLive) {
    roles << Qt::ForegroundRole;
    emit staleNoteChanged();
  }
  // The Units column between them is unchanged: a signal per column keeps it out of the
  // repaint.
  const int last = static_cast<int>(count) - 1;
  emit dataChanged(index(0, kValueColumn), index(last, kValueColumn), roles);
  emit dataChanged(index(0, kRawColumn), index(last, kRawColumn), roles);
}

const MonitorTableModel::Row& MonitorTableModel::Shown(std::size_t index) const {
  const Row& row = m_rows[index];
  if (row.textsCurrent) return row;
  row.raw = ToQString(FormatRawCell(row.reading));
  const ChannelDefinition* definition = Definition(m_app, row.channel);
  const int decimals = definition ? definition->decimals : 0;
  row.value = ToQString(FormatValueCell(ConvertReading(m_app.m_calibration, row.reading, row.channel), decimals));
  row.textsCurrent = true;
  return row;
}

QString MonitorTableModel::ValueText(int row) const { return Shown(static_cast<std::size_t>(row)).value; }

QString MonitorTableModel::ValueExplanation(int row) const {
  const Row& shown = Shown(static_cast<std::size_t>(row));
  if (shown.value.isEmpty()) return {};
  const ChannelDefinition* definition = Definition(m_app, shown.channel);
  ConversionExplanation explanation =
      ExplainConversion(m_app.m_calibration, shown.reading, shown.channel, definition ? definition->decimals : 0);
  explanation.calibrationFile = m_app.m_szCalibrationFile;
  QStringList lines;
  for (const std::string& line : ExplanationLines(explanation)) lines << ToQString(line);
  return lines.join('\n');
}

int MonitorTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int MonitorTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kMonitorColumnCount;
}

QVariant MonitorTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const Row& row = m_rows[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      switch (index.column()) {
        case kIdColumn: return row.id;
        case kChannelColumn: return row.name;
        case kValueColumn: return Shown(static_cast<std::size_t>(index.row())).value;
        case kUnitsColumn: return row.units;
        case kRawColumn: return Shown(static_cast<std::size_t>(index.row())).raw;
        default: return {};
      }
    case Qt::DecorationRole:
      if (index.column() == kIdColumn) return GroupImage(row.image);
      return {};
    case Qt::TextAlignmentRole: return QVariant::fromValue(ColumnAlignment(index.column()));
    case Qt::ForegroundRole:
      if ((index.column() == kValueColumn || index.column() == kRawColumn) && !m_bLive) {
        return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
      }
      return {};
    case Qt::ToolTipRole: {
      if (index.column() != kValueColumn && index.column() != kRawColumn) return {};
      const QString stale = StaleText();
      const QString explanation = index.column() == kValueColumn ? ValueExplanation(index.row()) : QString();
      if (stale.isEmpty()) return explanation.isEmpty() ? QVariant() : QVariant(explanation);
      return explanation.isEmpty() ? stale : stale + QLatin1Char('\n') + explanation;
    }
    default: return {};
  }
}

QVariant MonitorTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kMonitorColumnCount) return {};
  if (role == Qt::DisplayRole) return ToQString(kHeadings[static_cast<std::size_t>(section)]);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(ColumnAlignment(section));
  return {};
}

}  // namespace lcu::gui
