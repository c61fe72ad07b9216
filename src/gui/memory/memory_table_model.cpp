#include "gui/memory/memory_table_model.h"

#include <algorithm>
#include <string_view>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {
constexpr std::array<std::string_view, kMemoryColumnCount> kHeadings = {
    text::kAddrHeading, text::kDecName, text::kHexName, text::kAsciiName, text::kBinaryHeading};
}  // namespace

MemoryTableModel::MemoryTableModel(MemoryDocument& document, QObject* parent)
    : QAbstractTableModel(parent), m_document(document) {
  OnRunChanged(m_document);
  m_document.AddObserver(*this);
}

MemoryTableModel::~MemoryTableModel() { m_document.RemoveObserver(*this); }

void MemoryTableModel::OnRunChanged(const MemoryDocument& document) {
  beginResetModel();
  m_rows.assign(static_cast<std::size_t>(std::max(document.RowCount(), 0)), Row{});
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    const auto address = static_cast<std::uint16_t>(document.Address() + i);
    m_rows[i][kAddrColumn] = ToQString(FormatMemoryRow(address, 0).address);
  }
  endResetModel();
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
  emit dataChanged(index(0, kDecColumn), index(static_cast<int>(count) - 1, kBinaryColumn), {Qt::DisplayRole});
}

int MemoryTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int MemoryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kMemoryColumnCount; }

QVariant MemoryTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
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
