// lcu check against a simulated LCU with the sample setup.
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

TEST_F(PreRunCheckTest, JudgesTheLcuOnlyReadingItAndCountsDataKeptAfterADownloadAsDownloaded) {
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

}  // namespace
