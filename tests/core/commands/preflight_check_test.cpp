// The pre-flight check: each item's verdict on scripted readings (one table, each row one
// condition turned from green to amber or red, or kept green), the clock's drift round
// midnight, and a failed read. That the check only reads is shown end to end by lcu check.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/commands/configuration_upload.h"
#include "core/commands/preflight_check.h"
#include "core/logger/data_file.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

void PutText(LoggerHeader& header, std::size_t offset, std::string_view text) {
  std::copy(text.begin(), text.end(), header.Bytes().begin() + static_cast<std::ptrdiff_t>(offset));
}

// An LCU just configured from its calibration file, all green.
PreflightInputs GreenInputs() {
  PreflightInputs in;
  LoggerHeader& h = in.header;
  h.SetU16(hdr::kMemorySize, 2);
  h.SetU16(hdr::kLcuNumber, 17);
  h.SetU16(hdr::kClock, 10 * 60);
  h.SetU16(hdr::kFirmwareVersion, 3);
  PutText(h, hdr::kConfigId, "CAR 7          ");
  PutText(h, hdr::kConfigVersion, "V2     ");
  h.SetU16(hdr::kBufferCount, 2);
  h.SetEntry(0, {3, 1, {}, {}, 0});
  h.SetEntry(1, {5, 2, {}, {}, 0});
  h.Bytes()[0x2000] = 0x11;  // a calibration record byte
  LayOutBuffers(h, 2);
  in.calibration = h;
  in.calibrationPath = "/setup/@LCU3.cal";
  in.now = {2026, 12, 7, 10, 1, 0, 0};
  in.registeredSlot = 3;
  in.slotFileExists = true;
  in.hardwareLevel = "2";
  in.programChecksum = 0x0A3F;
  return in;
}

void FillBuffers(LoggerHeader& h) {
  for (std::size_t i = 0; i < h.BufferCount(); ++i) {
    LogBufferEntry e = h.Entry(i);
    e.end = h.Entry(i + 1).start;
    h.SetEntry(i, e);
  }
  h.SetU32(hdr::kDataPresent, 1);
}

DownloadRecord RecordOf(const LoggerHeader& h, bool complete) {
  return {.path = "/data/C070C32C.DAT", .header = h, .complete = complete};
}

