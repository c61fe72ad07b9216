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

constexpr std::size_t kLastTablePoint = kCalibrationPoints - 1;

using enum ConversionStepKind;
using enum TablePosition;

double Single(double value) { return static_cast<double>(RoundToSingle(value)); }

// Passes a computed number on, telling the observer of it first when there is one. Without
// one, nothing but the test of the pointer is done.
template <typename... Operands>
double Told(ConversionObserver* observer, ConversionStepKind kind, std::size_t point, double result,
            Operands... operands) {
  if (observer != nullptr) [[unlikely]]
    observer->Computed({kind, point, {static_cast<double>(operands)...}, result});
  return result;
}

// The value of table point i: f(y[i] + offset).
double PointWithOffset(const ChannelCalibration& cal, std::size_t i, TablePosition position,
                       ConversionObserver* observer) {
  if (observer != nullptr) observer->Position(position, i);
  const double y = cal.y[i];
  return Told(observer, kPointPlusOffset, i, Single(y + cal.offset), y, cal.offset);
}

// Linear interpolation between the table points around r, clamped to the end points. No
// enclosing pair (breakpoints not ascending) gives 0.
double Interpolate(const ChannelCalibration& cal, std::size_t n, std::uint16_t r, ConversionObserver* observer) {
  if (r <= cal.x[0]) return PointWithOffset(cal, 0, kFirstPoint, observer);
  if (r >= cal.x[n]) return PointWithOffset(cal, n, kLastPoint, observer);
  for (std::size_t i = 0; i < n; ++i) {
    if (cal.x[i] < r && r <= cal.x[i + 1]) {
      if (observer != nullptr) observer->Position(kSegment, i);
      const double y0 = cal.y[i];
      const double y1 = cal.y[i + 1];
      const double rise = Told(observer, kRise, i, Single(y1 - y0), y1, y0);
      const double run = cal.x[i + 1] - cal.x[i];
      const double along = r - cal.x[i];
      const double value = Told(observer, kAlong, i, Single(rise / run * along + y0), rise, run, along, y0);
      return Told(observer, kAlongPlusOffset, i, Single(value + cal.offset), value, cal.offset);
    }
  }
  if (observer != nullptr) observer->Position(kNoSegment, 0);
  return 0.0;
}

// y[i] holds from x[i] up to just below x[i + 1]; from x[n] on, y[n]. A reading below every
// step (n = 0, or breakpoints not ascending) gives 0.
double Step(const ChannelCalibration& cal, std::size_t n, std::uint16_t r, ConversionObserver* observer) {
  if (r >= cal.x[n]) return PointWithOffset(cal, n, kLastPoint, observer);
  for (std::size_t i = 0; i < n; ++i) {
    if (r < cal.x[i + 1]) return PointWithOffset(cal, i, i == 0 ? kFirstPoint : kSegment, observer);
  }
  if (observer != nullptr) observer->Position(kNoSegment, 0);
  return 0.0;
}

double Polynomial(const ChannelCalibration& cal, std::uint16_t r, ConversionObserver* observer) {
  const double a = cal.a;
  const double b = cal.b;
  const double c = cal.c;
  const double x = r;
  const auto square = static_cast<double>(std::uint64_t{r} * r);  // exact: at most 4294836225
  const double value = cal.type == CAL_QUADRATIC
                           ? Told(observer, kQuadratic, 0, Single(a * square + b * x + c), a, square, b, x, c)
                           : Told(observer, kLinear, 0, Single(b * x + c), b, x, c);
  return Told(observer, kFormulaPlusOffset, 0, Single(value + cal.offset), value, cal.offset);
}

double Calibrated(const CalibrationImage& image, int channel, std::uint16_t r, ConversionObserver* observer) {
  const ChannelCalibration cal = ReadChannelCalibration(image.Bytes(), channel);
  const std::size_t n = std::min<std::size_t>(cal.lastPoint, kLastTablePoint);
  if (observer != nullptr) observer->Record(cal, n);
  switch (cal.type) {
    case CAL_INTERPOLATE: return Interpolate(cal, n, r, observer);
    case CAL_STEP: return Step(cal, n, r, observer);
    case CAL_LINEAR:
    case CAL_LINEAR_ALT:
    case CAL_QUADRATIC: return Polynomial(cal, r, observer);
    default: return 0.0;
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

double ConvertReading(const CalibrationImage& image, std::uint32_t reading, int channel, ConversionObserver* observer) {
  channel = RuleChannelOf(image, channel);
  const ChannelRule rule = ChannelRuleOf(channel);
  if (observer != nullptr) observer->Rule(channel, rule);
  const auto r = static_cast<std::uint16_t>(reading & 0xFFFF);
  const auto rs = static_cast<std::int16_t>(r);
  const double x = r;
  switch (rule) {
    case ChannelRule::kCalibrated: return Calibrated(image, channel, r, observer);
    case ChannelRule::kScaleFlag: {
      const std::uint8_t flag = ReadScaleFlag(image.Bytes(), *ScaleFlagIndex(channel));
      if (observer != nullptr) observer->ScaleFlag(flag);
      if (ScaleFlagMeansTenths(flag)) return Told(observer, kRawQuotient, 0, Single(x / 10.0), x, 10.0);
      return Told(observer, kRaw, 0, x);
    }
    case ChannelRule::kLow16: return Told(observer, kRaw, 0, x);
    case ChannelRule::kTenth: return Told(observer, kRawQuotient, 0, Single(x / 10.0), x, 10.0);
    case ChannelRule::kHundredth: return Told(observer, kRawQuotient, 0, Single(x / 100.0), x, 100.0);
    case ChannelRule::kSignedHundredth: return Told(observer, kSignedQuotient, 0, Single(rs / 100.0), rs, 100.0);
    case ChannelRule::kGainOffset: {
      const GainOffset pair = ReadGainOffset(image.Bytes(), channel);
      if (observer != nullptr) observer->GainOffsetPair(pair);
      const double gain = pair.gain;
      const double offset = pair.offset;
      return Told(observer, kGainOffset, 0, Single(gain * x + offset), gain, x, offset);
    }
    case ChannelRule::kFloatBits:
      return Told(observer, kFloatBits, 0, static_cast<double>(std::bit_cast<float>(reading)));
    case ChannelRule::kSigned16: return Told(observer, kSigned16, 0, rs);
    case ChannelRule::kSigned32: return Told(observer, kSigned32, 0, static_cast<std::int32_t>(reading));
    case ChannelRule::kUnsigned32: return Told(observer, kUnsigned32, 0, reading);
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
