// Loading the channel table from channel.dsc: placement by calibration name and by position,
// the texts as stored and what each failure keeps. Arbitrary files are the fuzzer's.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/channels/channel_calibration.h"
#include "core/channels/channel_table.h"
#include "core/host/memory_settings_store.h"
#include "core/messages/messages.h"
#include "support/recording_prompter.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

// Serves bytes the way a C file stream does (a read that stops exactly at the end does not
// report the end yet) and can fail, or stall without an error, at a byte offset.
class ScriptedStream : public DefinitionStream {
 public:
  enum Stop { kError, kStall };
  explicit ScriptedStream(std::vector<std::uint8_t> bytes, std::size_t stopAt = SIZE_MAX, Stop stop = kError)
      : m_bytes(std::move(bytes)), m_stopAt(std::min(stopAt, m_bytes.size())), m_stop(stop) {}
  std::size_t Read(std::span<std::uint8_t> buffer) override {
    const std::size_t n = std::min(buffer.size(), m_stopAt - m_pos);
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_pos), n, buffer.begin());
    m_pos += n;
    if (n < buffer.size() && m_pos == m_bytes.size()) m_end = true;
    if (n < buffer.size() && m_pos < m_bytes.size()) m_failed = m_stop == kError;
    return n;
  }
  bool Failed() const override { return m_failed; }
  bool AtEnd() const override { return m_end; }
  std::string ErrorText() const override { return "Input/output error"; }

 private:
  std::vector<std::uint8_t> m_bytes;
  std::size_t m_pos = 0;
  std::size_t m_stopAt;
  Stop m_stop;
  bool m_failed = false;
  bool m_end = false;
};

ChannelDefinition Record(std::string_view name, std::string_view units = "", std::int16_t decimals = 0) {
  ChannelDefinition record;
  name.copy(record.name.data(), record.name.size());
  units.copy(record.units.data(), record.units.size());
  record.decimals = decimals;
  record.carried68[0] = 0x5A;
  return record;
}

// A file whose records 0 to count - 1 match no calibration name unless set afterwards.
ChannelDefinitionFile Unmatched(std::size_t count) {
  ChannelDefinitionFile file;
  file.header[0] = 'H';
  file.header[255] = 0xEE;
  for (std::size_t k = 0; k < count; ++k) file.records.push_back(Record("none" + std::to_string(k), "u", 1));
  return file;
}

class ChannelTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store.WriteString("Paths", "SetupDirectory", m_dir.Path().string());
    for (int i = 0; i < kCalibratedChannels; ++i) SetCalibrationName(calibration.Bytes(), i, "cal" + std::to_string(i));
    SetCalibrationName(calibration.Bytes(), 0, "RPM");
    SetCalibrationName(calibration.Bytes(), 5, "Water Temp");
    SetCalibrationName(calibration.Bytes(), 7, "ABCDEFGHIJKLMNOP");  // 16 characters, no NUL
    SetCalibrationName(calibration.Bytes(), 9, "Oil  ");
    test::WriteBytes(m_dir / "@LCU1.cal", calibration.Bytes());
  }

  void WriteDefinitions(const ChannelDefinitionFile& file, std::size_t extraBytes = 0) const {
    auto bytes = file.Serialize();
    bytes.resize(bytes.size() + extraBytes, 0x41);
    test::WriteBytes(m_dir / "channel.dsc", bytes);
  }
  bool Load() { return LoadChannelDefinitions(app, store, 1, prompter); }
  std::string Name(std::size_t n) const { return app.m_channelTable[n].NameText(); }

  test::TempFolder m_dir;
  MemorySettingsStore store;
  CalibrationImage calibration;
  ChannelModel app;
  test::RecordingPrompter prompter;
};

TEST_F(ChannelTableTest, PlacesNamedRecordsByCalibrationNameAndTheRestByPositionWithTrimmedTexts) {
  ChannelDefinitionFile file = Unmatched(1026);
  file.records[0] = Record("water TEMP", "C", 1);
  file.records[1] = Record("abcdefghijklmnopQRST", "bar", 2);             // equal in the first 16 characters
  file.records[2] = Record("Oil", "x");                                   // blanks count: "Oil" is not "Oil  "
  file.records[3] = Record("WATER temp", "F", 3);                         // the later duplicate wins
  file.records[64] = Record("RPM", "rpm", 0);                             // positional whatever its name
  file.records[1025] = Record("rpm", "1/min", 0);                         // named again from 1024 on
  file.records[65] = Record(std::string(32, 'N'), std::string(16, 'U'));  // cut to 31 and 15
  file.records[66] = Record("Nine Char                       ", "kPa             ");
  file.records[67] = Record("   ", "");
  WriteDefinitions(file, 100);  // a cut last record is ignored

  ASSERT_TRUE(Load());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(app.m_nDefinitionGeneration, 1u);
  EXPECT_EQ(app.m_dscHeader[0], 'H');
  EXPECT_EQ(app.m_dscHeader[255], 0xEE);
  const std::pair<std::size_t, std::string> names[] = {
      {5, "WATER temp"}, {7, "abcdefghijklmnopQRST"}, {9, "ID009"},      {0, "rpm"}, {1, "ID001"},
      {64, "RPM"},       {65, std::string(31, 'N')},  {66, "Nine Char"}, {67, " "},  {1023, "none1023"}};
  for (const auto& [n, name] : names) EXPECT_EQ(Name(n), name) << n;
  const std::pair<std::size_t, std::string> units[] = {{5, "F"}, {0, "1/min"}, {65, std::string(15, 'U')}, {66, "kPa"}};
  for (const auto& [n, text] : units) EXPECT_EQ(app.m_channelTable[n].UnitsText(), text) << n;
  EXPECT_EQ(app.m_channelTable[5].decimals, 3);
  EXPECT_EQ(app.m_channelTable[5].carried68[0], 0x5A);
}

