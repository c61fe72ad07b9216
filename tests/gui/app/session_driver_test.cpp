// The session's poll against the simulated LCU as the main window shows it: the status bar
// with the reason the LCU is off line, the connection actions, the poll period, the
// channel-value exchange and Start Logger.
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>

#include "core/logger/lcu_status_block.h"
#include "gui_fixture.h"
#include "sim/link_protocol.h"

namespace lcu::test {
namespace {

class MainFrameTick : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    SetValue(reg::kSettings, reg::kAutoDownload, 1);
    Start();
    connections = std::make_unique<QSignalSpy>(&app->Driver(), &gui::SessionDriver::lcuConnected);
  }

  std::uint32_t DefinitionLoads() { return app->State().m_nDefinitionGeneration; }

  std::unique_ptr<QSignalSpy> connections;
};

// Only two answering polls in a row are a connection: its actions run once and the fast period
// follows; going off line empties the panes but keeps the period, and a reconnection runs the
// actions again.
TEST_F(MainFrameTick, TheSecondAnsweringPollInARowRunsTheConnectionActionsOnce) {
  EXPECT_EQ(Frame().PaneText(1), kOffLine);
  EXPECT_TRUE(Session().IsPolling());
  Tick();
  const StatusPaneTexts expected = OnlinePaneTexts(LcuStatusBlock(sim->ReadBlock(0x8000)));
  EXPECT_EQ(Frame().PaneText(1), kOnLine);
  const std::pair<int, std::string> panes[] = {{2, expected.lcu}, {3, expected.memory}, {4, expected.clock}};
  for (const auto& [pane, text] : panes) EXPECT_EQ(Frame().PaneText(pane).toStdString(), text) << pane;
  EXPECT_EQ(Value(reg::kChannelData, reg::kCurrentLcu), "1");
  EXPECT_EQ(connections->count(), 0);
  EXPECT_EQ(Value(reg::kDownloadSection, reg::kFile), "(missing)");
  EXPECT_EQ(DefinitionLoads(), 0U);
  EXPECT_EQ(Session().PollPeriod(), kWaitingPollPeriod);

  Tick();
  EXPECT_EQ(connections->count(), 1);
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(Value(reg::kDownloadSection, reg::kFile))))
      << "Auto Download runs on connection";
  EXPECT_EQ(DefinitionLoads(), 1U) << "the channel definitions are reloaded";
  EXPECT_EQ(Session().PollPeriod(), kConnectedPollPeriod);
  EXPECT_TRUE(Session().IsPolling()) << "the poll runs again after the actions";
  EXPECT_TRUE(prompter->messages.empty());
  Tick();
  Tick();
  EXPECT_EQ(connections->count(), 1);
  EXPECT_EQ(DefinitionLoads(), 1U);

  Unplug();
  EXPECT_EQ(Frame().PaneText(1), kOffLine);
  for (int pane = 2; pane < gui::kStatusPanes; ++pane) EXPECT_EQ(Frame().PaneText(pane), "") << pane;
  EXPECT_EQ(Value(reg::kChannelData, reg::kCurrentLcu), "-1");
  EXPECT_EQ(Value(reg::kChannelData, reg::kChannelValue), "-1");
  EXPECT_EQ(Session().PollPeriod(), kConnectedPollPeriod);
  Replug(1);
  Unplug();
  Replug(1);
  EXPECT_EQ(connections->count(), 1);
  Tick();
  EXPECT_EQ(connections->count(), 2);
  EXPECT_EQ(DefinitionLoads(), 2U);
}

TEST_F(MainFrameTick, ServesChannelValuesForChannelsThreeToSixtyThreeUntilItClosesAndOffLineUnchecksStartLogger) {
  Tick();
  Tick();
  const std::pair<const char*, bool> cases[] = {{"3", true},   {"63", true},  {" 10x", true}, {"2", false},
                                                {"64", false}, {"-1", false}, {"abc", false}, {"", false}};
  for (const auto& [channelId, served] : cases) {
    Profile(Store()).WriteProfileString(reg::kChannelData, reg::kChannelId, channelId);
    // Served: the poll, the list set-up and write, and the value read; otherwise the poll alone.
    EXPECT_EQ(TransfersOf([&] { Tick(); }), served ? 4 : 1) << channelId;
    const std::string value = Value(reg::kChannelData, reg::kChannelValue);
    EXPECT_TRUE(QRegularExpression(served ? "^[0-9]+$" : "^-1$").match(QString::fromStdString(value)).hasMatch())
        << channelId << " gave " << value;
  }

  // Going off line unchecks Start Logger; closing the window ends the channel value it served.
  Choose(gui::cmd::kStartLogger);
  ASSERT_TRUE(Menu().IsChecked(gui::cmd::kStartLogger));
  ASSERT_EQ(app->State().m_bLoggerStarted, 1);
  Unplug();
  EXPECT_FALSE(Menu().IsChecked(gui::cmd::kStartLogger));
  EXPECT_EQ(app->State().m_bLoggerStarted, 0);

  Profile(Store()).WriteProfileString(reg::kChannelData, reg::kChannelId, "3");
  Replug(1);
  ASSERT_NE(Value(reg::kChannelData, reg::kChannelValue), "-1");
  Stop();
  EXPECT_EQ(Value(reg::kChannelData, reg::kChannelValue), "-1");
}

// Why the LCU is off line: the link pane's tooltip, and the status bar's prompt while the
// pointer rests on the pane, follow the reason as it changes, without a message box.
TEST_F(MainFrameTick, TheLinkPaneSaysWhyItIsOffLineAndThePromptFollowsThePointer) {
  QLabel* linkPane = nullptr;
  for (QLabel* pane : Frame().statusBar()->findChildren<QLabel*>())
    if (pane->text() == kOffLine) linkPane = pane;
  ASSERT_NE(linkPane, nullptr);
  const QString notAttached = QString::fromStdString(sim::LinkErrorText(sim::kErrorFileNotFound));
  ASSERT_FALSE(notAttached.isEmpty());

  Unplug();
  EXPECT_EQ(linkPane->toolTip(), notAttached);
  EXPECT_EQ(Frame().PaneText(0), "Ready") << "the prompt waits for the pointer";

  QEvent enter(QEvent::Enter);
  QCoreApplication::sendEvent(linkPane, &enter);
  EXPECT_EQ(Frame().PaneText(0), notAttached);

  Replug(2);
  EXPECT_EQ(linkPane->text(), kOnLine);
  EXPECT_EQ(linkPane->toolTip(), "");
  // The reason went with the pointer still there; the automatic download on connection then
  // tells what it saved.
  const QString saved = Frame().statusBar()->toolTip();
  EXPECT_TRUE(saved.contains(" downloaded, ")) << saved.toStdString();
  EXPECT_TRUE(saved.startsWith(Frame().PaneText(0).chopped(1))) << Frame().PaneText(0).toStdString();

  Unplug();
  EXPECT_FALSE(linkPane->toolTip().isEmpty());
  EXPECT_EQ(Frame().PaneText(0), linkPane->toolTip());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(linkPane, &leave);
  EXPECT_EQ(Frame().PaneText(0), "Ready");
  EXPECT_TRUE(prompter->messages.empty());
}

}  // namespace
}  // namespace lcu::test
