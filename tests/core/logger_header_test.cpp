// Positions, distances, buffer extents and the validation of buffer tables.
#include <gtest/gtest.h>

#include "logger/logger_header.h"

namespace lcu {
namespace {

TEST(Positions, LinearAddressesMapToWindowAndPage) {
  struct Case {
    std::uint32_t linear;
    Position position;
  };
  for (const Case c : {Case{0, {0x8000, 0}}, Case{16383, {0xBFFF, 0}}, Case{16384, {0x8000, 1}},
                       Case{524287, {0xBFFF, 31}}, Case{876544, {0xA000, 53}}, Case{1048576, {0x8000, 64}}}) {
    EXPECT_EQ(PositionOf(c.linear), c.position) << c.linear;
    EXPECT_EQ(LinearOf(c.position), c.linear);
  }
}

TEST(Positions, DistanceIsPagesTimesPageSizePlusWindowOffsets) {
  EXPECT_EQ(Distance({0xBFFC, 1}, {0x8004, 2}), 8u);
  EXPECT_EQ(Distance({0x8000, 1}, {0x8000, 3}), 32768u);
  EXPECT_EQ(Distance({0xA000, 53}, {0xA000, 53}), 0u);
}

LoggerHeader HeaderWithBuffers(std::uint16_t memorySize, std::uint16_t wrap, const std::vector<LogBufferEntry>& entries) {
  LoggerHeader h;
  h.SetU16(hdr::kMemorySize, memorySize);
  h.SetU16(hdr::kWrapFlag, wrap);
  h.SetU16(hdr::kBufferCount, static_cast<std::uint16_t>(entries.size() - 1));
  for (std::size_t i = 0; i < entries.size(); ++i) h.SetEntry(i, entries[i]);
  return h;
}

TEST(BufferEntries, RoundTripTwelveBytesAtTheirOffsets) {
  LoggerHeader h;
  const LogBufferEntry e{2, 10, {0x8000, 1}, {0xA123, 7}, 0xBEEF};
  h.SetEntry(3, e);
  EXPECT_EQ(h.Entry(3), e);
  const auto b = h.Bytes();
  const std::size_t o = 0xA02 + 36;
  EXPECT_EQ(b[o], 2);
  EXPECT_EQ(b[o + 1], 10);
  EXPECT_EQ(b[o + 6], 0x23);
  EXPECT_EQ(b[o + 7], 0xA1);
  EXPECT_EQ(b[o + 8], 7);
  EXPECT_EQ(b[o + 10], 0xEF);
}

TEST(BufferExtents, UnwrappedBufferRunsFromStartToEnd) {
  const auto h = HeaderWithBuffers(2, 0, {{2, 1, {0x8000, 1}, {0x8010, 2}}, {4, 1, {0x8000, 3}, {0x8000, 3}},
                                          {0, 0, {0x8000, 4}, {0x8000, 4}}});
  const auto x0 = h.ExtentOf(0);
  EXPECT_EQ(x0.length, 16384u + 16);
  EXPECT_EQ(x0.olderLength, 0u);
  EXPECT_EQ(x0.newerLength, x0.length);
  EXPECT_EQ(x0.readFrom, (Position{0x8000, 1}));
  EXPECT_EQ(h.ExtentOf(1).length, 0u);  // end equals start: no data
}

TEST(BufferExtents, WrappedBufferTakesTheWholeRegionOlderPartFirst) {
  const auto h = HeaderWithBuffers(2, 1, {{2, 1, {0x8000, 1}, {0xA000, 1}}, {0, 0, {0x8000, 2}, {0x8000, 2}}});
  const auto x = h.ExtentOf(0);
  EXPECT_EQ(x.length, 16384u);
  EXPECT_EQ(x.newerLength, 8192u);
  EXPECT_EQ(x.olderOffset, 8192u);
  EXPECT_EQ(x.olderLength, 8192u);
}

TEST(BufferTableValidation, AcceptsSoundTables) {
  EXPECT_FALSE(ValidateBufferTable(HeaderWithBuffers(2, 0, {{0, 0, {0x8000, 1}, {0x8000, 1}}})));
  EXPECT_FALSE(ValidateBufferTable(
      HeaderWithBuffers(2, 0, {{2, 10, {0x8000, 1}, {0x9000, 20}}, {4, 8, {0xA000, 53}, {0xA100, 53}},
                               {0, 0, {0x8000, 64}, {0x8000, 64}}})));
  EXPECT_FALSE(ValidateBufferTable(
      HeaderWithBuffers(2, 1, {{2, 10, {0x8000, 1}, {0x9000, 20}}, {0, 0, {0x8000, 64}, {0x8000, 64}}})));
}

TEST(BufferTableValidation, RefusesTablesThatWouldIndexOutsideMemory) {
  const std::vector<std::pair<const char*, LoggerHeader>> cases = {
      {"end beyond the data memory",
       HeaderWithBuffers(2, 0, {{2, 1, {0x8000, 1}, {0x8000, 65}}, {0, 0, {0x8000, 66}, {0x8000, 66}}})},
      {"wrapped region beyond the data memory",
       HeaderWithBuffers(2, 1, {{2, 1, {0x8000, 1}, {0x8000, 2}}, {0, 0, {0x8000, 70}, {0x8000, 70}}})},
      {"end before start", HeaderWithBuffers(2, 0, {{2, 1, {0x9000, 2}, {0x8000, 2}}, {0, 0, {0x8000, 3}, {}}})},
      {"start inside the header page",
       HeaderWithBuffers(2, 0, {{2, 1, {0x8000, 0}, {0x8100, 0}}, {0, 0, {0x8000, 1}, {0x8000, 1}}})},
      {"window address outside the window",
       HeaderWithBuffers(2, 0, {{2, 1, {0x7000, 1}, {0x8000, 2}}, {0, 0, {0x8000, 3}, {0x8000, 3}}})},
      {"wrapped end outside its region",
       HeaderWithBuffers(2, 1, {{2, 1, {0x8000, 1}, {0x8000, 5}}, {0, 0, {0x8000, 3}, {0x8000, 3}}})},
      {"no memory at all", HeaderWithBuffers(0, 0, {{2, 1, {0x8000, 1}, {0x8010, 1}}, {0, 0, {0x8000, 2}, {}}})},
  };
  for (const auto& [what, header] : cases) {
    const auto error = ValidateBufferTable(header);
    ASSERT_TRUE(error) << what;
    EXPECT_EQ(*error, "Logger header is invalid.") << what;
  }
}

TEST(BufferTableValidation, RefusesATableThatDoesNotFitItsPage) {
  LoggerHeader h;
  h.SetU16(hdr::kMemorySize, 2);
  h.SetU16(hdr::kBufferCount, static_cast<std::uint16_t>(LoggerHeader::MaxBufferCount(kLoggerHeaderSize) + 1));
  EXPECT_TRUE(ValidateBufferTable(h));
  h.SetU16(hdr::kBufferCount, 0xFFFF);
  EXPECT_TRUE(ValidateBufferTable(h));
}

TEST(BufferTableValidation, LargestTableEndsInsideThePage) {
  const std::size_t n = LoggerHeader::MaxBufferCount(kLoggerHeaderSize);
  EXPECT_LE(LoggerHeader::EntryOffset(n + 1), kLoggerHeaderSize);
  EXPECT_GT(LoggerHeader::EntryOffset(n + 2), kLoggerHeaderSize);
  EXPECT_LE(LoggerHeader::EntryOffset(LoggerHeader::MaxBufferCount(hdr::kChannelNames) + 1), hdr::kChannelNames);
}

TEST(HeaderFields, DownloadTimeAndTextsUseTheirOffsets) {
  LoggerHeader h;
  h.SetDownloadTime(0x0102030405060708ull);
  EXPECT_EQ(h.Bytes()[0x18], 0x08);
  EXPECT_EQ(h.Bytes()[0x1F], 0x01);
  EXPECT_EQ(h.DownloadTime(), 0x0102030405060708ull);
  const std::string id = "ABC            ";
  std::copy(id.begin(), id.end(), h.Bytes().begin() + 0x100);
  EXPECT_EQ(h.Text(hdr::kConfigId, hdr::kConfigIdLength), id);
  EXPECT_EQ(h.Text(hdr::kConfigVersion, hdr::kConfigVersionLength), "");
}

}  // namespace
}  // namespace lcu
