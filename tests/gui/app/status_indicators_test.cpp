// The status bar's indicators beside the link state, and the memory pane's tip, against the
// simulated LCU: each word comes and goes with its state, and finding them sends nothing.
#include <QRegularExpression>

#include "core/commands/preflight_check.h"
#include "core/link/lcu_protocol.h"
#include "core/messages/messages.h"
#include "gui_fixture.h"

namespace lcu::test {
namespace {

using StatusIndicatorsTest = GuiFixture;

TEST_F(StatusIndicatorsTest, EachWordShowsWhileItsStateHolds) {
  StartOnLine();
  EXPECT_EQ(Frame().ShownIndicators(), QStringList());

  Choose(gui::cmd::kAutoDownload);
  EXPECT_EQ(Frame().ShownIndicators(), QStringList({"AUTO"}));
  prompter->passwordEntries = {QStringLiteral("wrong"), QStringLiteral("TARNWELL")};
  Choose(gui::cmd::kPassword);
  EXPECT_EQ(Frame().ShownIndicators(), QStringList({"SERVICE", "AUTO"}));

  // Start Logger: logging from the moment it is checked, not after it is unchecked.
  Choose(gui::cmd::kStartLogger);
  EXPECT_EQ(Frame().ShownIndicators(), QStringList({"LOGGING", "SERVICE", "AUTO"}));
  const int pollTransfers = TransfersOf([&] { Tick(); });
  EXPECT_EQ(Frame().ShownIndicators(), QStringList({"LOGGING", "SERVICE", "AUTO"}));
  Choose(gui::cmd::kStartLogger);
  Tick();
  EXPECT_EQ(Frame().ShownIndicators(), QStringList({"SERVICE", "AUTO"}));
  Choose(gui::cmd::kAutoDownload);
  EXPECT_EQ(Frame().ShownIndicators(), QStringList({"SERVICE"}));

  // Logging that the program did not start is known from the logging state a command read.
  ASSERT_TRUE(app->Device().VendorWrite(LCU_WRITE_WORD, kStartWordAddress, kStartWordOn));
  Tick();
  EXPECT_EQ(Frame().ShownIndicators(), QStringList({"SERVICE"})) << "the poll does not read the logging state";
  Choose(gui::cmd::kDownload);
  EXPECT_EQ(prompter->messages.back(), msg::kCannotDownloadWhileLogging);
  EXPECT_EQ(TransfersOf([&] { Tick(); }), pollTransfers) << "the poll's transfers are those of any poll";
  EXPECT_EQ(Frame().ShownIndicators(), QStringList({"LOGGING", "SERVICE"}));

  // Off line nothing is known of the logging; back on line neither, until it is read again.
  Unplug();
  EXPECT_EQ(Frame().ShownIndicators(), QStringList({"SERVICE"}));
  Replug(2);
  EXPECT_EQ(Frame().ShownIndicators(), QStringList({"SERVICE"}));
}

// The tip says what MEM's number counts, and after the LCU check the same figure as the check.
TEST_F(StatusIndicatorsTest, TheMemoryPanesTipExplainsItsNumberAndGivesTheChecksFigure) {
  Start();
  EXPECT_EQ(Frame().MemoryTip(), "") << "off line";
  Tick();
  const QString mem = Frame().PaneText(3);
  const QRegularExpressionMatch shown = QRegularExpression(QStringLiteral("^MEM: (\\d+)$")).match(mem);
  ASSERT_TRUE(shown.hasMatch()) << mem.toStdString();
  const QString tip = Frame().MemoryTip();
  EXPECT_TRUE(
      tip.startsWith(QStringLiteral("MEM: %1 is the LCU's free data memory in units of 4 KiB").arg(shown.captured(1))))
      << tip.toStdString();
  EXPECT_FALSE(tip.contains(QStringLiteral("LCU check"))) << "no check has run";

  // The connection runs the check (queued behind the connection actions).
  Tick();
  RunPosted();
  const std::optional<PreflightInputs> inputs = ReadPreflightInputs(app->Context());
  ASSERT_TRUE(inputs);
  const std::vector<PreflightLine> lines = EvaluatePreflight(*inputs);
  const QRegularExpression checkFigure(QStringLiteral("(\\d+) KiB \\((\\d+) % of (\\d+) KiB\\)"));
  const QRegularExpressionMatch check = checkFigure.match(QString::fromStdString(lines[2].text));
  ASSERT_TRUE(check.hasMatch()) << lines[2].text;
  EXPECT_TRUE(Frame().MemoryTip().endsWith(
      QStringLiteral("\nThe LCU check at 13:52 found logged data of %1 KiB: %2 % of %3 KiB.")
          .arg(check.captured(1), check.captured(2), check.captured(3))))
      << Frame().MemoryTip().toStdString();

  Unplug();
  EXPECT_EQ(Frame().MemoryTip(), "");
}

}  // namespace
}  // namespace lcu::test
