// CAddressView: the view of the memory window, a list of a run of up to 64 consecutive LCU
// bytes, one per row, in decimal, hexadecimal, character and binary form. Five times a
// second it reads them again; a right click writes a typed value to every selected
// address, and a click on the "Addr" heading opens the address bar that chooses the run.
// While a view exists the Read/Write Data item is grayed: one memory window at a time.
#pragma once

#include <array>
#include <cstdint>

#include <QPointer>
#include <QTableView>
#include <QTimer>

#include "core/app/command_context.h"
#include "core/link/lcu_protocol.h"
#include "gui/memory/memory_table_model.h"
#include "gui/monitor/child_view.h"

namespace lcu::gui {

class CAddressDlg;
class GuiPrompter;
class MainMenu;

/// The show command the last memory view was told of; 0 at start.
extern std::int32_t g_nLastFrameShowCmd;

/// The refresh period.
inline constexpr int kMemoryPeriodMs = 200;
/// Column widths in pixels, at least; a heading or a value that needs more gets more.
inline constexpr std::array<int, kMemoryColumnCount> kMemoryColumnWidths = {50, 40, 40, 30, 80};
/// The run of a new window.
inline constexpr std::uint16_t kFirstMemoryAddress = kStatusAddress;
inline constexpr std::int32_t kFirstMemoryRange = 16;

class CAddressView final : public QTableView, public CChildView {
  Q_OBJECT

 public:
  /// Grays the menu's Read/Write Data item (menu may be null).
  CAddressView(CommandContext& ctx, GuiPrompter& prompter, MainMenu* menu, QWidget* parent = nullptr);
  /// Ends the address bar and enables Read/Write Data again.
  ~CAddressView() override;
  CAddressView(const CAddressView&) = delete;
  CAddressView& operator=(const CAddressView&) = delete;

  /// The address bar while it is open; the bar clears it when it ends.
  QPointer<CAddressDlg> m_pAddressDlg;
  /// The address of the first row and the number of rows (1 to 64).
  std::uint16_t m_wAddress = kFirstMemoryAddress;
  std::int32_t m_nRange = kFirstMemoryRange;

  /// Once the frame is shown: the rows, the refresh timer and the column widths.
  void OnInitialUpdate();
  /// One row per address of the run, never past 0xFFFF; the values follow at the next
  /// refresh.
  void ResetRows();

  /// While the frame is minimized the address bar is hidden; it comes back on restore.
  void OnFrameShowState(int showCmd) override;

  MemoryTableModel& Model() { return m_model; }
  bool IsTimerStarted() const { return m_timer.isActive(); }

 public slots:
  /// The refresh: reads the 64 bytes at the address and rewrites the value cells. A failed
  /// read shows nothing and leaves the cells as they were.
  void OnTimer();
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
  QPointer<MainMenu> m_pMenu;
  MemoryTableModel m_model;
  QTimer m_timer;
};

}  // namespace lcu::gui
