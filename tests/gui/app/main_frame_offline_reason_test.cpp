// Why the LCU is off line: the link pane's tooltip, and the status bar's prompt while the
// pointer rests on the pane, follow the reason as it changes, without a message box.
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

#include "gui_fixture.h"
#include "sim/link_protocol.h"

namespace lcu::test {
namespace {

using MainFrameOfflineReasonTest = GuiFixture;

TEST_F(MainFrameOfflineReasonTest, TheLinkPaneSaysWhyAndThePromptFollowsThePointer) {
  Start();
  QLabel* linkPane = nullptr;
  for (QLabel* pane : Frame().statusBar()->findChildren<QLabel*>()) {
    if (pane->text() == kOffLine) linkPane = pane;
  }
  ASSERT_NE(linkPane, nullptr);
  const QString notAttached = QString::fromStdString(sim::LinkErrorText(sim::kErrorFileNotFound));
  ASSERT_FALSE(notAttached.isEmpty());

  sim->Unplug();
  Tick();
  EXPECT_EQ(linkPane->toolTip(), notAttached);
  EXPECT_EQ(Frame().PaneText(0), "Ready") << "the prompt waits for the pointer";

  QEvent enter(QEvent::Enter);
  QCoreApplication::sendEvent(linkPane, &enter);
  EXPECT_EQ(Frame().PaneText(0), notAttached);

  sim->Replug();
  Tick();
  Tick();
  EXPECT_EQ(linkPane->text(), kOnLine);
  EXPECT_EQ(linkPane->toolTip(), "");
  EXPECT_EQ(Frame().PaneText(0), "Ready") << "the reason went with the pointer still there";

  sim->Unplug();
  Tick();
  EXPECT_FALSE(linkPane->toolTip().isEmpty());
  EXPECT_EQ(Frame().PaneText(0), linkPane->toolTip());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(linkPane, &leave);
  EXPECT_EQ(Frame().PaneText(0), "Ready");
  EXPECT_TRUE(prompter->messages.empty());
}

}  // namespace
}  // namespace lcu::test
