// Record Channels and Stop Recording: the file, the indicator and the menu states, the
// replace question, a failed start, and the end with the program.
#include <fstream>

#include <QFile>
#include <QImage>
#include <QLabel>

#include "gui/app/channel_recording.h"
#include "gui_fixture.h"

namespace lcu::test {
namespace {

constexpr std::uint16_t kFirst[] = {5, 70};
constexpr std::uint16_t kSecond[] = {15};

class ChannelRecordingTest : public OnLineGuiFixture {
 protected:
  static QStringList Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  }
  gui::ChannelRecording& Recording() { return app->Recording(); }
  void Record(const QString& path) {
    prompter->saveFileAnswer = path;
    Choose(gui::cmd::kRecordChannels);
  }
};

TEST_F(ChannelRecordingTest, RecordsEveryWindowsReadingsUntilStopWithGapsWhileOffLine) {
  gui::CMonitorView& first = WindowWith(kFirst);
  gui::CMonitorView& second = WindowWith(kSecond);
  const QString path = FilePath("run");
  Record(path);
  ASSERT_TRUE(Recording().IsRecording()) << (prompter->messages.empty() ? "" : prompter->messages.front());
  EXPECT_EQ(Recording().Path(), path + ".csv") << "a name without extension gets .csv";
  EXPECT_TRUE(Recording().Indicator().isVisibleTo(&Frame()));
  EXPECT_EQ(Recording().Indicator().text(), "REC run.csv");
  {
    // White on red, to be seen from across the room: the label's own pixels, left of its text.
    const QImage drawn = const_cast<QLabel&>(Recording().Indicator()).grab().toImage();
    EXPECT_EQ(drawn.pixelColor(2, drawn.height() / 2), QColor(0xc0, 0x39, 0x2b));
    bool white = false;
    for (int x = 0; x < drawn.width() && !white; ++x)
      for (int y = 0; y < drawn.height() && !white; ++y) white = drawn.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_TRUE(white) << "no white text on the indicator";
  }
  EXPECT_FALSE(Menu().IsEnabled(gui::cmd::kRecordChannels));
  EXPECT_TRUE(Menu().IsEnabled(gui::cmd::kStopRecording));

  const auto round = [&] {
    Update(first);
    Update(second);
  };
  round();
  round();
  Unplug();
  round();
  Replug(1);
  round();
  Choose(gui::cmd::kStopRecording);

  EXPECT_FALSE(Recording().IsRecording());
  EXPECT_FALSE(Recording().Indicator().isVisibleTo(&Frame()));
  EXPECT_TRUE(Menu().IsEnabled(gui::cmd::kRecordChannels));
  EXPECT_FALSE(Menu().IsEnabled(gui::cmd::kStopRecording));
  // One line per round, with the values the windows show (how a line is made is the core's test).
  const QStringList lines = Lines(path + ".csv");
  ASSERT_EQ(lines.size(), 5) << lines.join('\n').toStdString();
  EXPECT_EQ(lines[0], "time,FUEL PRESS [bar],GEAR,SUSP FL [mm]");
  EXPECT_TRUE(lines[3].endsWith(",,,")) << "the gap while the LCU was off line";
  EXPECT_TRUE(lines[1].startsWith("2026-12-04 13:52:44.123,")) << lines[1].toStdString();
  EXPECT_TRUE(lines[4].endsWith("," + Cell(second, 0, gui::kValueColumn))) << lines[4].toStdString();
}

TEST_F(ChannelRecordingTest, RefusalsTheReplaceQuestionAndTheProgramsEnd) {
  Record(FilePath("none.csv"));
  EXPECT_FALSE(Recording().IsRecording());
  EXPECT_EQ(prompter->messages, std::vector<std::string>{"No monitor window shows any channel to record."});

  // A file that cannot be made: the message names it and why.
  gui::CMonitorView& view = WindowWith(kFirst);
  std::ofstream(FilePath("none.csv").toStdString()).put('x');
  Record(FilePath("none.csv/inside.csv"));
  EXPECT_FALSE(Recording().IsRecording());
  ASSERT_GE(prompter->messages.size(), 2U);
  EXPECT_EQ(prompter->messages.back().rfind("Failed to create the recording file.\n", 0), 0U)
      << prompter->messages.back();
  EXPECT_NE(prompter->messages.back().find("inside.csv"), std::string::npos);

  // An existing file is replaced only when the user says Yes.
  const QString old = FilePath("old.csv");
  std::ofstream(old.toStdString(), std::ios::binary) << "old\n";
  Record(old);
  EXPECT_FALSE(Recording().IsRecording());
  EXPECT_EQ(prompter->questions, std::vector<std::string>{"old.csv already exists. Do you want to replace it ?"});
  EXPECT_EQ(Lines(old), QStringList{"old"});

  prompter->answers = {true};
  Record(old);
  ASSERT_TRUE(Recording().IsRecording());
  EXPECT_EQ(Lines(old), QStringList{"old"}) << "the old file stays until the new one is complete";
  Choose(gui::cmd::kStopRecording);
  EXPECT_EQ(Lines(old), QStringList{"time,FUEL PRESS [bar],GEAR"}) << "the new file, with no reading yet";

  // Closing the program ends the recording with its file complete.
  const QString path = FilePath("closing.csv");
  Record(path);
  ASSERT_TRUE(Recording().IsRecording());
  Update(view);
  prompter->saveFileAnswer.clear();  // no settings file to save as the program closes
  Frame().close();
  EXPECT_FALSE(Recording().IsRecording());
  EXPECT_EQ(Lines(path).size(), 2);
}

}  // namespace
}  // namespace lcu::test
