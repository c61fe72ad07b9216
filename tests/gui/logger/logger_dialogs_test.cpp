// The logger dialogs' own rules: what their fields accept, the progress dialog's figures and key.
#include <functional>
#include <limits>
#include <optional>

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/messages/messages.h"
#include "gui/app/frame_command_ui.h"
#include "gui/logger/dialog_integer.h"
#include "gui/logger/init_lcu_dlg.h"
#include "gui/logger/progress_dlg.h"
#include "gui/logger/session_data.h"
#include "support/recording_prompter.h"
#include "support/scripted_backend.h"

namespace lcu::test {
namespace {

TEST(DialogInteger, AcceptsSignedDecimalsWithinThirtyTwoBits) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"0", 0},
      {" 42 ", 42},
      {"+7", 7},
      {"-3", -3},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483648", {}},
      {"99999999999999999999", {}},
      {"", {}},
      {"-", {}},
      {"12a", {}},
      {"1 2", {}}};
  for (const auto& [text, value] : cases) EXPECT_EQ(gui::ParseDialogInteger(text), value) << '"' << text << '"';
}

QLineEdit* Edit(QDialog& dialog, int index) { return dialog.findChildren<QLineEdit*>().at(index); }

// The field opens empty: OK without a number typed is refused, never taken as LCU 0.
TEST(InitLcuDialog, OpensEmptyAndStaysOpenOnANumberOutsideTheLcuRange) {
  const struct {
    const char* entry;
    std::optional<std::int32_t> accepted;
    std::string_view complaint;
  } cases[] = {{"65535", 65535, {}},
               {"65536", {}, msg::kEnterIntegerInLcuRange},
               {"abc", {}, msg::kEnterInteger},
               {nullptr, {}, msg::kEnterInteger}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry ? c.entry : "(nothing typed)");
    RecordingPrompter prompter;
    gui::CInitLcuDlg dialog(prompter);
    EXPECT_TRUE(Edit(dialog, 0)->text().isEmpty());
    if (c.entry) Edit(dialog, 0)->setText(QString::fromLatin1(c.entry));
    dialog.accept();
    if (c.accepted) {
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
      EXPECT_EQ(dialog.LcuNumber(), *c.accepted);
      EXPECT_TRUE(prompter.messages.empty());
    } else {
      EXPECT_NE(dialog.result(), QDialog::Accepted);
      EXPECT_EQ(prompter.messages, std::vector<std::string>{std::string(c.complaint)});
    }
  }
}

TEST(SessionDataDialog, ShowsTheValuesAndRefusesAFieldThatIsNoIntegerOrOutOfRange) {
  RecordingPrompter prompter;
  const SessionDataRanges ranges = {IntegerRange{1, 65536}, IntegerRange{1, 65536}, IntegerRange{0, 65543},
                                    IntegerRange{0, 65535}};
  gui::CSessionData dialog({5, 2, 28, 3}, ranges, prompter);
  ASSERT_EQ(dialog.findChildren<QLineEdit*>().size(), 4);
  EXPECT_EQ(Edit(dialog, 0)->text(), QStringLiteral("5"));
  EXPECT_EQ(Edit(dialog, 2)->text(), QStringLiteral("28"));

  Edit(dialog, 2)->setText(QStringLiteral("2x"));
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{std::string(msg::kEnterInteger)});

  prompter.messages.clear();
  Edit(dialog, 2)->setText(QStringLiteral("30"));
  Edit(dialog, 3)->setText(QStringLiteral("70000"));
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"Please enter an integer between 0 and 65535."});
  EXPECT_TRUE(Edit(dialog, 3)->hasSelectedText());

  Edit(dialog, 3)->setText(QStringLiteral("65535"));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Values(), (SessionDataValues{5, 2, 30, 65535}));
}

// The bar steps until the bytes come, then follows them.
TEST(ProgressDialog, ShowsTheFiguresOfTheDownload) {
  ScriptedBackend backend;
  CUsbDevice device{backend};
  LinkOwner link{device};
  gui::FrameCommandUi ui(link);
  ui.ShowTransferred({1, 2, std::chrono::seconds(1)});  // no dialog: nothing to show
  ui.BeginProgress(3);
  ASSERT_NE(ui.Progress(), nullptr);
  EXPECT_EQ(ui.Progress()->windowTitle(), "Download");
  EXPECT_EQ(ui.Progress()->Figures(), "");
  ui.StepProgress();
  EXPECT_EQ(ui.Progress()->Position(), 1) << "a step at a time until the bytes come";
  ui.ShowTransferred({std::uint64_t{25} << 19, std::uint64_t{64} << 20, std::chrono::seconds(10)});
  EXPECT_EQ(ui.Progress()->Figures(), "12.5 MiB of 64.0 MiB, 1.3 MB/s, 0:42 left");
  EXPECT_EQ(ui.Progress()->Position(), 195) << "the bar follows the bytes";
  ui.StepProgress();
  EXPECT_EQ(ui.Progress()->Position(), 195);
  ui.EndProgress();
  EXPECT_EQ(ui.Progress(), nullptr);
}

// The Stop button, Escape, Ctrl+S and the window's close each ask to stop, as Stop Download
// does; a plain S does not. None of them takes the progress away while the download runs, and
// when it ends the window that had the keyboard has it again.
TEST(ProgressDialog, StopButtonEscapeAndCtrlSAskToStopAndTheKeyboardComesBack) {
  QWidget owner;
  owner.show();
  owner.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
  ScriptedBackend backend;
  CUsbDevice device{backend};
  LinkOwner link{device};
  gui::FrameCommandUi ui(link);
  ui.SetFrame(&owner, nullptr);
  ui.BeginProgress(3);
  gui::ProgressDlg& dialog = *ui.Progress();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

  const std::pair<const char*, std::function<void()>> asks[] = {
      {"plain S", [&] { QTest::keyClick(&dialog, Qt::Key_S); }},
      {"Stop", [&] { QTest::mouseClick(&dialog.StopButton(), Qt::LeftButton); }},
      {"Escape", [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }},
      {"Ctrl+S", [&] { QTest::keyClick(&dialog, Qt::Key_S, Qt::ControlModifier); }},
      {"close", [&] { dialog.close(); }},
  };
  for (const auto& [name, ask] : asks) {
    link.BeginCommand(CommandKind::kDownload).ClearStopRequest();
    ask();
    EXPECT_EQ(link.StopRequested(), std::string_view(name) != "plain S") << name;
    EXPECT_TRUE(dialog.isVisible()) << name;
  }
  ui.EndProgress();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&owner)) << "the keyboard is back with the window that had it";
}

}  // namespace
}  // namespace lcu::test
