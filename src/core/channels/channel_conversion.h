// Channel value conversion: how the 32-bit reading the LCU reports for a channel becomes
// the engineering value a monitor window shows, and the zero offsets of the calibrated
// channels that zeroing shifts.
//
// The channel number picks the rule: channels 0 to 63 through their calibration record,
// others by fixed scalings, by gain and offset pairs of the calibration image, or as the
// reading taken as an integer or a float. Channels 112 to 127 first take the rule of the
// channel their source word names. Scaled and calibrated values are rounded to single
// precision at the same steps as the LCU's own arithmetic; integer readings come back exact.
//
// This is the one implementation of that arithmetic. An account of a conversion (the Value
// tooltip, `lcu convert --explain`) watches it through a ConversionObserver, told of each
// step as it is taken, rather than repeating it in a copy that could drift.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/channels/channel_calibration.h"
#include "core/channels/channel_model.h"

namespace lcu {

/// The rules a channel number picks.
enum class ChannelRule {
  kCalibrated,       // the channel's calibration record
  kScaleFlag,        // r / 10 when the channel's scale flag has a bit of 0x0A, else r
  kLow16,            // r
  kTenth,            // f(r / 10)
  kHundredth,        // f(r / 100)
  kSignedHundredth,  // f(rs / 100)
  kGainOffset,       // f(gain x r + offset) from the image
  kFloatBits,        // the 32 bits as a float
  kSigned16,         // rs
  kSigned32,         // Rs
  kUnsigned32,       // Ru
};

/// Where a reading fell in a calibration table.
enum class TablePosition {
  kNotATable,
  kFirstPoint,  // at or below x[0] (interpolation), or below x[1] (step)
  kLastPoint,   // at or above x[n]
  kSegment,     // between x[segment] and x[segment + 1]
  kNoSegment,   // no enclosing pair (n = 0 or breakpoints not ascending): 0
};

/// The numbers a conversion computes. f(...) rounds to single precision; i is the
/// operation's point. The operands come in the order listed.
enum class ConversionStepKind {
  kPointPlusOffset,    // f(y[i] + offset): y[i], offset
  kRise,               // d = f(y[i + 1] - y[i]): y[i + 1], y[i]
  kAlong,              // v = f(d / (x[i + 1] - x[i]) * (r - x[i]) + y[i]): d, x[i + 1] - x[i], r - x[i], y[i]
  kAlongPlusOffset,    // f(v + offset): v, offset
  kQuadratic,          // p = f(a * r^2 + b * r + c): a, r^2, b, r, c
  kLinear,             // p = f(b * r + c): b, r, c
  kFormulaPlusOffset,  // f(p + offset): p, offset
  kRawQuotient,        // f(r / divisor): r, divisor
  kSignedQuotient,     // f(rs / divisor): rs, divisor
  kGainOffset,         // f(gain * r + offset): gain, r, offset
  kRaw,                // r
  kFloatBits,          // the 32 bits as a float
  kSigned16,           // rs
  kSigned32,           // the 32 bits signed
  kUnsigned32,         // the 32 bits unsigned
};

/// One computed number. Operands are held exactly: each is a float, a double or an integer
/// below 2^53 of the conversion.
struct ConversionOperation {
  ConversionStepKind kind = ConversionStepKind::kRaw;
  std::size_t point = 0;
  std::array<double, 5> operands{};
  double result = 0.0;
};

/// What a conversion does, in the order it does it: the rule, then the record, scale flag or
/// gain and offset pair it reads, the table position, and each computed number up to the value.
class ConversionObserver {
 public:
  virtual ~ConversionObserver() = default;

  /// The rule taken and the channel it comes from (the source word's for 112 to 127).
  virtual void Rule(int ruleChannel, ChannelRule rule) = 0;
  /// A calibrated channel's record as read, and the table point n used.
  virtual void Record(const ChannelCalibration& record, std::size_t lastPoint) = 0;
  virtual void Position(TablePosition position, std::size_t segment) = 0;
  virtual void ScaleFlag(std::uint8_t flag) = 0;
  virtual void GainOffsetPair(const GainOffset& pair) = 0;
  virtual void Computed(const ConversionOperation& operation) = 0;
};

/// The rule of a channel number, before any source word is followed.
ChannelRule ChannelRuleOf(int channel);

/// The channel whose rule a channel takes: for 112 to 127 the channel their source word
/// names (followed once), for every other channel the channel itself.
int RuleChannelOf(const CalibrationImage& image, int channel);

/// Whether a scale flag byte makes its channels read in tenths: any bit of 0x0A set.
constexpr bool ScaleFlagMeansTenths(std::uint8_t flag) { return (flag & 0x0A) != 0; }

/// Rounds to the nearest single-precision value, the f(...) of the conversion; magnitudes
/// beyond the float range become infinities of their sign, as IEEE rounding gives them.
float RoundToSingle(double value);

/// The engineering value of a reading (its 32 bits as received) on a channel (0 to 65535).
/// Reads the image in place, allocates nothing and keeps nothing, so a changed calibration
/// takes effect at the next call. A calibration record whose lastPoint exceeds 12 is taken
/// as ending at point 12: the table never reads beyond its 13 points. An observer, when
/// given, is told of each step as it is taken; without one no step costs more than a test
/// of the null pointer.
double ConvertReading(const CalibrationImage& image, std::uint32_t reading, int channel,
                      ConversionObserver* observer = nullptr);

/// The same for a reading as the four little-endian bytes of the LCU's reply.
double ConvertReading(const CalibrationImage& image, std::span<const std::uint8_t, 4> reading, int channel);

/// Adds delta to the zero offset of a calibrated channel (0 to 63), the sum rounded to
/// single precision, and returns 1. Any other channel number returns 0 and changes nothing.
/// Neither saves nor sends the image.
int AdjustZeroOffset(CalibrationImage& image, int channel, float delta);

}  // namespace lcu
