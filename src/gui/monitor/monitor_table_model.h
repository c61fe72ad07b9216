// MonitorTableModel: the rows of one monitor window: per channel its number with the
// picture of its group, its name, its value, its unit and its raw reading. The names and
// units are taken when the rows are built. The value update only stores each row's raw
// reading and tells the view once per tick; the Value and Raw texts are made when a cell is
// asked for, so a tick costs the rows on the screen, not every row of every window.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <QAbstractTableModel>
#include <QString>

#include "core/app/app_state.h"

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
  /// Takes one reading per row (in row order) for the Value and Raw cells: the value is the
  /// reading converted with the calibration and shown with the row's channel's decimals.
  /// One dataChanged for the Value column and one for the Raw column cover all rows. `app`
  /// must outlive the model's next readings, as the texts are made from it when shown.
  void SetReadings(std::span<const std::uint32_t> readings, const AppState& app);

  /// The text of a row's Value cell as shown.
  QString ValueText(int row) const;
  std::uint16_t Channel(int row) const { return m_rows[static_cast<std::size_t>(row)].channel; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  struct Row {
    std::uint16_t channel = 0;
    int image = 0;
    std::uint32_t reading = 0;
    QString id;
    QString name;
    QString units;
    // The texts of the last reading, made when first shown.
    mutable bool textsCurrent = true;
    mutable QString value;
    mutable QString raw;
  };
  /// Brings a row's Value and Raw texts up to its last reading.
  const Row& Shown(std::size_t row) const;

  std::vector<Row> m_rows;
  const AppState* m_app = nullptr;
};

}  // namespace lcu::gui
