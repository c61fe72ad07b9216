// The pre-run check in the desktop program: LCU Check... and the window a connection opens by
// itself, without making it modal, only when a line is amber or red.
#include <QLabel>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/logger/lcu_check_dlg.h"
#include "gui_fixture.h"

namespace lcu::test {
namespace {

using LcuCheckTest = GuiFixture;

// The simulated LCU holds data that was never downloaded here: a line is amber.
TEST_F(LcuCheckTest, ConnectionOpensTheWindowOnlyWithSomethingToSayAndTheMenuShowsEveryLine) {
  StartOnLine();
  RunPosted();
  gui::CLcuCheckDlg* window = Frame().findChild<gui::CLcuCheckDlg*>();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isModal());
  EXPECT_TRUE(prompter->modalTitles.empty());

  const std::vector<std::uint8_t> data = sim->DataMemory();
  const std::vector<std::uint8_t> program = sim->ProgramMemory();
  std::vector<int> levels;
  QStringList texts;
  prompter->dialogScripts.push_back([&](QDialog& dialog) {
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      texts << label->text();
      if (label->property("level").isValid()) levels.push_back(label->property("level").toInt());
    }
    return true;
  });
  Choose(gui::cmd::kLcuCheck);
  EXPECT_EQ(prompter->modalTitles, std::vector<QString>{gui::ToQString(gui::text::kLcuCheckCaption)});
  EXPECT_EQ(levels.size(), 8u);
  EXPECT_TRUE(texts.contains(gui::ToQString(gui::text::kLcuCheckWarnings))) << texts.join('|').toStdString();
  EXPECT_TRUE(texts.contains(gui::ToQString(gui::text::kLcuCheckActionLead) + "Download"));
  EXPECT_TRUE(sim->DataMemory() == data);
  EXPECT_TRUE(sim->ProgramMemory() == program);

  // Nothing to say opens nothing: data a Protect Data download kept counts as downloaded.
  Stop();
  SetValue(reg::kSettings, reg::kAutoDownload, 1);
  SetValue(reg::kSettings, reg::kPreserveBuffer, 1);
  Start();
  auto& clock = static_cast<FixedClock&>(app->Context().clock);
  Tick();
  const std::uint16_t lcuMinutes = static_cast<std::uint16_t>(sim->ReadBlock(0x8000)[6] | sim->ReadBlock(0x8000)[7] << 8);
  clock.now.hour = lcuMinutes / 60 % 24;
  clock.now.minute = lcuMinutes % 60;
  Tick();
  ASSERT_TRUE(app->Device().m_bOnline);
  ASSERT_NE(Value(reg::kDownloadSection, reg::kFile), "(missing)");
  RunPosted();
  EXPECT_EQ(Frame().findChild<gui::CLcuCheckDlg*>(), nullptr);
}

}  // namespace
}  // namespace lcu::test
