// lcu check against a simulated LCU with the sample setup.
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTime>

#include "lcu_program.h"

namespace {

using lcu::test::ProgramRun;

class PreRunCheckTest : public lcu::test::SimulatedLcuTest {
 protected:
  // The line of one item in check --json.
  QJsonObject Line(const ProgramRun& run, const QString& item) {
    for (const auto& line : run.OutJson().object()["lines"].toArray())
      if (line.toObject()["item"] == item) return line.toObject();
    ADD_FAILURE() << "no line " << item.toStdString() << " in " << run.out.toStdString();
    return {};
  }
};

TEST_F(PreRunCheckTest, JudgesTheLcuOnlyReadingItAndCountsDataKeptAfterADownloadAsDownloaded) {
  const ProgramRun fresh = Succeeded(InLcu({"check", "--json"}));
  const QJsonArray lines = fresh.OutJson().object()["lines"].toArray();
  QStringList items;
  for (const auto& line : lines) items << line.toObject()["item"].toString();
  EXPECT_EQ(items, QStringList({"configuration", "clock", "memory", "downloaded", "firmware", "hardwareLevel",
                                "registration", "session"}));
  // The sample setup is what the simulated LCU was configured with, and sim-setup registers it.
  EXPECT_EQ(Line(fresh, "configuration")["level"], "ok")
      << Line(fresh, "configuration")["text"].toString().toStdString();
  EXPECT_EQ(Line(fresh, "registration")["level"], "ok");
  const QJsonObject notDownloaded = Line(fresh, "downloaded");
  EXPECT_EQ(notDownloaded["level"], "warning");
  EXPECT_EQ(notDownloaded["action"], "Download");

  ASSERT_EQ(Lcu({"settings", "set", "Corvalent/Settings", "Preserve Buffer", "1"}).exitCode, 0);
  ASSERT_EQ(InLcu({"download"}).exitCode, 0);
  const ProgramRun kept = InLcu({"check", "--json"});
  const QJsonObject downloaded = Line(kept, "downloaded");
  EXPECT_EQ(downloaded["level"], "ok") << downloaded["text"].toString().toStdString();
  EXPECT_EQ(downloaded["action"], "");

  // The text form: the level, the text, and what to do below it. The check only reads: block
  // reads (request 41) and the set-up of the header's bulk read (45), nothing that writes.
  const ProgramRun text = Succeeded(InLcu({"--record", Path("check.txt"), "check"}));
  EXPECT_TRUE(text.out.contains(QRegularExpression("^ok       Configuration matches the calibration file: ",
                                                   QRegularExpression::MultilineOption)))
      << text.out.toStdString();
  const QString transcript = QString::fromUtf8(ReadFile(Path("check.txt")));
  EXPECT_GE(transcript.count(QRegularExpression("\ncontrol .* request=4[15] ")), 3) << transcript.toStdString();
  EXPECT_FALSE(transcript.contains(QRegularExpression("\ncontrol .* request=(?!4[15] )|\nbulk-write")))
      << transcript.toStdString();

  // A missing calibration file is a red line and fails the command.
  ASSERT_TRUE(QFile::remove(Path("Velmora/Setup/@LCU1.cal")));
  const ProgramRun missing = InLcu({"check", "--json"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.OutJson().object()["level"], "error");
  EXPECT_EQ(Line(missing, "configuration")["level"], "error");
}

// A simulated LCU whose clock starts six hours off the computer's, whatever the time of day.
class SetClockTest : public PreRunCheckTest {
 protected:
  void SetUp() override {
    const QTime lcuTime = QTime::currentTime().addSecs(6 * 3600);
    m_extraEnvironment.insert("LCU_SIM_CLOCK",
                              QStringLiteral("%1:%2").arg(lcuTime.hour()).arg(lcuTime.minute(), 2, 10, QChar('0')));
    PreRunCheckTest::SetUp();
  }
};

// The check's clock line names the command; set-clock asks (without a terminal or --yes the
// answer is No and nothing is written), then prints the clock the status bar shows from then
// on: the computer's. Which transfers it makes is the core's Set LCU Clock test.
TEST_F(SetClockTest, TheCheckNamesSetClockWhichAsksThenPutsTheComputersTimeIntoTheLcu) {
  const QJsonObject off = Line(InLcu({"check", "--json"}), "clock");
  EXPECT_EQ(off["level"], "warning");
  EXPECT_TRUE(off["text"].toString().contains(
      QRegularExpression("^LCU clock is (5 h 5\\d|6 h 0\\d) min ahead of the computer's: ")))
      << off["text"].toString().toStdString();
  EXPECT_TRUE(off["action"].toString().contains("Set LCU Clock")) << off["action"].toString().toStdString();

  const ProgramRun declined = InLcu({"set-clock"});
  EXPECT_EQ(declined.exitCode, 3);
  EXPECT_EQ(declined.out, "");
  EXPECT_EQ(Line(InLcu({"check", "--json"}), "clock")["level"], "warning");

  const QTime before = QTime::currentTime();
  const ProgramRun set = Succeeded(InLcu({"--yes", "set-clock"}));
  const QTime after = QTime::currentTime();
  QStringList shown;
  for (const QTime& t : {before, after}) shown << QStringLiteral("CLOCK: %1:%2\n").arg(t.hour()).arg(t.minute());
  EXPECT_TRUE(shown.contains(set.out)) << set.out.toStdString();

  const QJsonObject agrees = Line(InLcu({"check", "--json"}), "clock");
  EXPECT_EQ(agrees["level"], "ok") << agrees["text"].toString().toStdString();
}

}  // namespace
