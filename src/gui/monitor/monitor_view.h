// CMonitorView: the view of a monitor window, a list with one row per channel of its
// document (number with the group picture, name, value, unit, raw reading). It only draws:
// the session serves its document every 200 ms and its table model takes the readings; names
// and units follow each reload of the channel definitions. Its rows are chosen with Edit
// Channels; selected rows are zeroed with Enter or a right-click, and the right-click menu
// offers the window's other commands when no row is selected (from the keyboard, Shift+F10
// or the menu key, always). A window without channels says in its body how to add them, and
// Insert opens the channel selection. The list's font and column widths are its document's
// layout.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QFont>
#include <QTableView>

#include "core/app/command_context.h"
#include "core/monitor/log_font.h"
#include "core/monitor/monitor_document.h"
#include "core/monitor/settings_image.h"
#include "core/session/lcu_session.h"
#include "gui/monitor/id_cell_delegate.h"
#include "gui/monitor/monitor_table_model.h"
#include "gui/monitor/reading_cell_delegate.h"

namespace lcu::gui {

class GuiPrompter;

class CMonitorView : public QTableView, private MonitorDocumentObserver {
  Q_OBJECT

 public:
  /// A view of a new empty document, which the session serves from its first channels on.
  CMonitorView(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, QWidget* parent = nullptr);
  /// Takes the document out of the session and frees the link for the next user: a window
  /// closed in the middle of nothing leaves it not busy.
  ~CMonitorView() override;
  CMonitorView(const CMonitorView&) = delete;
  CMonitorView& operator=(const CMonitorView&) = delete;

  MonitorDocument& Document() { return m_document; }

  /// The font and column widths the list shows.
  LogFont GetListFont() const;
  std::array<std::uint16_t, kMonitorColumns> GetColumnWidths() const;

  /// Zeroes the selected rows to a value the user types. 0 when no row is selected
  /// (nothing else happens); non-zero otherwise, whatever followed (off line, cancelled,
  /// zeroed).
  int ZeroSelectedChannels();

  MonitorTableModel& Model() { return m_model; }

  /// The selected rows, in row order.
  std::vector<int> SelectedRows() const;

 signals:
  /// A zeroing was made or undone: whether Undo Zeroing can run may have changed.
  void zeroingChanged();

 public slots:
  /// Puts the selected rows on the clipboard as tab-separated name, value and units, one
  /// line each, as shown.
  void OnCopy();
  void OnEditChannels();
  void OnZeroAllChannels();
  /// Puts back the calibration kept before the last zeroing, and offers to send it.
  void OnUndoZeroing();
  void OnSetFont();

 protected:
  /// Repaints only the changed cells that are on the screen. Every update changes two
  /// columns of every row; the table's own handling repaints the whole window for a range.
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  /// Draws the rows (with the note of their reading while they are not live), or the hint
  /// of a window without channels.
  void paintEvent(QPaintEvent* event) override;

 private:
  /// Where a menu opened from the keyboard goes: at the current row, else the list's corner.
  QPoint KeyboardMenuPos() const;
  void WidenForFont();
  void ShowPopupMenu(const QPoint& globalPos);
  /// Asks for the value and zeroes the rows given, in order; Cancel changes nothing.
  void ZeroRows(const std::vector<int>& rows);

  void OnRowsChanged(const MonitorDocument&) override {}
  /// Shows the document's font and widths; the document then keeps them as shown.
  void OnLayoutChanged(const MonitorDocument& document) override;
  void SetListFont(const LogFont& logFont);
  void SetColumnWidths(const std::array<std::uint16_t, kMonitorColumns>& widths);
  /// A column the user resized: the document keeps the widths.
  void OnColumnResized();

  CommandContext& m_ctx;
  GuiPrompter& m_prompter;
  LcuSession& m_session;
  MonitorDocument m_document;
  MonitorTableModel m_model;
  IdCellDelegate m_idDelegate;
  ReadingCellDelegate m_readingDelegate;
  std::optional<QFont> m_pFont;
  bool m_bShowingLayout = false;
};

}  // namespace lcu::gui
