#include "gui/monitor/monitor_view.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "core/app/command_guard.h"
#include "core/commands/channel_zeroing.h"
#include "gui/app/gui_prompter.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/chan_selection_dlg.h"
#include "gui/monitor/chart_texts.h"
#include "gui/monitor/child_frame.h"
#include "gui/monitor/ent_offset.h"
#include "gui/monitor/last_read_text.h"
#include "gui/monitor/list_font.h"
#include "gui/monitor/monitor_pane.h"
#include "gui/monitor/strip_chart.h"

namespace lcu::gui {

namespace {
// Room above and below the text of a row, and beside the group picture.
constexpr int kRowPadding = 4;
constexpr int kImageSize = 16;
// The texts that the ID, Value and Raw columns show whole after a new font.
constexpr const char* kIdSample = "0000";
constexpr const char* kValueSample = "-00000.000";
constexpr const char* kRawSample = "65535";
// Room around the hint of a window without channels.
constexpr int kHintMargin = 12;
}  // namespace

CMonitorView::CMonitorView(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, QWidget* parent)
    : QTableView(parent),
      m_ctx(ctx),
      m_prompter(prompter),
      m_session(session),
      m_model(m_document, session, ctx, this),
      m_idDelegate(this),
      m_readingDelegate(this) {
  setModel(&m_model);
  setItemDelegateForColumn(kIdColumn, &m_idDelegate);
  setItemDelegateForColumn(kValueColumn, &m_readingDelegate);
  setItemDelegateForColumn(kRawColumn, &m_readingDelegate);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setSortingEnabled(false);
  setIconSize(QSize(kImageSize, kImageSize));
  setTextElideMode(Qt::ElideRight);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  SetColumnWidths(kDefaultColumnWidths);
  verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height(), kImageSize) + kRowPadding);

  // A new document's layout is what a new list shows.
  m_document.SetFont(GetListFont());
  m_document.AddObserver(*this);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, &CMonitorView::OnColumnResized);
  connect(&m_model, &MonitorTableModel::staleNoteChanged, this,
          [this] { viewport()->update(LastReadNoteStrip(*viewport())); });
  m_session.AddMonitor(m_document);
}

CMonitorView::~CMonitorView() {
  m_session.RemoveMonitor(m_document);
  m_document.RemoveObserver(*this);
}

void CMonitorView::OnLayoutChanged(const MonitorDocument& document) {
  if (m_bShowingLayout) return;
  m_bShowingLayout = true;
  if (document.Font() != GetListFont()) SetListFont(document.Font());
  SetColumnWidths(document.ColumnWidths());
  // A settings file stores the font and widths the list shows, which the list may have
  // rounded to what it can show.
  m_document.SetFont(GetListFont());
  m_document.SetColumnWidths(GetColumnWidths());
  m_bShowingLayout = false;
}

void CMonitorView::OnColumnResized() {
  if (!m_bShowingLayout) m_document.SetColumnWidths(GetColumnWidths());
}

void CMonitorView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
  // Screen readers follow the table's own change notes.
  if (QAccessible::isActive() || !topLeft.isValid() || !bottomRight.isValid()) {
    QTableView::dataChanged(topLeft, bottomRight, roles);
    return;
  }
  const int rows = m_model.rowCount();
  if (rows == 0) return;
  const int shownFirst = rowAt(0);
  const int shownLast = rowAt(viewport()->height() - 1);
  const int first = std::max(topLeft.row(), shownFirst < 0 ? 0 : shownFirst);
  const int last = std::min(bottomRight.row(), shownLast < 0 ? rows - 1 : shownLast);
  if (first > last) return;
  const int top = rowViewportPosition(first);
  const int bottom = rowViewportPosition(last) + rowHeight(last);
  QRegion region;
  for (int column = topLeft.column(); column <= bottomRight.column(); ++column) {
    if (isColumnHidden(column)) continue;
    region += QRect(columnViewportPosition(column), top, columnWidth(column), bottom - top);
  }
  viewport()->update(region);
}

void CMonitorView::SetListFont(const LogFont& logFont) {
  m_pFont = FontFromLogFont(logFont, font());
  setFont(*m_pFont);
  verticalHeader()->setDefaultSectionSize(std::max(QFontMetrics(*m_pFont).height(), kImageSize) + kRowPadding);
}

LogFont CMonitorView::GetListFont() const { return LogFontFromFont(font()); }

