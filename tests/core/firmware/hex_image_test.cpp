// The Intel-HEX reader: which records land where in the firmware image, which are skipped
// silently, which refuse the file and on which line, and the checksum word. Random and
// mutated input is the hex_image fuzzer's.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/firmware/hex_image.h"
#include "core/util/little_endian.h"
#include "support/hex_text.h"

namespace lcu {
namespace {

using test::BytesOf;
using test::HexEndRecord;
using test::HexRecord;

using Image = std::vector<std::uint8_t>;

struct Outcome {
  HexReadResult result;
  Image image;
};

Outcome Read(std::string_view text) {
  Outcome o{{}, Image(kFirmwareImageSize, 0xEE)};
  o.result = ReadHexImage(BytesOf(text), FirmwareImageSpan(o.image.data(), kFirmwareImageSize));
  return o;
}

std::vector<std::uint8_t> Counting(std::size_t n, std::uint8_t first) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(first + i);
  return v;
}

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  return text;
}

// The sum over the image's words but the last, worked out independently of the reader: the
// last word is the checksum, and it must be whatever the words below it sum to.
std::uint16_t ReferenceChecksum(const Image& image) {
  unsigned sum = 0;
  for (std::size_t i = 0; i + 2 < image.size(); i += 2) sum += image[i] + 256u * image[i + 1];
  return static_cast<std::uint16_t>(sum);
}

