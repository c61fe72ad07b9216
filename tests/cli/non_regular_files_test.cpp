// lcu given a named pipe where it reads a file (a calibration, channel definition, hex or
// data file): it must refuse it at once, naming the path and the reason, instead of waiting
// for ever for a writer.
#include <sys/stat.h>

#include <QDir>
#include <QFile>

#include "lcu_program.h"

namespace {

using lcu::test::ProgramRun;

class NonRegularFilesTest : public lcu::test::SimulatedLcuTest {
 protected:
  // Puts a named pipe at path, replacing what was there.
  QString Pipe(const QString& relative) const {
    const QString path = Path(relative);
    QFile::remove(path);
    EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0) << path.toStdString();
    return path;
  }
};

TEST_F(NonRegularFilesTest, APipeIsRefusedWithItsPathAndTheReason) {
  const QString data = Pipe("data.DAT");
  Failed(Lcu({"dat-info", data}), 1, "Cannot read the data file.\n" + data + ": Not a regular file\n");
  const QString hex = Pipe("firmware.hex");
  Failed(InLcu({"load-hex", hex, "--yes"}), 1, "Failed to open hex file\n" + hex + ": Not a regular file\n");

  const QString definitions = Pipe("Velmora/Setup/channel.dsc");
  const ProgramRun channels = InLcu({"channels"});
  EXPECT_EQ(channels.exitCode, 1);
  EXPECT_TRUE(channels.err.contains(definitions + ": Not a regular file\n")) << channels.err.toStdString();
  ASSERT_TRUE(QFile::remove(definitions));
  ASSERT_EQ(Lcu({"sim-setup"}).exitCode, 0);

  const QString calibration = Pipe("Velmora/Setup/@LCU1.cal");
  const ProgramRun convert = InLcu({"convert", "5", "100"});
  EXPECT_EQ(convert.exitCode, 1);
  EXPECT_TRUE(convert.err.contains(calibration + ": Not a regular file\n")) << convert.err.toStdString();
  const ProgramRun check = InLcu({"check"});
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_TRUE(check.out.contains("No calibration file to send: " + calibration + ": Not a regular file\n"))
      << check.out.toStdString();
}

}  // namespace
