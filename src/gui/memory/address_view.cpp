#include "gui/memory/address_view.h"

#include <algorithm>
#include <vector>

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScreen>

#include "core/app/command_guard.h"
#include "core/commands/memory_access.h"
#include "core/memory/memory_entry.h"
#include "gui/app/command_ids.h"
#include "gui/app/gui_prompter.h"
#include "gui/app/main_menu.h"
#include "gui/app/qt_text.h"
#include "gui/memory/address_dlg.h"
#include "gui/memory/datum_dlg.h"

namespace lcu::gui {

std::int32_t g_nLastFrameShowCmd = 0;

namespace {
constexpr int kRowPadding = 4;
constexpr int kCellPadding = 12;
constexpr int kBarGap = 8;
// The longest Addr text the write reads back.
constexpr qsizetype kAddressTextLimit = 79;
// The widest text of each column, for the columns' least widths.
constexpr std::array<const char*, kMemoryColumnCount> kWidestValues = {"FFFF", "255", "FF", "W", "00000000"};
}  // namespace

CAddressView::CAddressView(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, MainMenu* menu,
                           QWidget* parent)
    : QTableView(parent),
      m_ctx(ctx),
      m_prompter(prompter),
      m_session(session),
      m_pMenu(menu),
      m_model(m_document, ctx, this) {
  setModel(&m_model);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setSortingEnabled(false);
  setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  // Addresses and data in a fixed-pitch font, so that their digits line up from row to row;
  // the headings keep the program's font.
  horizontalHeader()->setFont(font());
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CAddressView::OnColumnClick);
  if (m_pMenu) m_pMenu->SetEnabled(cmd::kReadWriteData, false);
}

CAddressView::~CAddressView() {
  if (m_bServed) m_session.SetMemory(nullptr);
  delete m_pAddressDlg.data();
  if (m_pMenu) m_pMenu->SetEnabled(cmd::kReadWriteData, true);
}

void CAddressView::OnInitialUpdate() {
  m_session.SetMemory(&m_document);
  m_bServed = true;
  const QFontMetrics headingMetrics(horizontalHeader()->font());
  for (int column = 0; column < kMemoryColumnCount; ++column) {
    const auto i = static_cast<std::size_t>(column);
    const int heading = headingMetrics.horizontalAdvance(m_model.headerData(column, Qt::Horizontal).toString());
    const int value = fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestValues[i]));
    setColumnWidth(column, std::max(kMemoryColumnWidths[i], std::max(heading, value) + kCellPadding));
  }
}

void CAddressView::OnColumnClick(int column) {
  if (column != kAddrColumn || m_pAddressDlg) return;
  OpenAddressBar();
}

void CAddressView::OpenAddressBar() {
  m_pAddressDlg = new CAddressDlg(*this, m_ctx.prompter, window());
  m_pAddressDlg->show();
  // Beside the memory window, so that it hides neither the rows nor the monitor windows;
  // where the screen has no room there, it stays where it appeared.
  const QWidget& frame = parentWidget() ? *parentWidget() : *this;
  QRect beside = m_pAddressDlg->frameGeometry();
  beside.moveTopLeft(frame.mapToGlobal(QPoint(frame.width() + kBarGap, 0)));
  const QScreen* screen = m_pAddressDlg->screen();
  if (screen && screen->availableGeometry().contains(beside)) m_pAddressDlg->move(beside.topLeft());
}

void CAddressView::OnFrameShowState(int showCmd) {
  if (showCmd == g_nLastFrameShowCmd) return;
  if (m_pAddressDlg) {
    if (showCmd == kFrameShowMinimized) {
      m_pAddressDlg->hide();
    } else if (g_nLastFrameShowCmd == kFrameShowMinimized) {
      m_pAddressDlg->show();
    }
  }
  g_nLastFrameShowCmd = showCmd;
}

void CAddressView::OnRightClick() {
  if (RefusedOffline(m_ctx, OfflineForm::kPlain)) return;
  CDatumDlg dialog(g_nLastDataFormat, ToQString(InitialDatumText(g_nLastDataFormat)), this);
  if (!m_prompter.RunModal(dialog)) return;
  g_nLastDataFormat = dialog.m_nFormat;
  // The LCU's characters are bytes: the entry goes as Latin-1, one byte per character.
  const std::optional<std::uint16_t> datum = ConvertDatum(dialog.m_nFormat, dialog.m_strData.toLatin1().toStdString());
  if (!datum) return;
  std::vector<int> rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  std::vector<std::uint16_t> addresses;
  addresses.reserve(rows.size());
  for (const int row : rows)
    addresses.push_back(ParseAddressEntry(ToStdString(m_model.AddressText(row).left(kAddressTextLimit))));
  WriteMemoryDatum(m_ctx, addresses, *datum);
}

void CAddressView::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  OnRightClick();
}

}  // namespace lcu::gui
