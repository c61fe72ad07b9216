// The logger dialogs' own rules (what their fields accept, the progress dialog's stop key)
// and the commands that open dialogs, driven with the recording prompter.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/app/messages.h"
#include "core/firmware/hex_file_upload.h"
#include "core/host/default_paths.h"
#include "gui/app/command_ids.h"
#include "gui/app/qt_text.h"
#include "gui/logger/dialog_integer.h"
#include "gui/logger/init_lcu_dlg.h"
#include "gui/logger/progress_dlg.h"
#include "gui/logger/session_data.h"
#include "gui_fixture.h"
#include "support/hex_text.h"
#include "support/recording_prompter.h"

namespace lcu::test {
namespace {

using gui::ToQString;

TEST(DialogInteger, AcceptsSignedDecimalsWithinThirtyTwoBits) {
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"0", 0},
      {" 42 ", 42},
      {"+7", 7},
      {"-3", -3},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483648", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"12a", std::nullopt},
      {"1 2", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(gui::ParseDialogInteger(c.text), c.value) << '"' << c.text << '"';
}

QLineEdit* Edit(QDialog& dialog, int index) { return dialog.findChildren<QLineEdit*>().at(index); }

TEST(InitLcuDialog, OpensWithZeroAndStaysOpenOnANumberOutsideTheLcuRange) {
  const struct {
    const char* entry;
    std::optional<std::int32_t> accepted;
    std::string_view complaint;
  } cases[] = {
      {"0", 0, {}},
      {"65535", 65535, {}},
      {"65536", std::nullopt, msg::kEnterIntegerInLcuRange},
      {"-1", std::nullopt, msg::kEnterIntegerInLcuRange},
      {"abc", std::nullopt, msg::kEnterInteger},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    RecordingPrompter prompter;
    gui::CInitLcuDlg dialog(prompter);
    EXPECT_EQ(Edit(dialog, 0)->text(), QStringLiteral("0"));
    Edit(dialog, 0)->setText(QString::fromLatin1(c.entry));
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

  // A value the LCU cannot store as entered: the range message, and the dialog stays open.
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

TEST(ProgressDialog, StartsEmptyStepsThroughItsRangeAndCtrlSAsksToStop) {
  std::int32_t stop = 0;
  gui::ProgressDlg dialog(stop, nullptr);
  dialog.SetRange(1, 3);
  dialog.SetStep(1);
  dialog.SetPos(0);
  EXPECT_EQ(dialog.Position(), 0);
  dialog.StepIt();
  dialog.StepIt();
  EXPECT_EQ(dialog.Position(), 2);

  QTest::keyClick(&dialog, Qt::Key_S);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(stop, 0);
  QTest::keyClick(&dialog, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(stop, 1);
}

class DialogCommands : public GuiFixture {
 protected:
  void Connect() {
    Tick();
    Tick();
    prompter->messages.clear();
  }
};

TEST_F(DialogCommands, LcuConfigurationOpensOnlyWhenEverythingWasRead) {
  Start();
  Choose(gui::cmd::kLcuConfiguration);
  EXPECT_TRUE(prompter->configurations.empty());
  EXPECT_EQ(prompter->messages, std::vector<std::string>{std::string(msg::kLcuOfflineDot)});

  Connect();
  Choose(gui::cmd::kLcuConfiguration);
  ASSERT_EQ(prompter->configurations.size(), 1U);
  EXPECT_EQ(prompter->configurations[0][kSerialRow], "1");
  EXPECT_TRUE(prompter->messages.empty());
}

TEST_F(DialogCommands, LoadHexFileChecksTheLinkBeforeTheFileDialog) {
  Start();
  Choose(gui::cmd::kLoadHexFile);
  EXPECT_TRUE(prompter->fileDialogs.empty());
  EXPECT_EQ(prompter->messages, std::vector<std::string>{std::string(msg::kLcuOffline)});

  Connect();
  const int before = sim->TransferCount();
  Choose(gui::cmd::kLoadHexFile);
  ASSERT_EQ(prompter->fileDialogs.size(), 1U);
  EXPECT_EQ(prompter->fileDialogs[0].title, ToQString(kLoadHexFileDialogTitle));
  EXPECT_EQ(prompter->fileDialogs[0].filter, ToQString(kLoadHexFileDialogFilter));
  EXPECT_EQ(prompter->fileDialogs[0].folder.toStdString(), VelmoraRoot());
  EXPECT_EQ(sim->TransferCount(), before) << "cancelled: nothing is sent";
  EXPECT_TRUE(prompter->messages.empty());
}

TEST_F(DialogCommands, LoadHexFileSendsTheChosenFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("firmware.hex"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const std::string text = HexRecord(0x2000, {0x12, 0x34, 0x56, 0x78}) + "\n" + HexRecord(0, {}, kHexEndOfFile) + "\n";
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.close();

  Start();
  Connect();
  prompter->openFileAnswer = path;
  Choose(gui::cmd::kLoadHexFile);
  EXPECT_TRUE(prompter->messages.empty());
  const std::vector<std::uint8_t> program = sim->ProgramMemory();
  EXPECT_EQ(program[0x2000], 0x12);
  EXPECT_EQ(program[0x2003], 0x78);
}

}  // namespace
}  // namespace lcu::test
