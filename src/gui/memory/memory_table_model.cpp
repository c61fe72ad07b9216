#include "gui/memory/memory_table_model.h"

#include <algorithm>
#include <chrono>
#include <string_view>

#include <QGuiApplication>
#include <QPalette>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/last_read_text.h"

namespace lcu::gui {

namespace {
constexpr std::array<std::string_view, kMemoryColumnCount> kHeadings = {
    text::kAddrHeading, text::kDecName, text::kHexName, text::kAsciiName, text::kBinaryHeading};
// How often the model looks whether its bytes are still live.
constexpr std::chrono::milliseconds kLiveCheckPeriod{250};
}  // namespace

MemoryTableModel::MemoryTableModel(MemoryDocument& document, const CommandContext& ctx, QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_ctx(ctx) {
  OnRunChanged(m_document);
  m_document.AddObserver(*this);
  connect(&m_liveCheck, &QTimer::timeout, this, &MemoryTableModel::CheckLive);
  m_liveCheck.start(kLiveCheckPeriod);
}

MemoryTableModel::~MemoryTableModel() { m_document.RemoveObserver(*this); }

void MemoryTableModel::OnRunChanged(const MemoryDocument& document) {
  beginResetModel();
  m_rows.assign(static_cast<std::size_t>(std::max(document.RowCount(), 0)), Row{});
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    const auto address = static_cast<std::uint16_t>(document.Address() + i);
    m_rows[i][kAddrColumn] = ToQString(FormatMemoryRow(address, 0).address);
  }
  m_bLive = false;
  endResetModel();
}

bool MemoryTableModel::LiveNow() const { return AreReadingsLive(m_ctx, m_document.RowsReadAt()); }

void MemoryTableModel::CheckLive() {
  const bool live = LiveNow();
  if (live == m_bLive) return;
  m_bLive = live;
  SignalLive();
}

void MemoryTableModel::SignalLive() {
  if (m_rows.empty()) return;
  emit dataChanged(index(0, kDecColumn), index(static_cast<int>(m_rows.size()) - 1, kBinaryColumn),
                   {Qt::ForegroundRole});
}

QString MemoryTableModel::StaleText() const {
  return StaleNote(m_ctx, m_bLive, !m_document.Rows().empty(), m_document.RowsReadAt(), m_document.RowsTime());
}

void MemoryTableModel::OnRowsRead(const MemoryDocument& document) {
  const std::span<const MemoryRow> rows = document.Rows();
  const std::size_t count = std::min(rows.size(), m_rows.size());
  if (count == 0) return;
  for (std::size_t i = 0; i < count; ++i) {
    Row& texts = m_rows[i];
    texts[kDecColumn] = ToQString(rows[i].dec);
    texts[kHexColumn] = ToQString(rows[i].hex);
    texts[kAsciiColumn] = ToQString(rows[i].ascii);
    texts[kBinaryColumn] = ToQString(rows[i].binary);
  }
  const bool wasLive = m_bLive;
  m_bLive = LiveNow();
  QList<int> roles{Qt::DisplayRole};
  if (m_bLive != wasLive) roles << Qt::ForegroundRole;
  emit dataChanged(index(0, kDecColumn), index(static_cast<int>(count) - 1, kBinaryColumn), roles);
  // Rows past those read keep no bytes: they too are drawn as the read ones are.
  if (m_bLive != wasLive && count < m_rows.size()) SignalLive();
}

int MemoryTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int MemoryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kMemoryColumnCount; }

QVariant MemoryTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  // The bytes, not their addresses, grow old.
  const bool byteCell = index.column() != kAddrColumn;
  if (role == Qt::ForegroundRole && byteCell && !m_bLive) {
    return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
  }
  if (role == Qt::ToolTipRole && byteCell) {
    const QString stale = StaleText();
    return stale.isEmpty() ? QVariant() : QVariant(stale);
  }
  if (role != Qt::DisplayRole) return {};
  return m_rows[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
}

QVariant MemoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kMemoryColumnCount) return {};
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  return ToQString(kHeadings[static_cast<std::size_t>(section)]);
}

}  // namespace lcu::gui
