// The calibration record layout, every field at its byte offset and carried bytes kept,
// and the image regions where the channel model finds them.
#include <gtest/gtest.h>

#include <array>

#include "core/channels/channel_calibration.h"
#include "core/logger/logger_header.h"
#include "core/util/little_endian.h"

namespace lcu {
namespace {

TEST(ChannelCalibrationRecord, FieldsLieAtTheirOffsets) {
  std::array<std::uint8_t, kChannelCalibrationSize> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const ChannelCalibration r = ChannelCalibration::Read(bytes);
  std::array<std::uint8_t, kChannelCalibrationSize> written{};
  r.Write(written);
  EXPECT_EQ(written, bytes);
  EXPECT_EQ(r.type, le::U16(bytes, 0));
  EXPECT_EQ(r.offset, le::F32(bytes, 2));
  EXPECT_EQ(r.lastPoint, le::U16(bytes, 6));
  EXPECT_EQ(r.x[12], le::U16(bytes, 32));
  EXPECT_EQ(r.y[0], le::F32(bytes, 34));
  EXPECT_EQ(r.y[12], le::F32(bytes, 82));
  EXPECT_EQ(r.a, le::F32(bytes, 86));
  EXPECT_EQ(r.b, le::F32(bytes, 90));
  EXPECT_EQ(r.c, le::F32(bytes, 94));
  EXPECT_EQ(r.carried, le::U16(bytes, 98));
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

  // Which channel a scale flag belongs to is the conversion's range table.
  WriteScaleFlag(bytes, 7, 0x0A);
  EXPECT_EQ(bytes[0x018E + 6 * 7], 0x0A);
  EXPECT_EQ(ReadScaleFlag(bytes, 7), 0x0A);
}

}  // namespace
}  // namespace lcu
