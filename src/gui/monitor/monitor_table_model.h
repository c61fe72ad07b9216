// MonitorTableModel: the rows of one monitor window: per channel its number with the
// picture of its group, its name, its value, its unit and its raw reading. The names and
// units are taken when the rows are built; the value update rewrites the Value and Raw
// cells of every row and tells the view once per tick.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <QAbstractTableModel>
#include <QString>

#include "app/app_state.h"

namespace lcu::gui {

enum MonitorColumn : int {
  kIdColumn = 0,
  kChannelColumn,
  kValueColumn,
  kUnitsColumn,
  kRawColumn,
  kMonitorColumnCount,
};

class MonitorTableModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  /// Rebuilds the rows from channel numbers, labelled from the channel table; the Value
  /// and Raw cells start empty.
  void SetRows(std::span<const std::uint16_t> channels, const AppState& app);
  void ClearRows();
  /// Writes the Value and Raw cells of every row from one reading per row (in row order),
  /// converted with the calibration and shown with the row's channel's decimals. One
  /// dataChanged covers the Value to Raw columns of all rows.
  void SetReadings(std::span<const std::uint32_t> readings, const AppState& app);

  /// The text of a row's Value cell as shown.
  const QString& ValueText(int row) const { return m_rows[static_cast<std::size_t>(row)].value; }
  std::uint16_t Channel(int row) const { return m_rows[static_cast<std::size_t>(row)].channel; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  struct Row {
    std::uint16_t channel = 0;
    int image = 0;
    QString id;
    QString name;
    QString units;
    QString value;
    QString raw;
  };
  std::vector<Row> m_rows;
};

}  // namespace lcu::gui
