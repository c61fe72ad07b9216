// lcu check against a simulated LCU with the sample setup: its lines and verdicts, the data
// that a download with Protect Data left in the LCU counted as downloaded, a missing
// calibration file as a red line with exit status 1, and a transcript that shows it only
// reads.
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

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

TEST_F(PreRunCheckTest, JudgesTheSimulatedLcuAndCountsDataKeptAfterADownloadAsDownloaded) {
  const ProgramRun fresh = Succeeded(InLcu({"check", "--json"}));
  const QJsonArray lines = fresh.OutJson().object()["lines"].toArray();
  QStringList items;
  for (const auto& line : lines) items << line.toObject()["item"].toString();
  EXPECT_EQ(items, QStringList({"configuration", "clock", "memory", "downloaded", "firmware", "hardwareLevel",
                                "registration", "session"}));
  // The sample setup is what the simulated LCU was configured with, and sim-setup registers it.
  EXPECT_EQ(Line(fresh, "configuration")["level"], "ok") << Line(fresh, "configuration")["text"].toString().toStdString();
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

  // The text form: the level, the text, and what to do below it.
  const ProgramRun text = InLcu({"check"});
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_TRUE(text.out.contains(QRegularExpression("^ok       Configuration matches the calibration file: ",
                                                    QRegularExpression::MultilineOption)))
      << text.out.toStdString();
}

TEST_F(PreRunCheckTest, AMissingCalibrationFileIsARedLineAndFailsTheCommand) {
  ASSERT_TRUE(QFile::remove(Path("Velmora/Setup/@LCU1.cal")));
  const ProgramRun run = InLcu({"check", "--json"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.OutJson().object()["level"], "error");
  EXPECT_EQ(Line(run, "configuration")["level"], "error");
}

TEST_F(PreRunCheckTest, OnlyReadsFromTheLcu) {
  const QString transcript = Path("check.txt");
  ASSERT_EQ(InLcu({"--record", transcript, "check"}).exitCode, 0);
  const QStringList lines = QString::fromUtf8(ReadFile(transcript)).split('\n', Qt::SkipEmptyParts);
  int controls = 0;
  for (const QString& line : lines) {
    EXPECT_FALSE(line.startsWith("bulk-write")) << line.toStdString();
    const QRegularExpressionMatch request = QRegularExpression(" request=([0-9A-F]{2}) ").match(line);
    if (!line.startsWith("control")) continue;
    ++controls;
    // Block reads (41) and the set-up of the header's bulk read (45); nothing that writes.
    EXPECT_TRUE(request.captured(1) == "41" || request.captured(1) == "45") << line.toStdString();
  }
  EXPECT_GE(controls, 3);
}

}  // namespace
