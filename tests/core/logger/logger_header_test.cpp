// Positions, distances, buffer entries and the validation of buffer tables. Buffer extents
// are what the download copies, pinned byte for byte by its tests.
#include <gtest/gtest.h>

#include "core/logger/logger_header.h"
#include "support/header_with_buffers.h"

namespace lcu {
namespace {

TEST(BufferEntries, RoundTripTwelveBytesAtTheirOffsets) {
  LoggerHeader h;
  const LogBufferEntry e{2, 10, {0x8000, 1}, {0xA123, 7}, 0xBEEF};
  h.SetEntry(3, e);
  EXPECT_EQ(h.Entry(3), e);
  const std::vector<std::uint8_t> stored(h.Bytes().begin() + 0xA02 + 36, h.Bytes().begin() + 0xA02 + 48);
  EXPECT_EQ(stored, (std::vector<std::uint8_t>{2, 10, 0x00, 0x80, 1, 0, 0x23, 0xA1, 7, 0, 0xEF, 0xBE}));
}

// Each refusal names the entry at fault and what is wrong with it, on the line below
// "Logger header is invalid.".
TEST(BufferTableValidation, RefusesTablesThatWouldIndexOutsideMemoryNamingTheEntry) {
  const LogBufferEntry sound = {2, 1, {0x8000, 1}, {0x8100, 1}};
  LoggerHeader tooMany;
  tooMany.SetU16(hdr::kMemorySize, 2);
  tooMany.SetU16(hdr::kBufferCount, static_cast<std::uint16_t>(LoggerHeader::MaxBufferCount(kLoggerHeaderSize) + 1));
  const std::vector<std::pair<LoggerHeader, std::string_view>> cases = {
      {HeaderWithBuffers(2, 0, {sound, {2, 1, {0x8000, 2}, {0x8000, 65}}, {0, 0, {0x8000, 66}, {0x8000, 66}}}),
       "Entry 1 ends past the end of memory."},
      {HeaderWithBuffers(2, 1, {{2, 1, {0x8000, 1}, {0x8000, 2}}, {0, 0, {0x8000, 70}, {0x8000, 70}}}),
       "Entry 0 ends past the end of memory."},  // the wrapped region
      {HeaderWithBuffers(0, 0, {{2, 1, {0x8000, 1}, {0x8010, 1}}, {0, 0, {0x8000, 2}, {}}}),
       "Entry 0 ends past the end of memory."},  // no memory at all
      {HeaderWithBuffers(2, 0, {{2, 1, {0x9000, 2}, {0x8000, 2}}, {0, 0, {0x8000, 3}, {}}}),
       "Entry 0 ends before it starts."},
      {HeaderWithBuffers(2, 0, {{2, 1, {0x8000, 0}, {0x8100, 0}}, {0, 0, {0x8000, 1}, {0x8000, 1}}}),
       "Entry 0 starts inside the header page."},
      {HeaderWithBuffers(2, 0, {{2, 1, {0x7000, 1}, {0x8000, 2}}, {0, 0, {0x8000, 3}, {0x8000, 3}}}),
       "Entry 0 has a window address outside 8000 to BFFF."},
      {HeaderWithBuffers(2, 0, {sound, {0, 0, {0xC000, 2}, {0xC000, 2}}}),
       "Entry 1 has a window address outside 8000 to BFFF."},  // the end marker
      {HeaderWithBuffers(2, 1, {{2, 1, {0x8000, 1}, {0x8000, 5}}, {0, 0, {0x8000, 3}, {0x8000, 3}}}),
       "Entry 0 has its end outside its region."},
      {HeaderWithBuffers(2, 1, {{2, 1, {0x8000, 3}, {0x8000, 3}}, {0, 0, {0x8000, 2}, {0x8000, 2}}}),
       "Entry 0 has a region that ends before it starts."},
      {tooMany, "Buffer count 1151 is more than the header page holds."},
  };
  for (const auto& [header, text] : cases) {
    EXPECT_EQ(ValidateBufferTable(header), std::optional<std::string_view>("Logger header is invalid.")) << text;
    const std::optional<BufferTableProblem> problem = FindBufferTableProblem(header);
    ASSERT_TRUE(problem) << text;
    EXPECT_EQ(BufferTableProblemText(*problem), text);
  }
  LoggerHeader h = tooMany;
  h.SetU16(hdr::kBufferCount, 0xFFFF);
  EXPECT_TRUE(ValidateBufferTable(h));
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