TEST(HexImage, PlacesOnlyRecordsThatStartInTheLoadWindow) {
  // Each text (an end-of-file record follows) places one run of bytes, by default the anchor's.
  struct Case {
    const char* name;
    std::string text;
    std::size_t at = 0x100;
    std::vector<std::uint8_t> bytes = {0xAA};
  };
  const std::string anchor = HexRecord(0x2100, {0xAA});
  const std::vector<Case> cases = {
      {"below the window", Lines({HexRecord(0x1FFC, {1, 2, 3, 4}), anchor})},
      {"window start", Lines({HexRecord(0x2000, {1, 2, 3, 4})}), 0, {1, 2, 3, 4}},
      {"last start address", Lines({HexRecord(0x7FEF, {7, 8, 9})}), 0x5FEF, {7, 8, 9}},
      {"first refused start address", Lines({HexRecord(0x7FF0, {7, 8, 9}), anchor})},
      {"ends just below the window", Lines({HexRecord(0x1FF0, Counting(16, 1)), anchor})},
      {"later record wins", Lines({HexRecord(0x2000, {1, 2, 3, 4}), HexRecord(0x2002, {9, 9})}), 0, {1, 2, 9, 9}},
      {"zero extended addresses",
       Lines({HexRecord(0, {0x00, 0x00}, test::kHexExtendedLinear), HexRecord(0x2000, {5}),
              HexRecord(0, {0x00, 0x00}, test::kHexExtendedSegment), HexRecord(0x2001, {6})}),
       0,
       {5, 6}},
      {"a zero extended address ends a non-zero one",
       Lines({HexRecord(0, {0x10, 0x00}, test::kHexExtendedSegment), HexRecord(0, {0, 0}, test::kHexExtendedSegment),
              HexRecord(0x2000, {5})}),
       0,
       {5}},
      {"reading goes on after the end record", Lines({HexEndRecord(), HexRecord(0x2004, {3})}), 4, {3}},
      {"lines without a colon", Lines({"", "; firmware 1.2", "\t", std::string(1, '\0'), "x", anchor})},
      {"byte-order mark at the start", "\xEF\xBB\xBF" + Lines({anchor})},
      {"CR line ends", test::HexRecords(0x2100, Counting(40, 3), {16}, "\r") + HexEndRecord() + "\r", 0x100,
       Counting(40, 3)},
      {"start address records",
       Lines({HexRecord(0x2000, {0, 0, 0x20, 0}, 0x03), HexRecord(0x2000, {0, 0, 0x20, 0}, 0x05), anchor})},
      {"lower-case digits", ":02201000abcd56\n", 0x10, {0xAB, 0xCD}},
      {"CR LF line ends", test::HexRecords(0x2100, Counting(40, 3), {16}, "\r\n"), 0x100, Counting(40, 3)},
      {"empty record", Lines({HexRecord(0x2000, {}), anchor})},
      {"malformed lines outside the window", Lines({":10000000GG", ":1", ":10 2000", ":1020", "::", anchor})},
      {"record of 255 bytes", Lines({HexRecord(0x3000, Counting(255, 0))}), 0x1000, Counting(255, 0)},
      {"record of 255 bytes with CR LF", HexRecord(0x3000, Counting(255, 0)) + "\r\n", 0x1000, Counting(255, 0)},
      {"long lines outside the window", Lines({std::string(2000, 'x'), HexRecord(0x1000, Counting(255, 0)), anchor})},
      {"a file of the size limit",
       Lines({std::string(kHexFileLimit - anchor.size() - HexEndRecord().size() - 2, 'x'), anchor})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome o = Read(c.text + HexEndRecord());
    ASSERT_TRUE(o.result.Ok()) << o.result.line;
    EXPECT_TRUE(HexErrorText(o.result).empty());
    Image expected(kFirmwareImageSize, 0);
    std::copy(c.bytes.begin(), c.bytes.end(), expected.begin() + static_cast<std::ptrdiff_t>(c.at));
    EXPECT_TRUE(std::equal(o.image.begin(), o.image.begin() + kFirmwareChecksumOffset, expected.begin()));
    EXPECT_EQ(le::U16(o.image, kFirmwareChecksumOffset), ReferenceChecksum(o.image));
    EXPECT_EQ(o.result.covered, c.bytes.size());
  }
}

// A file that would give the LCU no firmware, or firmware at the wrong addresses, is refused
// as a whole: nothing of it may reach the LCU.
TEST(HexImage, RefusesFilesThatHoldNoFirmwareForTheWindow) {
  struct Case {
    const char* name;
    std::string text;
    HexReadResult refusal;
  };
  const std::string good = HexRecord(0x2000, {1, 2, 3, 4});
  const std::vector<Case> cases = {
      {"empty file", "", {HexError::kNoData, 0}},
      {"a byte above the size limit", std::string(kHexFileLimit + 1, 'x'), {HexError::kFileTooLarge, 0}},
      {"records all below the window",
       Lines({HexRecord(0x0000, Counting(16, 0)), HexRecord(0x1FF0, Counting(16, 0)), HexEndRecord()}),
       {HexError::kNoData, 0}},
      {"only empty records in the window", Lines({HexRecord(0x2000, {}), HexEndRecord()}), {HexError::kNoData, 0}},
      {"no end-of-file record", Lines({good, HexRecord(0x2004, {5})}) + ":", {HexError::kNoEndRecord, 0}},
      {"cut inside the end record", Lines({good}) + ":00000001", {HexError::kInvalidRecord, 2}},
      {"data after a non-zero extended linear address",
       Lines({good, HexRecord(0, {0x00, 0x01}, test::kHexExtendedLinear), good, HexEndRecord()}),
       {HexError::kExtendedData, 3}},
      {"data below the window after a non-zero extended segment address",
       Lines({good, HexRecord(0, {0x01, 0x00}, test::kHexExtendedSegment), HexRecord(0x1000, {7}), HexEndRecord()}),
       {HexError::kExtendedData, 3}},
      {"an extended address record with a wrong checksum",
       Lines({good, ":020000040000FB", good, HexEndRecord()}),
       {HexError::kBadChecksum, 2}},
      {"an extended address record of one byte",
       Lines({good, HexRecord(0, {0x00}, test::kHexExtendedLinear), HexEndRecord()}),
       {HexError::kInvalidRecord, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Read(c.text).result, c.refusal);
    EXPECT_FALSE(HexErrorText(c.refusal).empty());
  }
}

TEST(HexImage, UnsoundRecordsInTheWindowRefuseTheFileNamingTheLine) {
  struct Case {
    const char* name;
    std::string badLine;
    HexError error;
  };
  std::string badData = HexRecord(0x2000, {1, 2, 3});
  badData[10] = 'G';
  const std::string good = HexRecord(0x2000, {1, 2, 3, 4});
  const std::vector<Case> cases = {
      {"checksum off by one", ":0120000001DD", HexError::kBadChecksum},
      {"non-hex data digit", badData, HexError::kInvalidRecord},
      {"data cut short", good.substr(0, 14), HexError::kInvalidRecord},
      {"checksum missing", good.substr(0, good.size() - 2), HexError::kInvalidRecord},
      {"characters after the checksum", good + "00", HexError::kInvalidRecord},
      {"data past 0x7FFF", HexRecord(0x7FE0, Counting(33, 0)), HexError::kPastImageEnd},
      {"data past 0x7FFF from the last start", HexRecord(0x7FEF, Counting(18, 0)), HexError::kPastImageEnd},
      {"a blank before the colon", " " + good, HexError::kTextBeforeColon},
      {"a tab before the colon", "\t" + good, HexError::kTextBeforeColon},
      {"a NUL before the colon", std::string(1, '\0') + good, HexError::kTextBeforeColon},
      {"a byte-order mark after the first line", "\xEF\xBB\xBF" + good, HexError::kTextBeforeColon},
      {"a comment that holds a colon", "; built 12:30", HexError::kTextBeforeColon},
      {"starts below the window and runs into it", HexRecord(0x1FF8, Counting(16, 1)), HexError::kIntoWindow},
      {"runs into the window from far below", HexRecord(0x1F10, Counting(255, 1)), HexError::kIntoWindow},
      {"record type 06", HexRecord(0x2000, {1}, 0x06), HexError::kUnknownType},
      {"record type FF outside the window", HexRecord(0x0000, {1}, 0xFF), HexError::kUnknownType},
      {"a type that is not hexadecimal", ":0100000G0100", HexError::kInvalidRecord},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Lines before it (a comment, a boot record, a good record, an end record) all count.
    const std::string text = Lines({"; firmware", HexRecord(0x0100, {1}), good, HexEndRecord(), c.badLine, good});
    EXPECT_EQ(Read(text).result, (HexReadResult{c.error, 5}));
    EXPECT_NE(HexErrorText({c.error, 5}).find(" 5 "), std::string::npos) << "the text names the line";
  }
  // Lines ended by CR LF count the same way.
  EXPECT_EQ(Read("\r\n\r\n:0120000001DD\r\n").result, (HexReadResult{HexError::kBadChecksum, 3}));
  // A record that ends exactly at 0x7FFF is sound.
  EXPECT_TRUE(Read(Lines({HexRecord(0x7FEF, Counting(17, 0)), HexEndRecord()})).result.Ok());
  // Lines ended by a lone CR count the same way.
  EXPECT_EQ(Read("\r\r:0120000001DD\r").result, (HexReadResult{HexError::kBadChecksum, 3}));
  // A byte-order mark is not a line of its own.
  EXPECT_EQ(Read("\xEF\xBB\xBF:0120000001DD\n").result, (HexReadResult{HexError::kBadChecksum, 1}));
}

// Data outside the window is not placed, but the result says how much there was and where,
// each address once; a refused file reports none.
TEST(HexImage, CountsTheDataBytesItLeavesOut) {
  const std::string window = HexRecord(0x2000, {1});
  const Outcome o = Read(Lines({HexRecord(0x1000, Counting(4, 0)), HexRecord(0x0000, Counting(2, 0)), window,
                                HexRecord(0x7FF0, Counting(16, 0)), HexRecord(0x7FF8, Counting(16, 0)),
                                HexRecord(0x1000, Counting(4, 0)), HexEndRecord()}));
  ASSERT_TRUE(o.result.Ok());
  EXPECT_EQ(o.result.ignoredBelow, (IgnoredBytes{6, 0x0000, 0x1003}));
  EXPECT_EQ(o.result.ignoredAbove, (IgnoredBytes{24, 0x7FF0, 0x8007}));
  EXPECT_EQ(o.result.covered, 1u);

  // A record past the top of the 16-bit address space is counted where it runs.
  const Outcome top = Read(Lines({window, HexRecord(0xFFFF, Counting(2, 0)), HexEndRecord()}));
  EXPECT_EQ(top.result.ignoredAbove, (IgnoredBytes{2, 0xFFFF, 0x10000}));
  EXPECT_EQ(top.result.ignoredBelow, IgnoredBytes{});

  const Outcome refused = Read(Lines({HexRecord(0x7FF0, Counting(16, 0)), window}));
  EXPECT_EQ(refused.result, (HexReadResult{HexError::kNoEndRecord, 0}));
}

}  // namespace
}  // namespace lcu
