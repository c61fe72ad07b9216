// CAddressView: the view of the memory window, a list of its document's run of up to 64
// consecutive LCU bytes, one per row, in decimal, hexadecimal, character and binary form.
// It only draws: the session reads the bytes again five times a second. A right click
// writes a typed value to every selected address, and a click on the "Addr" heading opens
// the address bar that chooses the run. While a view exists the Read/Write Data item is
// grayed: one memory window at a time.
#pragma once

#include <array>
#include <cstdint>

#include <QPointer>
#include <QTableView>

#include "core/app/command_context.h"
#include "core/memory/memory_document.h"
#include "core/session/lcu_session.h"
#include "gui/memory/memory_table_model.h"
#include "gui/monitor/child_view.h"

namespace lcu::gui {

class CAddressDlg;
class GuiPrompter;
class MainMenu;

/// The show command the last memory view was told of; 0 at start.
extern std::int32_t g_nLastFrameShowCmd;

/// Column widths in pixels, at least; a heading or a value that needs more gets more.
inline constexpr std::array<int, kMemoryColumnCount> kMemoryColumnWidths = {50, 40, 40, 30, 80};

class CAddressView final : public QTableView, public ChildView {
  Q_OBJECT

 public:
  /// Grays the menu's Read/Write Data item (menu may be null).
  CAddressView(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, MainMenu* menu,
               QWidget* parent = nullptr);
  /// Ends the address bar, takes the document out of the session and enables Read/Write
  /// Data again.
  ~CAddressView() override;
  CAddressView(const CAddressView&) = delete;
  CAddressView& operator=(const CAddressView&) = delete;

  /// The address bar while it is open; the bar clears it when it ends.
  QPointer<CAddressDlg> m_pAddressDlg;

  /// The run shown (one row per address, never past 0xFFFF) and its last values.
  MemoryDocument& Document() { return m_document; }

  /// Once the frame is shown: the session starts reading the document, and the column
  /// widths are set.
  void OnInitialUpdate();

  /// While the frame is minimized the address bar is hidden; it comes back on restore.
  void OnFrameShowState(int showCmd) override;

  MemoryTableModel& Model() { return m_model; }

 public slots:
  /// A click on a heading: "Addr" opens the address bar unless it is open.
  void OnColumnClick(int column);
  /// The right click: asks for a value ("Write Data") and writes it to the selected rows'
  /// addresses, lowest row first, stopping at the first failure.
  void OnRightClick();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void OpenAddressBar();

  CommandContext& m_ctx;
  GuiPrompter& m_prompter;
  LcuSession& m_session;
  QPointer<MainMenu> m_pMenu;
  MemoryDocument m_document;
  MemoryTableModel m_model;
  bool m_bServed = false;
};

}  // namespace lcu::gui