std::array<std::uint16_t, kMonitorColumns> CMonitorView::GetColumnWidths() const {
  std::array<std::uint16_t, kMonitorColumns> widths{};
  for (std::size_t i = 0; i < widths.size(); ++i) {
    widths[i] = static_cast<std::uint16_t>(std::clamp(columnWidth(static_cast<int>(i)), 0, 0xFFFF));
  }
  return widths;
}

void CMonitorView::SetColumnWidths(const std::array<std::uint16_t, kMonitorColumns>& widths) {
  for (std::size_t i = 0; i < widths.size(); ++i) setColumnWidth(static_cast<int>(i), widths[i]);
}

void CMonitorView::ZeroRows(const std::vector<int>& rows) {
  CEntOffset dialog(m_ctx.prompter, 0.0F, this);
  if (!m_prompter.RunModal(dialog)) return;
  // The texts are read after OK: the values on the screen now are the ones zeroed.
  std::vector<std::string> shown;
  shown.reserve(rows.size());
  for (const int row : rows) shown.push_back(ToStdString(m_model.ValueText(row)).substr(0, kShownValueLimit));
  std::vector<ZeroingRow> zeroing;
  zeroing.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) zeroing.push_back({m_model.Channel(rows[i]), shown[i]});
  ZeroChannels(m_ctx, zeroing, dialog.m_fValue);
  emit zeroingChanged();
}

std::vector<int> CMonitorView::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void CMonitorView::OnCopy() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return;
  QGuiApplication::clipboard()->setText(m_model.RowsText(rows));
}

int CMonitorView::ZeroSelectedChannels() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return 0;
  if (RefusedOffline(m_ctx, OfflineForm::kPlain)) return 1;
  ZeroRows(rows);
  return 1;
}

void CMonitorView::OnZeroAllChannels() {
  if (RefusedOffline(m_ctx, OfflineForm::kPlain)) return;
  std::vector<int> rows(static_cast<std::size_t>(m_model.rowCount()));
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
  ZeroRows(rows);
}

void CMonitorView::OnUndoZeroing() {
  UndoZeroing(m_ctx);
  emit zeroingChanged();
}

void CMonitorView::OnEditChannels() {
  CChanSelectionDlg dialog(m_ctx.app, m_document.Channels(), this);
  if (!m_prompter.RunModal(dialog)) return;
  const auto count = static_cast<std::size_t>(std::clamp<std::int32_t>(dialog.m_nChannels, 0, kChannelTableSize));
  m_document.SetChannels(std::span(dialog.m_channels).first(count));
}

void CMonitorView::OnSetFont() {
  // The dialog finds the list's font among the styles of its family only by the style's
  // name.
  QFont current = font();
  current.setStyleName(QFontInfo(current).styleName());
  const std::optional<QFont> chosen = m_prompter.GetFont(current);
  if (!chosen) return;
  m_document.SetFont(LogFontFromFont(*chosen));
  WidenForFont();
}

// The ID, Value and Raw columns widen to the widest of the rows' texts and of a sample of
// each column in the list's font: a four-digit channel, a reading of "-00000.000" and the
// largest raw value. A reading wider still shows its fill until the column is widened by
// hand. Columns are never narrowed: a width the user chose stays where it is wide enough.
void CMonitorView::WidenForFont() {
  const QFontMetrics metrics(font());
  const auto widest = [&](int column, const QString& sample, const auto& widthOf) {
    int width = widthOf(sample);
    for (int row = 0; row < m_model.rowCount(); ++row) {
      width = std::max(width, widthOf(m_model.index(row, column).data(Qt::DisplayRole).toString()));
    }
    if (width > columnWidth(column)) setColumnWidth(column, width);
  };
  widest(kIdColumn, QString::fromLatin1(kIdSample),
         [&](const QString& text) { return IdCellDelegate::WidthFor(text, metrics, iconSize()); });
  const auto readingWidth = [&](const QString& text) { return ReadingCellDelegate::WidthFor(text, metrics, this); };
  widest(kValueColumn, QString::fromLatin1(kValueSample), readingWidth);
  widest(kRawColumn, QString::fromLatin1(kRawSample), readingWidth);
}