TEST_F(ChannelTableTest, ReloadWithShorterFileKeepsUnitsAndDecimalsOfUncoveredChannels) {
  WriteDefinitions(Unmatched(100));
  ASSERT_TRUE(Load());
  WriteDefinitions(Unmatched(80));
  ASSERT_TRUE(Load());
  EXPECT_EQ(app.m_nDefinitionGeneration, 2u);
  EXPECT_EQ(Name(99), "ID099");
  EXPECT_EQ(app.m_channelTable[99].UnitsText(), "u");
  EXPECT_EQ(app.m_channelTable[99].decimals, 1);

  for (const std::size_t size : {0u, 255u, 256u}) {
    test::WriteBytes(m_dir / "channel.dsc", std::vector<std::uint8_t>(size, 7));
    ASSERT_TRUE(Load()) << size;
    EXPECT_EQ(Name(79), "ID079");
    EXPECT_EQ(Name(1023), "ID1023");
  }
}

TEST_F(ChannelTableTest, MissingFilesLeaveTheTableAlone) {
  WriteDefinitions(Unmatched(100));
  ASSERT_TRUE(Load());
  const ChannelModel before = app;

  fs::remove(m_dir / "channel.dsc");
  EXPECT_FALSE(Load());
  fs::remove(m_dir / "@LCU1.cal");
  EXPECT_FALSE(Load());
  // Each message names the file it looked for and why it could not be read.
  const std::string missing = ": No such file or directory";
  EXPECT_EQ(prompter.messages,
            (std::vector<std::string>{
                FormatSystemError(msg::kCouldNotOpenChannelDefinitionFile, (m_dir / "channel.dsc").string() + missing),
                FormatSystemError(msg::kCouldNotLoadCalibration, (m_dir / "@LCU1.cal").string() + missing + "\n" +
                                                                     std::string(msg::kCopySetupHint))}));
  EXPECT_EQ(app.m_channelTable, before.m_channelTable);
  EXPECT_EQ(app.m_nDefinitionGeneration, 1u);
}

TEST_F(ChannelTableTest, StreamFailuresKeepWhatWasDoneBeforeThem) {
  app.m_calibration = calibration;
  const std::vector<std::uint8_t> bytes = Unmatched(100).Serialize();
  struct Case {
    std::size_t stopAt;
    ScriptedStream::Stop stop;
    std::string message;
    std::string name69;  // the last record before the stop, when it was reached
  };
  const std::string ioError = "\nchannel.dsc: Input/output error";
  const std::size_t inRecord70 = 256 + 128 * 70 + 5;
  const Case cases[] = {
      {100, ScriptedStream::kError, std::string(msg::kFailedToReadDefinitionHeader) + ioError, "ID069"},
      {inRecord70, ScriptedStream::kError, std::string(msg::kFailedWhileReadingDefinitions) + ioError, "none69"},
      {inRecord70, ScriptedStream::kStall, std::string(msg::kChannelDefinitionFileInvalid) + "\nchannel.dsc", "none69"},
  };
  for (const Case& c : cases) {
    app.m_channelTable.fill(Record("old", "old"));
    prompter.messages.clear();
    ScriptedStream stream(bytes, c.stopAt, c.stop);
    EXPECT_FALSE(ReadChannelDefinitions(app, stream, "channel.dsc", prompter));
    EXPECT_EQ(prompter.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(Name(69), c.name69);
    EXPECT_EQ(Name(70), "ID070");
    EXPECT_EQ(app.m_channelTable[70].UnitsText(), "old");
  }
  EXPECT_EQ(app.m_nDefinitionGeneration, 0u);
}

TEST_F(ChannelTableTest, RefusesFilesBeyondTheRecordLimit) {
  app.m_calibration = calibration;
  ScriptedStream withinLimit(Unmatched(kMaxDefinitionRecords).Serialize());
  EXPECT_TRUE(ReadChannelDefinitions(app, withinLimit, "channel.dsc", prompter));
  ScriptedStream beyond(Unmatched(kMaxDefinitionRecords + 1).Serialize());
  EXPECT_FALSE(ReadChannelDefinitions(app, beyond, "channel.dsc", prompter));
  EXPECT_EQ(prompter.messages,
            std::vector<std::string>{std::string(msg::kChannelDefinitionFileInvalid) + "\nchannel.dsc"});
}

}  // namespace
}  // namespace lcu
