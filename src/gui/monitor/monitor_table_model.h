// MonitorTableModel: the rows of one monitor window's document: per channel its number with
// the picture of its group, its name, its value, its unit and its raw reading. It follows its
// document's rows (names and units are taken when the rows are built) and takes the readings
// the session publishes for it: it only stores each row's raw reading and tells the view once
// per update; the Value and Raw texts are made when a cell is asked for, so an update costs
// the rows on the screen, not every row of every window. Values that are no longer live (the
// LCU off line, a download holding the link, a failed exchange) are shown greyed, with the
// time of their reading in the cells' tooltips, until the next reading.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "core/app/command_context.h"
#include "core/monitor/monitor_document.h"
#include "core/session/lcu_session.h"

namespace lcu::gui {

enum MonitorColumn : int {
  kIdColumn = 0,
  kChannelColumn,
  kValueColumn,
  kUnitsColumn,
  kRawColumn,
  kMonitorColumnCount,
};

class MonitorTableModel final : public QAbstractTableModel,
                                private MonitorDocumentObserver,
                                private ReadingsSubscriber {
  Q_OBJECT

 public:
  /// Observes the document and subscribes to the session's readings until it goes; the
  /// names, units and texts come from the context's application state, the link state and
  /// the time that age the values from its link and clock.
  MonitorTableModel(MonitorDocument& document, LcuSession& session, const CommandContext& ctx,
                    QObject* parent = nullptr);
  ~MonitorTableModel() override;
  MonitorTableModel(const MonitorTableModel&) = delete;
  MonitorTableModel& operator=(const MonitorTableModel&) = delete;

  /// The text of a row's Value cell as shown.
  QString ValueText(int row) const;
  /// How the row's value was made from its last reading, one step a line (the Value cell's
  /// tooltip); empty before the first reading.
  QString ValueExplanation(int row) const;
  std::uint16_t Channel(int row) const { return m_rows[static_cast<std::size_t>(row)].channel; }

  /// Whether the values shown are live; false while none are shown.
  bool IsLive() const { return m_bLive; }
  /// Looks again whether the values are live and, when that changed, tells the view, which
  /// draws the Value and Raw cells greyed or normal. A timer of the model calls it: while a
  /// download holds the link or the LCU is off line, nothing else happens that would.
  void CheckLive();
  /// While values are shown but not live: when they were read and how long ago; else empty.
  QString StaleText() const;

  /// The given rows as lines of tab-separated name, value and units as shown, for the
  /// clipboard.
  QString RowsText(const std::vector<int>& rows) const;
  /// The note of StaleText changed: the values stopped or started being live, or their age
  /// moved on.
  Q_SIGNAL void staleNoteChanged();

  /// The names of the first rows (at most count; a row without a name gives its number), for
  /// telling windows apart.
  QStringList FirstNames(int count) const;

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

  /// Rebuilds the rows from the document's channels, labelled from the channel table; the
  /// Value and Raw cells start empty.
  void OnRowsChanged(const MonitorDocument& document) override;
  void OnLayoutChanged(const MonitorDocument&) override {}
  /// Takes the document's readings, one per row in row order, for the Value and Raw cells:
  /// the value is the reading converted with the calibration and shown with the row's
  /// channel's decimals. One dataChanged for the Value column and one for the Raw column
  /// cover all rows. Readings of other documents are not this model's.
  void OnReadings(const MonitorDocument& document, std::span<const std::uint32_t> raw, const LocalTime& taken) override;

  bool LiveNow() const;

  MonitorDocument& m_document;
  LcuSession& m_session;
  const CommandContext& m_ctx;
  const AppState& m_app;
  std::vector<Row> m_rows;
  bool m_bLive = false;
  QTimer m_liveCheck;
};

}  // namespace lcu::gui
