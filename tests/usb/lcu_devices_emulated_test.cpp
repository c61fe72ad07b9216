// lcu itself against LCUs on the emulated USB bus: the program runs under the same preload
// library and reaches the bus through the test's handlers. What lcu list shows, the LCU
// --device chooses, the reason a command finds no usable LCU, and the transfers -v prints.
#include <QJsonArray>
#include <QJsonObject>

#include "cli/lcu_program.h"
#include "emulated_lcu.h"
#include "support/link_contract.h"
#include "usb/usb_errors.h"

namespace lcu::test {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
QString Line(std::string_view text) { return Text(text) + '\n'; }

class LcuOnEmulatedBus : public LcuProgramTest {
 protected:
  // A stranger with the LCU's product id, an LCU another program holds, and a free LCU.
  EmulatedBus m_bus;
  sim::LcuSimulator m_busySimulator{ContractSimulatorOptions()};
  sim::LcuSimulator m_simulator{ContractSimulatorOptions()};
  EmulatedDevice m_stranger{m_bus, 2, {.interfaceClass = 0x08}, nullptr};
  EmulatedDevice m_busy{m_bus, 3, {.claimBusy = true}, &m_busySimulator};
  EmulatedDevice m_lcu{m_bus, 4, {}, &m_simulator};
};

TEST_F(LcuOnEmulatedBus, ListShowsEachDeviceAndWhyItIsOrIsNotTheLcu) {
  const QString stranger = "1:2\t1234:04ce\t" + Line(usb::text::kNoVendorInterface);
  const ProgramRun text = Succeeded(Lcu({"list"}));
  EXPECT_EQ(text.out, stranger + "1:3\t1234:04ce\tLCU 0: " + Line(usb::text::kBusy) + "1:4\t1234:04ce\tLCU 1\n");
  // The list shows what the search does, --device included.
  const ProgramRun narrowed = Lcu({"--device", "1", "list"});
  EXPECT_EQ(narrowed.out,
            stranger + "1:3\t1234:04ce\tLCU 0: " + Line(usb::text::kNotSelected) + "1:4\t1234:04ce\tLCU 1\n");

  const ProgramRun json = Succeeded(Lcu({"list", "--json"}));
  const QJsonArray devices = json.OutJson().array();
  ASSERT_EQ(devices.size(), 3);
  EXPECT_EQ(devices[1].toObject(), QJsonObject({{"device", "1:3"},
                                                {"bus", 1},
                                                {"vendorId", 0x1234},
                                                {"productId", 0x04CE},
                                                {"index", 0},
                                                {"usable", false},
                                                {"verdict", "busy"},
                                                {"reason", Text(usb::text::kBusy)}}));
  EXPECT_EQ(devices[0].toObject()["verdict"], "noVendorInterface");
  EXPECT_EQ(devices[0].toObject()["index"], QJsonValue::Null);
  EXPECT_EQ(devices[2].toObject()["verdict"], "lcu");
  EXPECT_EQ(devices[2].toObject()["usable"], true);
  EXPECT_EQ(m_stranger.RequestCount(), 0);
}

// The search passes the busy LCU by; --device holds a command to the one it names, and says
// why that one cannot be had, or that there is none, once and in the command's own form.
TEST_F(LcuOnEmulatedBus, DeviceChoosesTheLcuAndANamedLcuThatCannotBeHadSaysWhy) {
  const struct {
    QStringList arguments;
    int exitCode;
    const char* out;
    QString err;
  } cases[] = {
      {{"status"}, 0, "ON LINE", ""},
      {{"--device", "1:4", "status"}, 0, "ON LINE", ""},
      {{"--device", "1", "status"}, 0, "ON LINE", ""},
      {{"--device", "0", "status"}, 1, "OFF LINE", Line(usb::text::kBusy)},
      {{"--device", "1:2", "status"}, 1, "OFF LINE", Line(usb::text::kNotAnLcu)},
      {{"--device", "1:5", "status"}, 1, "OFF LINE", Line(usb::text::kNoLcu)},
      {{"--device", "1:5", "peek", "8000"}, 1, "", Line(usb::text::kNoLcu) + "LCU is off-line\n"},
      {{"--device", "1:5", "poke", "8000", "--hex", "1"}, 1, "", Line(usb::text::kNoLcu) + "LCU is off-line\n"},
      {{"--device", "1:5", "download"}, 1, "", Line(usb::text::kNoLcu) + "LCU is off-line\n"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Lcu(c.arguments);
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.OutLines().value(0), c.out);
    EXPECT_EQ(run.err, c.err);
  }

  const ProgramRun json = Lcu({"--device", "0", "status", "--json"});
  EXPECT_EQ(json.exitCode, 1);
  const QJsonObject status = json.OutJson().object();
  EXPECT_EQ(status["online"], false);
  EXPECT_EQ(status["reason"].toString().toStdString(), usb::text::kBusy);
}

// -v prints each transfer as --record writes it, with --record at the same time, and libusb's
// own complaints among them (here that the emulated LCU takes no kernel driver back on close).
TEST_F(LcuOnEmulatedBus, VerbosePrintsTheTransfersAndLibusbsWarnings) {
  const ProgramRun run = Succeeded(Lcu({"-v", "--device", "1:4", "--record", Path("status.txt"), "status"}));
  const QString recorded = QString::fromUtf8(ReadFile(Path("status.txt")));
  EXPECT_TRUE(recorded.contains("\ncontrol ")) << recorded.toStdString();
  QStringList transfers = run.err.split('\n');
  const qsizetype libusbLines = transfers.removeIf([](const QString& line) { return line.startsWith("libusb: "); });
  EXPECT_GT(libusbLines, 0) << run.err.toStdString();
  EXPECT_EQ(transfers.join('\n').toStdString(), recorded.toStdString());
}

}  // namespace
}  // namespace lcu::test
