// ConversionExplanation: how one reading of a channel became the value a monitor window
// shows, in numbers a technician can check by hand: the raw reading, the rule the channel
// takes (after its source word), the calibration type and parameters, the table segment or
// formula used with its numbers, the zero offset, and the value before and after it is
// rounded to the channel's decimals.
//
// The explanation is written while ConvertReading converts, as its observer, so its value and
// numbers are the conversion's own; both the desktop program's Value tooltip and `lcu convert
// --explain` print it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/channels/channel_calibration.h"
#include "core/channels/channel_conversion.h"
#include "core/channels/channel_model.h"

namespace lcu {

/// The rule a reading went through.
enum class ExplainedRule {
  kTableInterpolation,  // calibrated, type 0
  kTableStep,           // calibrated, type 4
  kLinear,              // calibrated, types 1 and 8
  kQuadratic,           // calibrated, type 2
  kUnknownType,         // calibrated, any other type: 0
  kScaleFlag,           // r / 10 or r, by the channel's scale flag byte
  kRaw16,               // r
  kTenth,               // r / 10
  kHundredth,           // r / 100
  kSignedHundredth,     // rs / 100
  kGainOffset,          // gain x r + offset from the image
  kFloatBits,           // the 32 bits as a float
  kSigned16,            // rs
  kSigned32,            // Rs
  kUnsigned32,          // Ru
};

/// One computed number: its name, the expression with the numbers put in, and the result.
/// "float(...)" marks a rounding to single precision.
struct ConversionStep {
  std::string name;
  std::string expression;
  double result = 0.0;
};

struct ConversionExplanation {
  int channel = 0;      // the channel asked for
  int ruleChannel = 0;  // the channel whose rule applies (its source word for 112 to 127)
  std::uint32_t reading = 0;
  std::uint16_t raw = 0;  // r, the low 16 bits
  ExplainedRule rule = ExplainedRule::kUnsigned32;

  // Calibrated channels (0 to 63): the record as read and the table point n used.
  ChannelCalibration record;
  std::size_t lastPoint = 0;
  TablePosition position = TablePosition::kNotATable;
  std::size_t segment = 0;  // i of the points used (the last point for kLastPoint)

  std::uint8_t scaleFlag = 0;  // kScaleFlag
  GainOffset gainOffset;       // kGainOffset

  std::vector<ConversionStep> steps;
  double value = 0.0;  // the converted value, as ConvertReading gives it
  int decimals = 0;
  std::string shown;  // the Value cell
  // The calibration file the image was loaded from, when the caller knows it.
  std::string calibrationFile;

  /// Whether the conversion read the image: a calibration record, a scale flag, a gain and
  /// offset, or a source word.
  bool ReadsCalibration() const;
};

/// Explains the conversion of a reading on a channel (0 to 65535) with the image, shown with
/// decimals (those of the row's channel, as the Value cell uses).
ConversionExplanation ExplainConversion(const CalibrationImage& image, std::uint32_t reading, int channel,
                                        int decimals);

/// The explanation as lines of text, in the order a technician checks it.
std::vector<std::string> ExplanationLines(const ConversionExplanation& explanation);

/// A short name of the rule for machine-readable output ("interpolate", "tenth", ...).
std::string_view RuleName(ExplainedRule rule);

/// The shortest decimal text that reads back as exactly this number.
std::string ExactNumber(double value);
std::string ExactNumber(float value);

}  // namespace lcu
