#include "gui/memory/memory_template.h"

#include <algorithm>

#include <QMdiArea>

#include "gui/app/gui_texts.h"
#include "gui/app/main_menu.h"
#include "gui/app/qt_text.h"
#include "gui/memory/address_view.h"
#include "gui/monitor/child_frame.h"

namespace lcu::gui {

MemoryTemplate::MemoryTemplate(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, QMdiArea& area,
                               MainMenu& menu)
    : m_ctx(ctx), m_prompter(prompter), m_session(session), m_area(area), m_menu(menu) {}

CChildFrame& MemoryTemplate::OnReadWriteData() {
  auto* frame = new CChildFrame(m_prompter);
  auto* view = new CAddressView(m_ctx, m_prompter, m_session, &m_menu);
  m_pAddressView = view;
  frame->setWidget(view);
  m_area.addSubWindow(frame);
  frame->SetWindowName(ToQString(text::kMemoryWindowName));
  frame->OnUpdateFrameTitle();
  view->OnInitialUpdate();
  // The frame fits the five columns and the rows of a new window, and the whole frame
  // stays within the area: a frame placed low moves up, one taller than the area scrolls.
  frame->resize(frame->sizeHint().boundedTo(m_area.viewport()->size()));
  frame->show();
  const int overhang = frame->geometry().bottom() - m_area.viewport()->rect().bottom();
  if (overhang > 0) frame->move(frame->x(), std::max(0, frame->y() - overhang));
  m_area.setActiveSubWindow(frame);
  return *frame;
}

CAddressView* MemoryTemplate::AddressView() const { return m_pAddressView.data(); }

}  // namespace lcu::gui
