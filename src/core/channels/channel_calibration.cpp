#include "core/channels/channel_calibration.h"

#include <algorithm>
#include <cstdlib>

#include "core/util/little_endian.h"

namespace lcu {

namespace {
constexpr std::size_t kType = 0;
constexpr std::size_t kOffset = 2;
constexpr std::size_t kLastPointOffset = 6;
constexpr std::size_t kX = 8;
constexpr std::size_t kY = 34;
constexpr std::size_t kA = 86;
constexpr std::size_t kB = 90;
constexpr std::size_t kC = 94;
constexpr std::size_t kCarried = 98;

constexpr int kScaleFlagCount = 8;

// Channel numbers outside a region come from fixed tables in the callers; one out of range
// is a programming error, as an offset outside a span is for the little-endian helpers.
void CheckChannel(int channel, int first, int last) {
  if (channel < first || channel > last) std::abort();
}
}  // namespace

ChannelCalibration ChannelCalibration::Read(std::span<const std::uint8_t, kChannelCalibrationSize> bytes) {
  ChannelCalibration r;
  r.type = le::U16(bytes, kType);
  r.offset = le::F32(bytes, kOffset);
  r.lastPoint = le::U16(bytes, kLastPointOffset);
  for (std::size_t i = 0; i < kCalibrationPoints; ++i) {
    r.x[i] = le::U16(bytes, kX + 2 * i);
    r.y[i] = le::F32(bytes, kY + 4 * i);
  }
  r.a = le::F32(bytes, kA);
  r.b = le::F32(bytes, kB);
  r.c = le::F32(bytes, kC);
  r.carried = le::U16(bytes, kCarried);
  return r;
}

void ChannelCalibration::Write(std::span<std::uint8_t, kChannelCalibrationSize> bytes) const {
  le::PutU16(bytes, kType, type);
  le::PutF32(bytes, kOffset, offset);
  le::PutU16(bytes, kLastPointOffset, lastPoint);
  for (std::size_t i = 0; i < kCalibrationPoints; ++i) {
    le::PutU16(bytes, kX + 2 * i, x[i]);
    le::PutF32(bytes, kY + 4 * i, y[i]);
  }
  le::PutF32(bytes, kA, a);
  le::PutF32(bytes, kB, b);
  le::PutF32(bytes, kC, c);
  le::PutU16(bytes, kCarried, carried);
}

std::size_t CalibrationRecordOffset(int channel) {
  CheckChannel(channel, 0, kCalibratedChannels - 1);
  return cal::kRecords + kChannelCalibrationSize * static_cast<std::size_t>(channel);
}

ChannelCalibration ReadChannelCalibration(ConstImageBytes image, int channel) {
  return ChannelCalibration::Read(image.subspan(CalibrationRecordOffset(channel)).first<kChannelCalibrationSize>());
}

void WriteChannelCalibration(ImageBytes image, int channel, const ChannelCalibration& record) {
  record.Write(image.subspan(CalibrationRecordOffset(channel)).first<kChannelCalibrationSize>());
}

std::span<const std::uint8_t, kCalibrationNameSize> CalibrationNameField(ConstImageBytes image, int channel) {
  CheckChannel(channel, 0, kCalibratedChannels - 1);
  return image.subspan(cal::kNames + kCalibrationNameSize * static_cast<std::size_t>(channel))
      .first<kCalibrationNameSize>();
}

std::string CalibrationName(ConstImageBytes image, int channel) {
  const auto field = CalibrationNameField(image, channel);
  const auto nul = std::find(field.begin(), field.end(), std::uint8_t{0});
  std::string name;
  for (auto it = field.begin(); it != nul; ++it) name += static_cast<char>(*it);
  return name;
}

void SetCalibrationName(ImageBytes image, int channel, std::string_view name) {
  CheckChannel(channel, 0, kCalibratedChannels - 1);
  if (name.size() > kCalibrationNameSize) std::abort();
  const std::size_t base = cal::kNames + kCalibrationNameSize * static_cast<std::size_t>(channel);
  for (std::size_t i = 0; i < kCalibrationNameSize; ++i) {
    image[base + i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : std::uint8_t{0};
  }
}

std::optional<std::size_t> GainOffsetOffset(int channel) {
  if (channel >= 128 && channel <= 191) {
    return cal::kGainOffset128 + cal::kGainOffset128Stride * static_cast<std::size_t>(channel - 128);
  }
  if (channel >= 224 && channel <= 255) {
    return cal::kGainOffset224 + cal::kGainOffset224Stride * static_cast<std::size_t>(channel - 224);
  }
  return std::nullopt;
}

GainOffset ReadGainOffset(ConstImageBytes image, int channel) {
  const auto offset = GainOffsetOffset(channel);
  if (!offset) std::abort();
  return GainOffset{le::F32(image, *offset), le::F32(image, *offset + 4)};
}

void WriteGainOffset(ImageBytes image, int channel, const GainOffset& pair) {
  const auto offset = GainOffsetOffset(channel);
  if (!offset) std::abort();
  le::PutF32(image, *offset, pair.gain);
  le::PutF32(image, *offset + 4, pair.offset);
}

std::uint16_t ReadSourceWord(ConstImageBytes image, int channel) {
  CheckChannel(channel, kFirstSourceChannel, kLastSourceChannel);
  return le::U16(image, cal::kSourceWords + cal::kSourceWordStride * static_cast<std::size_t>(channel));
}

void WriteSourceWord(ImageBytes image, int channel, std::uint16_t source) {
  CheckChannel(channel, kFirstSourceChannel, kLastSourceChannel);
  le::PutU16(image, cal::kSourceWords + cal::kSourceWordStride * static_cast<std::size_t>(channel), source);
}

std::optional<std::size_t> ScaleFlagIndex(int channel) {
  if (channel >= 64 && channel <= 69) return static_cast<std::size_t>(channel - 64);
  if (channel == 83) return 6;
  if (channel == 84) return 7;
  return std::nullopt;
}

std::uint8_t ReadScaleFlag(ConstImageBytes image, std::size_t k) {
  if (k >= kScaleFlagCount) std::abort();
  return le::U8(image, cal::kScaleFlags + cal::kScaleFlagStride * k);
}

void WriteScaleFlag(ImageBytes image, std::size_t k, std::uint8_t flag) {
  if (k >= kScaleFlagCount) std::abort();
  le::PutU8(image, cal::kScaleFlags + cal::kScaleFlagStride * k, flag);
}

}  // namespace lcu
