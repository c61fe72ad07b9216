// MemoryTemplate: the memory window kind. It makes the child frame holding the memory view
// in the main window's MDI area and runs the Read/Write Data command.
#pragma once

#include <QPointer>

#include "core/app/command_context.h"
#include "core/session/lcu_session.h"

class QMdiArea;

namespace lcu::gui {

class CAddressView;
class CChildFrame;
class GuiPrompter;
class MainMenu;

class MemoryTemplate {
 public:
  MemoryTemplate(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, QMdiArea& area, MainMenu& menu);

  /// Read/Write Data: a memory window named "Read/Write Memory" on the run 8000 to 800F,
  /// shown, active and refreshing.
  CChildFrame& OnReadWriteData();

  /// The view of the memory window while one is open.
  CAddressView* AddressView() const;

 private:
  CommandContext& m_ctx;
  GuiPrompter& m_prompter;
  LcuSession& m_session;
  QMdiArea& m_area;
  MainMenu& m_menu;
  QPointer<CAddressView> m_pAddressView;
};

}  // namespace lcu::gui
