// The configuration upload: the buffer layout, every carried and cleared field in both
// modes, the questions, the validation before anything is sent, and the registry values.
#include <gtest/gtest.h>

#include "core/commands/configuration_upload.h"
#include "core/host/memory_settings_store.h"
#include "core/host/prompter.h"
#include "core/host/registry.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

CalibrationImage TwoBufferImage() {
  CalibrationImage image;
  image.SetU16(hdr::kBufferCount, 2);
  image.SetEntry(0, {2, 10, {}, {}, 0x1111});
  image.SetEntry(1, {4, 8, {}, {}, 0x2222});
  return image;
}

TEST(LayOutBuffers, WorkedExampleAndRegionsThatAreMultiplesOfFourInsideMemory) {
  CalibrationImage image = TwoBufferImage();
  LayOutBuffers(image, 2);
  // Rate code, weight and the carried word stay as they were.
  EXPECT_EQ(image.Entry(0), (LogBufferEntry{2, 10, {0x8000, 1}, {0x8000, 1}, 0x1111}));
  EXPECT_EQ(image.Entry(1), (LogBufferEntry{4, 8, {0xA000, 53}, {0xA000, 53}, 0x2222}));
  EXPECT_EQ(image.Entry(2).start, (Position{0x8000, 64}));
  EXPECT_EQ(image.U16(hdr::kFirstBufferSize), 3360);

  image.SetEntry(0, {2, 0, {}, {}, 0});  // no weight, or no buffers: all at the first page
  image.SetEntry(1, {4, 0, {}, {}, 0});
  LayOutBuffers(image, 2);
  for (std::size_t i = 0; i <= 2; ++i) EXPECT_EQ(image.Entry(i).start, (Position{0x8000, 1})) << i;

  image.SetU16(hdr::kBufferCount, 3);
  image.SetEntry(0, {0, 3, {}, {}, 0});
  image.SetEntry(1, {9, 7, {}, {}, 0});
  image.SetEntry(2, {5, 1, {}, {}, 0});
  for (const std::uint16_t m : {std::uint16_t{1}, std::uint16_t{2}, std::uint16_t{16}, std::uint16_t{2047}}) {
    LayOutBuffers(image, m);
    for (std::size_t i = 0; i < 3; ++i)
      EXPECT_EQ(Distance(image.Entry(i).start, image.Entry(i + 1).start) % 4, 0u) << m << ' ' << i;
    EXPECT_LE(LinearOf(image.Entry(3).start), static_cast<std::uint64_t>(m) * kMemoryUnit);
    EXPECT_GT(LinearOf(image.Entry(3).start) + 16, static_cast<std::uint64_t>(m) * kMemoryUnit);
  }
}

LoggerHeader LcuHeader() {
  LoggerHeader h;
  for (std::size_t i = 0; i < h.Bytes().size(); ++i) h.Bytes()[i] = static_cast<std::uint8_t>(0xA0 ^ (i * 13));
  h.SetU16(hdr::kMemorySize, 2);
  h.SetU16(hdr::kLcuNumber, 17);
  h.SetU32(hdr::kDataPresent, 1);
  h.SetU16(hdr::kLapsSinceReset, 7);
  h.SetU16(hdr::kLapBase, 20);
  h.SetU32(hdr::kCarryCount, 1000);
  h.SetU32(hdr::kLogbookTotal, 0xFFFFFF00);
  h.SetU16(hdr::kBufferCount, 2);
  return h;
}

class UploadTest : public ::testing::Test {
 protected:
  UploadTest() { f.GoOnline(); }

  // The 16320 bytes written to LCU 0x8040, as a full header image (status part zero).
  std::optional<LoggerHeader> Written() const {
    const std::vector<std::uint8_t> bytes = f.LastWritten();
    if (bytes.empty()) return std::nullopt;
    LoggerHeader h;
    std::copy(bytes.begin(), bytes.end(), h.Bytes().begin() + 64);
    return h;
  }

  test::CommandFixture f;
};

// What the image must hold after an upload: every byte from 0x40 on as in the image, except
// the layout, the carried and the cleared fields.
LoggerHeader Expected(const CalibrationImage& image, const LoggerHeader& lcu, UploadMode mode, bool preserveQmt) {
  LoggerHeader e = image;
  LayOutBuffers(e, lcu.MemorySize());
  const auto copy = [&](std::size_t offset, std::size_t length) {
    std::copy_n(lcu.Bytes().begin() + static_cast<std::ptrdiff_t>(offset), length,
                e.Bytes().begin() + static_cast<std::ptrdiff_t>(offset));
  };
  for (const std::size_t o : std::initializer_list<std::size_t>{0x4Cu, 0x4Eu, 0x7Cu, 0x98u}) copy(o, 2);
  for (const std::size_t o : std::initializer_list<std::size_t>{0x80u, 0x88u, 0x8Cu, 0x90u, 0x94u}) copy(o, 4);
  copy(0x56, 32);
  copy(0xA0, 96);
  for (const std::size_t o : std::initializer_list<std::size_t>{0x40u, 0x44u, 0x52u}) e.SetU32(o, 0);
  for (const std::size_t o : std::initializer_list<std::size_t>{0x48u, 0x4Au}) e.SetU16(o, 0);
  if (mode == UploadMode::kReset) {
    e.SetU16(0x50, static_cast<std::uint16_t>(lcu.U16(0x4A) + lcu.U16(0x50)));
    e.SetU32(0x84, lcu.U32(0x12) + lcu.U32(0x84));
  } else {
    copy(0x50, 2);
    copy(0x84, 4);
  }
  if (mode == UploadMode::kReset || preserveQmt) {
    copy(0x76, 2);
    copy(0x1BCA, 16);
  }
  return e;
}