TEST(PreflightCheckTest, EachConditionGivesItsLevel) {
  using enum CheckItem;
  using enum CheckLevel;
  using Change = std::function<void(PreflightInputs&)>;
  struct Case {
    const char* what;
    Change change;
    CheckItem item;
    CheckLevel level;
    std::string_view action;
  };
  const Case cases[] = {
      {"no calibration file", [](PreflightInputs& in) { in.calibration.reset(); }, kConfiguration, kError,
       "Copy the LCU's calibration file into the setup folder"},
      {"another configuration id", [](PreflightInputs& in) { PutText(*in.calibration, hdr::kConfigId, "CAR 8"); },
       kConfiguration, kError, "Send Config"},
      {"a calibration byte differs", [](PreflightInputs& in) { in.calibration->Bytes()[0x2001] = 1; }, kConfiguration,
       kWarning, "Send Config"},
      {"computer half an hour on", [](PreflightInputs& in) { in.now.minute = 31; }, kClock, kWarning,
       "Times the LCU keeps during the run will read 31 min early: Set LCU Clock, or allow for the difference when "
       "reading them"},
      {"clock of 1440 minutes", [](PreflightInputs& in) { in.header.SetU16(hdr::kClock, 1440); }, kClock, kError,
       "Set LCU Clock before the run: the times the LCU keeps cannot be read until it is set"},
      {"clock 7FFF", [](PreflightInputs& in) { in.header.SetU16(hdr::kClock, 0x7FFF); }, kClock, kError,
       "Set LCU Clock before the run: the times the LCU keeps cannot be read until it is set"},
      {"clock FFFF", [](PreflightInputs& in) { in.header.SetU16(hdr::kClock, 0xFFFF); }, kClock, kError,
       "Set LCU Clock before the run: the times the LCU keeps cannot be read until it is set"},
      {"buffers full", [](PreflightInputs& in) { FillBuffers(in.header); }, kMemory, kWarning, "Download"},
      {"buffers wrapped",
       [](PreflightInputs& in) {
         in.header.SetU16(hdr::kWrapFlag, 1);
         in.header.SetU32(hdr::kDataPresent, 1);
       },
       kMemory, kWarning, "Download"},
      {"memory size 0", [](PreflightInputs& in) { in.header.SetU16(hdr::kMemorySize, 0); }, kMemory, kError,
       "Send Config to lay the buffers out afresh"},
      {"buffer past the memory",
       [](PreflightInputs& in) {
         LogBufferEntry e = in.header.Entry(1);
         e.end = {0x8000, 200};
         in.header.SetEntry(1, e);
       },
       kMemory, kError, "Send Config to lay the buffers out afresh"},
      {"a buffer count that cannot fit, with data and a record",
       [](PreflightInputs& in) {
         in.header.SetU32(hdr::kDataPresent, 1);
         in.lastDownload = RecordOf(in.header, true);
         in.header.SetU16(hdr::kBufferCount, 0xFFFF);
       },
       kDownloaded, kWarning, "Download"},
      {"last download incomplete",
       [](PreflightInputs& in) {
         FillBuffers(in.header);
         in.lastDownload = RecordOf(in.header, false);
       },
       kDownloaded, kWarning, "Download"},
      {"logged on since the last download",
       [](PreflightInputs& in) {
         in.header.SetU32(hdr::kDataPresent, 1);
         in.lastDownload = RecordOf(in.header, true);
         FillBuffers(in.header);
       },
       kDownloaded, kWarning, "Download"},
      {"last download from another LCU",
       [](PreflightInputs& in) {
         FillBuffers(in.header);
         LoggerHeader other = in.header;
         other.SetU16(hdr::kLcuNumber, 18);
         in.lastDownload = RecordOf(other, true);
       },
       kDownloaded, kWarning, "Download"},
      {"no firmware version", [](PreflightInputs& in) { in.header.SetU16(hdr::kFirmwareVersion, 0); }, kFirmware,
       kWarning, "Load Hex File"},
      {"hardware level 9", [](PreflightInputs& in) { in.hardwareLevel = "9"; }, kHardwareLevel, kWarning,
       "Set Config\\Hardware, value Level, to 1 to 5"},
      {"not registered", [](PreflightInputs& in) { in.registeredSlot = 0; }, kRegistration, kWarning,
       "Register the LCU number in a slot: Config\\LCUs\\Serial1 to Serial10, value Serial"},
      {"slot without its own file", [](PreflightInputs& in) { in.slotFileExists = false; }, kRegistration, kWarning,
       "Copy the LCU's calibration file into the setup folder"},
  };
  const std::vector<PreflightLine> green = EvaluatePreflight(GreenInputs());
  ASSERT_EQ(green.size(), 8u);
  for (const PreflightLine& line : green) EXPECT_EQ(line.level, CheckLevel::kOk) << line.text;

  for (const Case& c : cases) {
    PreflightInputs in = GreenInputs();
    c.change(in);
    const std::vector<PreflightLine> lines = EvaluatePreflight(in);
    const PreflightLine& line = lines[static_cast<std::size_t>(c.item)];
    ASSERT_EQ(line.item, c.item) << c.what;
    EXPECT_EQ(line.level, c.level) << c.what << ": " << line.text;
    EXPECT_EQ(line.action, c.action) << c.what;
  }
}

