// Reading download data files: complete and wrapped files, the refusals of bad input, and the
// report of `lcu dat-info` on a file cut short (the command line's test reads real downloads).
#include <gtest/gtest.h>

#include "core/logger/data_file.h"
#include "core/messages/messages.h"

namespace lcu {
namespace {

const LocalTime kDownloaded{2026, 12, 4, 13, 52, 44, 123};

// A file of three buffers: 1000 bytes at 100/s, an empty one of an undefined rate code, and
// 500 bytes at 1/s.
std::vector<std::uint8_t> ExampleFile(bool wrapped = false) {
  LoggerHeader h;
  h.SetU16(hdr::kMemorySize, 2);
  h.SetU16(hdr::kLcuNumber, 17);
  h.SetDownloadTime(FileTimeFromLocal(kDownloaded));
  h.SetU32(hdr::kDataPresent, 1);
  h.SetU16(hdr::kWrapFlag, wrapped ? 1 : 0);
  h.SetU16(hdr::kLapsSinceReset, 7);
  h.SetU16(hdr::kSession, 4);
  h.SetU16(hdr::kOuting, 1);
  h.SetU16(hdr::kLapBase, 20);
  h.SetU16(hdr::kPaceLaps, 3);
  h.SetU16(hdr::kBufferCount, 3);
  const std::uint32_t base = kPageSize;
  h.SetEntry(0, {3, 4, PositionOf(base), PositionOf(base + 1000), 0});
  h.SetEntry(1, {12, 1, PositionOf(base + 1000), PositionOf(base + 1000), 0});
  h.SetEntry(2, {9, 2, PositionOf(base + 1000), PositionOf(base + 1500), 0});
  h.SetEntry(3, {0, 0, PositionOf(base + (wrapped ? 2000 : 1500)), PositionOf(base + 1500), 0});
  std::vector<std::uint8_t> file(h.Bytes().begin(), h.Bytes().end());
  for (std::size_t i = 0; i < (wrapped ? 2000u : 1500u); ++i) file.push_back(static_cast<std::uint8_t>(i % 251));
  return file;
}

TEST(DataFile, ReadsCompleteWrappedAndCutFiles) {
  const auto file = ExampleFile();
  std::string_view error;
  const auto info = ReadDataFile(file, error);
  ASSERT_TRUE(info) << error;
  EXPECT_TRUE(info->Complete());  // the fields as read are the report's test
  ASSERT_EQ(info->buffers.size(), 3u);
  EXPECT_EQ(info->buffers[2].offset, kLoggerHeaderSize + 1000);
  const auto third = BufferData(file, info->buffers[2]);
  ASSERT_EQ(third.size(), 500u);
  EXPECT_EQ(third[0], 1000 % 251);

  // A wrapped buffer runs to the next region.
  const auto wrapped = ReadDataFile(ExampleFile(true), error);
  ASSERT_TRUE(wrapped) << error;
  EXPECT_EQ(wrapped->buffers[2].length, 1000u);
  EXPECT_TRUE(wrapped->Complete());

  // The report of a file cut short.
  auto cut = file;
  cut.resize(kLoggerHeaderSize + 1200);
  EXPECT_EQ(FormatDataFileInfo(*ReadDataFile(cut, error)),
            "Serial # : 17\n"
            "Downloaded : 2026-12-04 13:52:44.123\n"
            "Session : 5\n"
            "Outing : 2\n"
            "Lap Count : 28\n"
            "Pace Laps : 3\n"
            "Wrapped : no\n"
            "Buffers : 3\n"
            "Buffer 0 : rate 100/s, weight 4, length 1000 bytes\n"
            "Buffer 1 : rate undefined (code 12), weight 1, length 0 bytes\n"
            "Buffer 2 : rate 1/s, weight 2, length 500 bytes, 200 in file\n"
            "Size : 17584 of 17884 bytes\n"
            "Complete : no\n");
}

// A download the LCU logged into carries the header read afterwards behind its last buffer:
// every buffer reads as before, but the file is not complete.
TEST(DataFile, AFileTheLcuLoggedIntoIsReadButNotComplete) {
  auto file = ExampleFile();
  const std::vector<std::uint8_t> after(file.begin(), file.begin() + kLoggerHeaderSize);
  file.insert(file.end(), after.begin(), after.end());
  std::string_view error;
  const auto info = ReadDataFile(file, error);
  ASSERT_TRUE(info) << error;
  EXPECT_TRUE(info->loggedDuring);
  EXPECT_FALSE(info->Complete());
  EXPECT_EQ(BufferData(file, info->buffers[2]).size(), 500u);
  const std::string report = FormatDataFileInfo(*info);
  EXPECT_NE(report.find("Size : 34268 of 17884 bytes\nComplete : no\n"
                        "Logged during download : yes, the data may mix older and newer parts\n"),
            std::string::npos)
      << report;
  EXPECT_FALSE(ReadDataFile(ExampleFile(), error)->loggedDuring);
}

TEST(DataFile, RefusesBadInput) {
  const auto withHeader = [](auto change) {
    auto file = ExampleFile();
    LoggerHeader h(std::span<const std::uint8_t>(file).first<kLoggerHeaderSize>());
    change(h);
    std::copy(h.Bytes().begin(), h.Bytes().end(), file.begin());
    return file;
  };
  auto longer = ExampleFile();
  longer.push_back(0);
  // Longer, but not by the header a download that the LCU logged into carries.
  auto longerByMore = ExampleFile();
  longerByMore.resize(longerByMore.size() + kLoggerHeaderSize + 1);
  const std::vector<std::pair<std::vector<std::uint8_t>, std::string_view>> cases = {
      {std::vector<std::uint8_t>(kLoggerHeaderSize - 1, 1), msg::kDataFileTooShort},
      {std::vector<std::uint8_t>(kLoggerHeaderSize, 0), msg::kDataFileHoldsNoData},
      {withHeader([](LoggerHeader& h) { h.SetU16(hdr::kBufferCount, 5000); }), msg::kLoggerHeaderInvalid},
      {withHeader([](LoggerHeader& h) { h.SetU16(hdr::kMemorySize, 0); }), msg::kLoggerHeaderInvalid},
      {withHeader([](LoggerHeader& h) {
         h.SetEntry(2, {9, 2, PositionOf(kPageSize + 1500), PositionOf(kPageSize + 1000), 0});
       }),
       msg::kLoggerHeaderInvalid},
      {longer, msg::kDataFileTooLong},
      {longerByMore, msg::kDataFileTooLong},
  };
  for (const auto& [file, expected] : cases) {
    std::string_view error;
    EXPECT_FALSE(ReadDataFile(file, error)) << expected;
    EXPECT_EQ(error, expected) << file.size();
  }
}

}  // namespace
}  // namespace lcu
