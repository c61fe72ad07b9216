// The calibration record layout, every field at its byte offset and carried bytes kept,
// and the image regions where the channel model finds them.
#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "core/channels/channel_calibration.h"
#include "core/logger/logger_header.h"
#include "core/util/little_endian.h"

namespace lcu {
namespace {

TEST(ChannelCalibrationRecord, FieldsLieAtTheirOffsets) {
  std::array<std::uint8_t, kChannelCalibrationSize> bytes{};
  le::PutU16(bytes, 0, CAL_QUADRATIC);
  le::PutF32(bytes, 2, -1.5f);
  le::PutU16(bytes, 6, 12);
  le::PutU16(bytes, 8, 100);
  le::PutU16(bytes, 32, 4000);
  le::PutF32(bytes, 34, 0.25f);
  le::PutF32(bytes, 82, 99.0f);
  le::PutF32(bytes, 86, 1e-6f);
  le::PutF32(bytes, 90, 0.015f);
  le::PutF32(bytes, 94, 10.0f);
  le::PutU16(bytes, 98, 0xBEEF);

  const ChannelCalibration r = ChannelCalibration::Read(bytes);
  EXPECT_EQ(r.type, CAL_QUADRATIC);
  EXPECT_EQ(r.offset, -1.5f);
  EXPECT_EQ(r.lastPoint, 12);
  EXPECT_EQ(r.x[0], 100);
  EXPECT_EQ(r.x[12], 4000);
  EXPECT_EQ(r.y[0], 0.25f);
  EXPECT_EQ(r.y[12], 99.0f);
  EXPECT_EQ(r.a, 1e-6f);
  EXPECT_EQ(r.b, 0.015f);
  EXPECT_EQ(r.c, 10.0f);
  EXPECT_EQ(r.carried, 0xBEEF);

  std::array<std::uint8_t, kChannelCalibrationSize> written{};
  r.Write(written);
  EXPECT_EQ(written, bytes);
}

TEST(CalibrationImageRegions, AccessorsUseTheImageOffsets) {
  LoggerHeader image;
  const auto bytes = image.Bytes();

  ChannelCalibration record;
  record.type = CAL_STEP;
  record.c = 7.0f;
  WriteChannelCalibration(bytes, 63, record);
  EXPECT_EQ(le::U16(bytes, 0x2000 + 100 * 63), CAL_STEP);
  EXPECT_EQ(ReadChannelCalibration(bytes, 63), record);

  SetCalibrationName(bytes, 5, "OIL PRESS");
  EXPECT_EQ(image.Text(0x1780 + 16 * 5, 16), "OIL PRESS");
  EXPECT_EQ(CalibrationName(bytes, 5), "OIL PRESS");
  SetCalibrationName(bytes, 6, "SIXTEEN CHARS OK");
  EXPECT_EQ(CalibrationName(bytes, 6), "SIXTEEN CHARS OK");
  EXPECT_EQ(CalibrationName(bytes, 5), "OIL PRESS") << "a full-length name must not run into its neighbour";

  struct Case {
    int channel;
    std::size_t offset;
  };
  for (const Case c : {Case{128, 0x3C00}, Case{191, 0x3FF0}, Case{224, 0x3A00}, Case{255, 0x3AF8}}) {
    EXPECT_EQ(GainOffsetOffset(c.channel), c.offset) << c.channel;
    WriteGainOffset(bytes, c.channel, {2.0f, -3.0f});
    EXPECT_EQ(le::F32(bytes, c.offset), 2.0f);
    EXPECT_EQ(le::F32(bytes, c.offset + 4), -3.0f);
  }
  for (const int channel : {0, 127, 192, 223, 256}) EXPECT_FALSE(GainOffsetOffset(channel)) << channel;

  WriteSourceWord(bytes, 112, 5);
  WriteSourceWord(bytes, 127, 64);
  EXPECT_EQ(le::U16(bytes, 0x0932), 5);
  EXPECT_EQ(le::U16(bytes, 0x09AA), 64);
  EXPECT_EQ(ReadSourceWord(bytes, 127), 64);
}

TEST(CalibrationImageRegions, ScaleFlagsBelongToTheirChannels) {
  struct Case {
    int channel;
    std::optional<std::size_t> k;
  };
  const Case cases[] = {{64, 0}, {69, 5}, {83, 6}, {84, 7}, {63, std::nullopt}, {70, std::nullopt},
                        {82, std::nullopt}, {85, std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(ScaleFlagIndex(c.channel), c.k) << c.channel;

  LoggerHeader image;
  WriteScaleFlag(image.Bytes(), 7, 0x0A);
  EXPECT_EQ(image.Bytes()[0x018E + 6 * 7], 0x0A);
  EXPECT_EQ(ReadScaleFlag(image.Bytes(), 7), 0x0A);
}

}  // namespace
}  // namespace lcu