// The difference in hours and minutes, said as ahead or behind, and what it does to the
// times the LCU keeps.
TEST(PreflightCheckTest, ClockTextsSayHoursAndMinutesAheadOrBehind) {
  const struct {
    std::uint16_t lcu;
    int hour, minute;
    const char *text, *action;
  } cases[] = {
      {23 * 60 + 59, 0, 5, "LCU clock is 6 min behind the computer's: LCU 23:59, computer 0:05",
       "Times the LCU keeps during the run will read 6 min early: Set LCU Clock, or allow for the difference when "
       "reading them"},
      {3 * 60 + 2, 14, 5, "LCU clock is 11 h 03 min behind the computer's: LCU 3:02, computer 14:05",
       "Times the LCU keeps during the run will read 11 h 03 min early: Set LCU Clock, or allow for the difference "
       "when reading them"},
      {11 * 60, 10, 0, "LCU clock is 1 h 00 min ahead of the computer's: LCU 11:00, computer 10:00",
       "Times the LCU keeps during the run will read 1 h 00 min late: Set LCU Clock, or allow for the difference "
       "when reading them"},
      {10 * 60 + 2, 10, 0, "LCU clock agrees with the computer: 10:02", ""},
  };
  for (const auto& c : cases) {
    PreflightInputs in = GreenInputs();
    in.header.SetU16(hdr::kClock, c.lcu);
    in.now = {2026, 12, 7, c.hour, c.minute, 0, 0};
    const PreflightLine line = EvaluatePreflight(in)[static_cast<std::size_t>(CheckItem::kClock)];
    EXPECT_EQ(line.text, c.text);
    EXPECT_EQ(line.action, c.action);
  }
  PreflightInputs in = GreenInputs();
  in.header.SetU16(hdr::kClock, 0xFFFF);
  EXPECT_EQ(EvaluatePreflight(in)[static_cast<std::size_t>(CheckItem::kClock)].text,
            "LCU clock is not a valid time: FFFFH (65535 minutes after midnight)");
}

TEST(PreflightCheckTest, ClockDriftTakesTheShorterWayRoundTheDay) {
  const struct {
    std::uint16_t lcu;
    int hour, minute, drift;
  } cases[] = {{23 * 60 + 59, 0, 1, -2}, {1, 23, 58, 3}, {600, 10, 0, 0}, {600 + 1440 * 3, 9, 0, 60}, {0, 12, 0, -720}};
  for (const auto& c : cases)
    EXPECT_EQ(ClockDriftMinutes(c.lcu, {2026, 12, 7, c.hour, c.minute, 0, 0}), c.drift) << c.lcu;
}

// The last download's data file is read through the program's file system: complete only
// when it is exactly as long as its header says, and no header when it is not there whole.
TEST(PreflightCheckTest, TheLastDownloadsRecordComesFromItsFileOnTheFileSystem) {
  LoggerHeader h = GreenInputs().header;
  FillBuffers(h);
  std::string_view error;
  const std::optional<DataFileInfo> info = ReadDataFileInfo(h.Bytes(), kLoggerHeaderSize, error);
  ASSERT_TRUE(info) << error;
  ASSERT_GT(info->expectedSize, kLoggerHeaderSize);
  const std::size_t whole = static_cast<std::size_t>(info->expectedSize);
  const std::string path = "/data/C070C32C.DAT";
  const struct {
    const char* what;
    std::optional<std::size_t> size;
    bool header, complete;
  } cases[] = {
      {"whole", whole, true, true},
      {"one byte short", whole - 1, true, false},
      {"one byte more", whole + 1, true, false},
      {"the header alone", kLoggerHeaderSize, true, false},
      {"cut inside the header", kLoggerHeaderSize - 1, false, false},
      {"missing", std::nullopt, false, false},
  };
  for (const auto& c : cases) {
    test::MemoryFileSystem files;
    if (c.size) {
      std::vector<std::uint8_t> bytes(*c.size, 0x5A);
      std::copy_n(h.Bytes().begin(), std::min(*c.size, kLoggerHeaderSize), bytes.begin());
      files.files[path].bytes = std::move(bytes);
    }
    const DownloadRecord record = ReadDownloadRecord(files, path);
    EXPECT_EQ(record.path, path) << c.what;
    EXPECT_EQ(record.header.has_value(), c.header) << c.what;
    if (record.header) {
      EXPECT_TRUE(std::equal(h.Bytes().begin(), h.Bytes().end(), record.header->Bytes().begin())) << c.what;
    }
    EXPECT_EQ(record.complete, c.complete) << c.what;
  }
}

TEST(PreflightCheckTest, AFailedReadShowsTheFailureAndGivesNoLines) {
  test::CommandFixture f;
  f.GoOnline();
  f.FailTransfer(1);
  EXPECT_FALSE(ReadPreflightInputs(f.ctx));
  EXPECT_EQ(f.prompter.messages.size(), 1u);
}

}  // namespace
}  // namespace lcu
