// CMonitorView: the view of a monitor window, a list with one row per channel (number with
// the group picture, name, value, unit, raw reading). Every 200 ms it sends its channel
// list to the LCU, reads the readings back, converts them and rewrites the Value and Raw
// cells; names and units follow each reload of the channel definitions. Its rows are
// chosen with Edit Channels; selected rows are zeroed with Enter or a right-click, and the
// right-click menu offers the window's other commands when no row is selected.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QFont>
#include <QTableView>
#include <QTimer>

#include "core/app/command_context.h"
#include "core/monitor/log_font.h"
#include "core/monitor/settings_image.h"
#include "gui/monitor/id_cell_delegate.h"
#include "gui/monitor/monitor_table_model.h"
#include "gui/monitor/reading_cell_delegate.h"

namespace lcu::gui {

class GuiPrompter;

/// The value update's period.
inline constexpr int kMonitorPeriodMs = 200;

/// Column widths of a new monitor window, in pixels.
inline constexpr std::array<std::uint16_t, kMonitorColumns> kDefaultColumnWidths = {50, 115, 60, 60, 50};

class CMonitorView : public QTableView {
  Q_OBJECT

 public:
  CMonitorView(CommandContext& ctx, GuiPrompter& prompter, QWidget* parent = nullptr);
  /// Frees the link for the next user: a window closed in the middle of nothing leaves it
  /// not busy.
  ~CMonitorView() override;
  CMonitorView(const CMonitorView&) = delete;
  CMonitorView& operator=(const CMonitorView&) = delete;

  /// Channel numbers of the rows, in row order, and how many there are (0 to 1024).
  std::array<std::uint16_t, kChannelTableSize> m_channels{};
  std::int32_t m_nChannels = 0;

  /// Rebuilds every row from m_channels (numbers, pictures, names, units; empty values);
  /// the first call starts the value timer.
  void FillRows();
  /// Rebuilds the rows with the current names and units, once the timer runs.
  void RelabelRows();
  /// Removes every row; the timer keeps running.
  void DeleteAllRows();

  void SetListFont(const LogFont& logFont);
  LogFont GetListFont() const;
  std::array<std::uint16_t, kMonitorColumns> GetColumnWidths() const;
  void SetColumnWidths(const std::array<std::uint16_t, kMonitorColumns>& widths);

  /// Zeroes the selected rows to a value the user types. 0 when no row is selected
  /// (nothing else happens); non-zero otherwise, whatever followed (off line, cancelled,
  /// zeroed).
  int ZeroSelectedChannels();

  MonitorTableModel& Model() { return m_model; }
  bool IsTimerStarted() const { return m_bTimerStarted; }

 public slots:
  /// The value update of one tick.
  void OnTimer();
  void OnEditChannels();
  void OnZeroAllChannels();
  void OnSetFont();

 protected:
  /// Repaints only the changed cells that are on the screen. Every tick changes two columns
  /// of every row; the table's own handling repaints the whole window for a range.
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowPopupMenu(const QPoint& globalPos);
  /// Asks for the value and zeroes the rows given, in order; Cancel changes nothing.
  void ZeroRows(const std::vector<int>& rows);
  std::size_t RowCount() const;

  CommandContext& m_ctx;
  GuiPrompter& m_prompter;
  MonitorTableModel m_model;
  IdCellDelegate m_idDelegate;
  ReadingCellDelegate m_readingDelegate;
  std::uint32_t m_nSeenGeneration = 0;
  bool m_bTimerStarted = false;
  std::optional<QFont> m_pFont;
  QTimer m_timer;
  std::array<std::uint32_t, kChannelTableSize> m_readings{};
};

}  // namespace lcu::gui
