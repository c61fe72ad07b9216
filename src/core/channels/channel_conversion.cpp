#include "core/channels/channel_conversion.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "core/channels/channel_calibration.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {

struct RuleRange {
  int first;
  int last;
  ChannelRule rule;
};

// The rule of every channel number up to 278; every other number takes the whole reading
// unsigned.
constexpr RuleRange kRules[] = {
    {0, 63, ChannelRule::kCalibrated},
    {64, 69, ChannelRule::kScaleFlag},
    {70, 72, ChannelRule::kLow16},
    {73, 78, ChannelRule::kTenth},
    {79, 79, ChannelRule::kLow16},
    {80, 81, ChannelRule::kHundredth},
    {82, 82, ChannelRule::kTenth},
    {83, 84, ChannelRule::kScaleFlag},
    {85, 93, ChannelRule::kTenth},
    {94, 95, ChannelRule::kLow16},
    {96, 97, ChannelRule::kHundredth},
    {98, 98, ChannelRule::kSignedHundredth},
    {99, 99, ChannelRule::kHundredth},
    {100, 100, ChannelRule::kSignedHundredth},
    {101, 111, ChannelRule::kHundredth},
    {112, 127, ChannelRule::kLow16},  // reached only when a source word names this range
    {128, 191, ChannelRule::kGainOffset},
    {192, 223, ChannelRule::kFloatBits},
    {224, 255, ChannelRule::kGainOffset},
    {256, 256, ChannelRule::kSigned32},
    {257, 258, ChannelRule::kSigned16},
    {259, 263, ChannelRule::kUnsigned32},
    {264, 278, ChannelRule::kSigned32},
};

constexpr int kFirstSourceChannel = 112;
constexpr int kLastSourceChannel = 127;
constexpr std::uint8_t kScaleFlagTenths = 0x0A;
constexpr std::size_t kLastTablePoint = kCalibrationPoints - 1;

double Single(double value) { return static_cast<double>(RoundToSingle(value)); }

double WithOffset(float y, float offset) { return Single(static_cast<double>(y) + static_cast<double>(offset)); }

// Linear interpolation between the table points around r, clamped to the end points. No
// enclosing pair (breakpoints not ascending) gives 0.
double Interpolate(const ChannelCalibration& cal, std::size_t n, std::uint16_t r) {
  if (r <= cal.x[0]) return WithOffset(cal.y[0], cal.offset);
  if (r >= cal.x[n]) return WithOffset(cal.y[n], cal.offset);
  for (std::size_t i = 0; i < n; ++i) {
    if (cal.x[i] < r && r <= cal.x[i + 1]) {
      const double rise = Single(static_cast<double>(cal.y[i + 1]) - static_cast<double>(cal.y[i]));
      const double run = cal.x[i + 1] - cal.x[i];
      const double value = Single(rise / run * (r - cal.x[i]) + static_cast<double>(cal.y[i]));
      return Single(value + static_cast<double>(cal.offset));
    }
  }
  return 0.0;
}

// y[i] holds from x[i] up to just below x[i + 1]; from x[n] on, y[n]. A reading below every
// step (n = 0, or breakpoints not ascending) gives 0.
double Step(const ChannelCalibration& cal, std::size_t n, std::uint16_t r) {
  if (r >= cal.x[n]) return WithOffset(cal.y[n], cal.offset);
  for (std::size_t i = 0; i < n; ++i) {
    if (r < cal.x[i + 1]) return WithOffset(cal.y[i], cal.offset);
  }
  return 0.0;
}

double Polynomial(const ChannelCalibration& cal, std::uint16_t r) {
  const double a = cal.a;
  const double b = cal.b;
  const double c = cal.c;
  double value = 0.0;
  if (cal.type == CAL_QUADRATIC) {
    const auto square = static_cast<double>(std::uint64_t{r} * r);  // exact: at most 4294836225
    value = a * square + b * r + c;
  } else {
    value = b * r + c;
  }
  return Single(Single(value) + static_cast<double>(cal.offset));
}

double Calibrated(const CalibrationImage& image, int channel, std::uint16_t r) {
  const ChannelCalibration cal = ReadChannelCalibration(image.Bytes(), channel);
  const std::size_t n = std::min<std::size_t>(cal.lastPoint, kLastTablePoint);
  switch (cal.type) {
    case CAL_INTERPOLATE:
      return Interpolate(cal, n, r);
    case CAL_STEP:
      return Step(cal, n, r);
    case CAL_LINEAR:
    case CAL_LINEAR_ALT:
    case CAL_QUADRATIC:
      return Polynomial(cal, r);
    default:
      return 0.0;
  }
}

}  // namespace

ChannelRule ChannelRuleOf(int channel) {
  for (const RuleRange& range : kRules) {
    if (channel >= range.first && channel <= range.last) return range.rule;
  }
  return ChannelRule::kUnsigned32;
}

int RuleChannelOf(const CalibrationImage& image, int channel) {
  if (channel >= kFirstSourceChannel && channel <= kLastSourceChannel) return ReadSourceWord(image.Bytes(), channel);
  return channel;
}

float RoundToSingle(double value) {
  // Halfway between the largest float and 2^128 and beyond, round-to-nearest overflows.
  constexpr double kOverflow = 0x1.ffffffp127;
  if (value >= kOverflow) return std::numeric_limits<float>::infinity();
  if (value <= -kOverflow) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

double ConvertReading(const CalibrationImage& image, std::uint32_t reading, int channel) {
  channel = RuleChannelOf(image, channel);
  const auto r = static_cast<std::uint16_t>(reading & 0xFFFF);
  const auto rs = static_cast<std::int16_t>(r);
  switch (ChannelRuleOf(channel)) {
    case ChannelRule::kCalibrated:
      return Calibrated(image, channel, r);
    case ChannelRule::kScaleFlag: {
      const std::uint8_t flag = ReadScaleFlag(image.Bytes(), *ScaleFlagIndex(channel));
      return (flag & kScaleFlagTenths) != 0 ? Single(r / 10.0) : r;
    }
    case ChannelRule::kLow16:
      return r;
    case ChannelRule::kTenth:
      return Single(r / 10.0);
    case ChannelRule::kHundredth:
      return Single(r / 100.0);
    case ChannelRule::kSignedHundredth:
      return Single(rs / 100.0);
    case ChannelRule::kGainOffset: {
      const GainOffset pair = ReadGainOffset(image.Bytes(), channel);
      return Single(static_cast<double>(pair.gain) * r + static_cast<double>(pair.offset));
    }
    case ChannelRule::kFloatBits:
      return static_cast<double>(std::bit_cast<float>(reading));
    case ChannelRule::kSigned16:
      return rs;
    case ChannelRule::kSigned32:
      return static_cast<std::int32_t>(reading);
    case ChannelRule::kUnsigned32:
      return reading;
  }
  return reading;
}

double ConvertReading(const CalibrationImage& image, std::span<const std::uint8_t, 4> reading, int channel) {
  return ConvertReading(image, le::U32(reading, 0), channel);
}

int AdjustZeroOffset(CalibrationImage& image, int channel, float delta) {
  if (channel < 0 || channel >= kCalibratedChannels) return 0;
  ChannelCalibration cal = ReadChannelCalibration(image.Bytes(), channel);
  cal.offset = RoundToSingle(static_cast<double>(cal.offset) + static_cast<double>(delta));
  WriteChannelCalibration(image.Bytes(), channel, cal);
  return 1;
}

}  // namespace lcu