// A right-click zeroes the selected rows; the menu key (or Shift+F10) always opens the menu,
// which a keyboard user could otherwise never reach with a row selected.
void CMonitorView::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  if (event->reason() == QContextMenuEvent::Keyboard) {
    ShowPopupMenu(KeyboardMenuPos());
    return;
  }
  if (ZeroSelectedChannels() != 0) return;
  ShowPopupMenu(event->globalPos());
}

QPoint CMonitorView::KeyboardMenuPos() const {
  const QModelIndex current = currentIndex();
  const QRect cell = current.isValid() ? visualRect(current.siblingAtColumn(kChannelColumn)) : QRect();
  const QPoint local = cell.isValid() && viewport()->rect().intersects(cell) ? cell.center() : QPoint(0, 0);
  return viewport()->mapToGlobal(local);
}

void CMonitorView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  QPainter painter(viewport());
  if (m_model.rowCount() != 0) {
    PaintLastReadNote(painter, *viewport(), m_model.StaleText());
    return;
  }
  painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
  painter.drawText(viewport()->rect().adjusted(kHintMargin, kHintMargin, -kHintMargin, -kHintMargin),
                   Qt::AlignCenter | Qt::TextWordWrap, ToQString(text::kEmptyMonitorHint));
}

void CMonitorView::ShowPopupMenu(const QPoint& globalPos) {
  CChildFrame* frame = nullptr;
  for (QWidget* up = parentWidget(); up && !frame; up = up->parentWidget()) frame = qobject_cast<CChildFrame*>(up);
  QMenu menu(this);
  const auto add = [&menu](std::string_view label, std::string_view prompt) {
    QAction* action = menu.addAction(ToQString(label));
    action->setStatusTip(ToQString(prompt));
    return action;
  };
  QAction* windowName = add(text::kWindowNameItem, text::kWindowNamePrompt);
  QAction* setFont = add(text::kSetFontItem, text::kSetFontPrompt);
  auto* pane = qobject_cast<MonitorPane*>(parentWidget());
  if (pane) {
    QAction* chart = add(text::kStripChartItem, text::kStripChartPrompt);
    chart->setCheckable(true);
    chart->setChecked(pane->IsChartShown());
    connect(chart, &QAction::triggered, pane, [pane] { pane->ShowChart(!pane->IsChartShown()); });
    QAction* range = add(text::kChartRangeItem, text::kSetRangePrompt);
    range->setEnabled(m_model.rowCount() != 0);
    connect(range, &QAction::triggered, pane, [pane] {
      pane->ShowChart(true);
      pane->Chart().OnSetRange();
    });
  }
  QAction* copy = add(text::kCopyItem, text::kCopyPrompt);
  copy->setEnabled(!SelectedRows().empty());
  connect(copy, &QAction::triggered, this, &CMonitorView::OnCopy);
  menu.addSeparator();
  QAction* editChannels = add(text::kEditChannelsItem, text::kEditChannelsPrompt);
  QAction* zeroAll = add(text::kZeroAllChannelsItem, text::kZeroAllChannelsPrompt);
  QAction* undoZeroing = add(text::kUndoZeroingItem, text::kUndoZeroingPrompt);
  undoZeroing->setEnabled(CanUndoZeroing(m_ctx));
  menu.addSeparator();
  QAction* close = add(text::kCloseWindowItem, text::kCloseWindowPrompt);
  if (frame) {
    connect(windowName, &QAction::triggered, frame, &CChildFrame::OnWindowName);
    // The frame goes once this handler has returned: the view is inside it.
    connect(close, &QAction::triggered, frame, &CChildFrame::OnClose, Qt::QueuedConnection);
  }
  connect(setFont, &QAction::triggered, this, &CMonitorView::OnSetFont);
  connect(editChannels, &QAction::triggered, this, &CMonitorView::OnEditChannels);
  connect(zeroAll, &QAction::triggered, this, &CMonitorView::OnZeroAllChannels);
  connect(undoZeroing, &QAction::triggered, this, &CMonitorView::OnUndoZeroing);
  m_prompter.RunPopupMenu(menu, globalPos);
}

void CMonitorView::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    ZeroSelectedChannels();
  } else if (key == Qt::Key_Insert && modifiers == Qt::NoModifier) {
    OnEditChannels();
  } else if (key == Qt::Key_Menu || (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
    ShowPopupMenu(KeyboardMenuPos());
  } else {
    QTableView::keyPressEvent(event);
    return;
  }
  event->accept();
}

}  // namespace lcu::gui
