// MemoryTableModel: the rows of the memory window, one LCU byte per row: its address and the
// byte as decimal, hexadecimal, character and binary text. The addresses are set when the
// run changes; each refresh rewrites the other four columns and tells the view once.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include <QAbstractTableModel>
#include <QString>

#include "core/memory/memory_row.h"

namespace lcu::gui {

enum MemoryColumn : int {
  kAddrColumn = 0,
  kDecColumn,
  kHexColumn,
  kAsciiColumn,
  kBinaryColumn,
  kMemoryColumnCount,
};

class MemoryTableModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  /// One row per address from first on, count rows; only the Addr cells are filled.
  void ResetRows(std::uint16_t first, int count);
  /// Writes the Dec, Hex, ASCII and Binary cells of the rows that have a row of texts (in
  /// row order); the Addr cells stay as they are. One dataChanged covers them all.
  void SetValues(std::span<const MemoryRow> rows);

  /// The Addr text of a row as shown.
  const QString& AddressText(int row) const { return m_rows[static_cast<std::size_t>(row)][kAddrColumn]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  using Row = std::array<QString, kMemoryColumnCount>;
  std::vector<Row> m_rows;
};

}  // namespace lcu::gui