void ExpectSameFrom0x40(const LoggerHeader& actual, const LoggerHeader& expected) {
  for (std::size_t i = 0x40; i < kLoggerHeaderSize; ++i)
    ASSERT_EQ(actual.Bytes()[i], expected.Bytes()[i]) << "offset 0x" << std::hex << i;
}

// Reset mode sums the counters and always carries the QMT; Send Config keeps the counters,
// carries the QMT only on request and asks first when the LCU holds data.
TEST_F(UploadTest, CarriesClearsAndSumsTheLcusFieldsInEitherMode) {
  for (const auto& [mode, preserveQmt] :
       {std::pair{UploadMode::kSendConfig, false}, std::pair{UploadMode::kSendConfig, true},
        std::pair{UploadMode::kReset, false}}) {
    const LoggerHeader lcu = LcuHeader();
    f.Reply(lcu.Bytes());
    f.prompter.answers = {true};
    f.app.m_bPreserveQmt = preserveQmt ? 1 : 0;
    CalibrationImage image = TwoBufferImage();
    image.Bytes()[0x9A] = 0x5A;  // logbook tail comes from the image
    // A calibration file may hold anything in the fields the upload clears; the LCU must get
    // 0 there, or it would report data it does not hold.
    image.SetU32(hdr::kDataPresent, 0x01020304);
    image.SetU32(hdr::kCleared44, 0x05060708);
    image.SetU16(hdr::kWrapFlag, 1);
    image.SetU16(hdr::kLapsSinceReset, 9);
    image.SetU32(hdr::kCleared52, 0x0A0B0C0D);
    const CalibrationImage original = image;
    ASSERT_EQ(UploadConfiguration(f.ctx, image, mode), CommandResult::kDone);
    const auto written = Written();
    ASSERT_TRUE(written);
    EXPECT_EQ(written->DataPresent(), 0u);
    ExpectSameFrom0x40(*written, Expected(original, lcu, mode, preserveQmt));
    // The image in memory keeps the computed values.
    ExpectSameFrom0x40(image, *written);
  }
  EXPECT_EQ(f.prompter.questions, (std::vector<std::string>(2, "LCU contains data. Do you want to continue ?")));
  EXPECT_EQ(Written()->U16(hdr::kLapBase), 27);
  EXPECT_EQ(Written()->U32(hdr::kLogbookTotal), 0xFFFFFF00u + 1000u);
  EXPECT_EQ(Written()->Bytes()[0x9A], 0x5A);
}

TEST_F(UploadTest, InvalidImagesOrAnLcuWithoutMemoryAreRefusedBeforeAnythingIsWritten) {
  CalibrationImage tooMany;
  tooMany.SetU16(hdr::kBufferCount, static_cast<std::uint16_t>(LoggerHeader::MaxBufferCount(hdr::kChannelNames) + 1));
  CalibrationImage badRate = TwoBufferImage();
  badRate.SetEntry(1, {10, 1, {}, {}, 0});
  for (CalibrationImage* image : {&tooMany, &badRate})
    EXPECT_EQ(UploadConfiguration(f.ctx, *image, UploadMode::kReset), CommandResult::kFailed);
  EXPECT_TRUE(f.Sent().empty());
  LoggerHeader lcu = LcuHeader();
  lcu.SetU16(hdr::kMemorySize, 0);
  f.Reply(lcu.Bytes());
  CalibrationImage image = TwoBufferImage();
  EXPECT_EQ(UploadConfiguration(f.ctx, image, UploadMode::kReset), CommandResult::kFailed);
  EXPECT_EQ(f.prompter.messages,
            (std::vector<std::string>{"Calibration file is invalid.", "Calibration file is invalid.",
                                      "Logger header is invalid."}));
  EXPECT_TRUE(f.LastWritten().empty());
}

// Each upload counts the configuration stamp, skipping 0, and stores the memory size in every
// slot registered for the LCU's number.
TEST_F(UploadTest, CountsTheStampAndStoresTheMemoryInEveryMatchingSlot) {
  f.store.WriteString(SlotKey(2), "Serial", "17");
  f.store.WriteString(SlotKey(4), "Serial", "0017");
  f.store.WriteString(SlotKey(5), "Serial", "18");
  for (const auto& [before, after] :
       std::vector<std::pair<std::optional<std::int32_t>, std::int32_t>>{{std::nullopt, 1}, {5, 6}, {-1, 1}}) {
    if (before) f.store.WriteInteger("Corvalent\\ChannelData", "ConfigStamp", *before);
    f.Reply(LcuHeader().Bytes());
    CalibrationImage image = TwoBufferImage();
    ASSERT_EQ(UploadConfiguration(f.ctx, image, UploadMode::kReset), CommandResult::kDone);
    EXPECT_EQ(Profile(f.store).GetProfileInt("ChannelData", "ConfigStamp", 0), after);
  }
  EXPECT_EQ(f.store.ReadValue(SlotKey(2), "Memory"), "2");
  EXPECT_EQ(f.store.ReadValue(SlotKey(4), "Memory"), "2");
  EXPECT_FALSE(f.store.ReadValue(SlotKey(5), "Memory"));
  EXPECT_FALSE(f.store.KeyExists(SlotKey(1)));  // a missing slot key is not created
}

}  // namespace
}  // namespace lcu
