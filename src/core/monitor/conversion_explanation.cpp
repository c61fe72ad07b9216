#include "core/monitor/conversion_explanation.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "core/channels/channel_conversion.h"
#include "core/monitor/monitor_row.h"

namespace lcu {

namespace {

std::string Hex32(std::uint32_t value) {
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), "0x%08X", static_cast<unsigned>(value));
  return text.data();
}

std::string Hex8(std::uint8_t value) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "0x%02X", static_cast<unsigned>(value));
  return text.data();
}

std::string Num(double value) { return ExactNumber(value); }
std::string Num(float value) { return ExactNumber(value); }
std::string Num(std::uint64_t value) { return std::to_string(value); }
std::string Num(std::uint16_t value) { return std::to_string(value); }

std::string Index(std::string_view name, std::size_t i) { return std::string(name) + "[" + std::to_string(i) + "]"; }

// Watches ConvertReading and writes down what it reads and computes, so the explanation's
// value is the conversion's own.
class Explainer final : public ConversionObserver {
 public:
  ConversionExplanation Run(const CalibrationImage& image, std::uint32_t reading, int channel, int decimals) {
    m_e.channel = channel;
    m_e.reading = reading;
    m_e.raw = static_cast<std::uint16_t>(reading & 0xFFFF);
    m_e.value = ConvertReading(image, reading, channel, this);
    m_e.decimals = decimals;
    m_e.shown = FormatValueCell(m_e.value, decimals);
    return std::move(m_e);
  }

  void Rule(int ruleChannel, ChannelRule rule) override {
    m_e.ruleChannel = ruleChannel;
    m_e.rule = ExplainedRuleOf(rule);
  }

  void Record(const ChannelCalibration& record, std::size_t lastPoint) override {
    m_e.record = record;
    m_e.lastPoint = lastPoint;
    switch (record.type) {
      case CAL_INTERPOLATE: m_e.rule = ExplainedRule::kTableInterpolation; break;
      case CAL_STEP: m_e.rule = ExplainedRule::kTableStep; break;
      case CAL_LINEAR:
      case CAL_LINEAR_ALT: m_e.rule = ExplainedRule::kLinear; break;
      case CAL_QUADRATIC: m_e.rule = ExplainedRule::kQuadratic; break;
      default: m_e.rule = ExplainedRule::kUnknownType; break;
    }
  }

  void Position(TablePosition position, std::size_t segment) override {
    m_e.position = position;
    m_e.segment = segment;
  }

  void ScaleFlag(std::uint8_t flag) override { m_e.scaleFlag = flag; }
  void GainOffsetPair(const GainOffset& pair) override { m_e.gainOffset = pair; }

  void Computed(const ConversionOperation& op) override {
    const auto& v = op.operands;
    // Operands that were floats or integers print as such: their shortest texts differ from
    // those of the same numbers as doubles.
    const auto F = [&v](std::size_t k) { return Num(static_cast<float>(v[k])); };
    const auto D = [&v](std::size_t k) { return Num(v[k]); };
    const auto U = [&v](std::size_t k) { return Num(static_cast<std::uint64_t>(v[k])); };
    const auto Add = [&](std::string name, std::string expression) {
      m_e.steps.push_back({std::move(name), std::move(expression), op.result});
    };
    const std::string xi = Index("x", op.point), xj = Index("x", op.point + 1);
    const std::string yi = Index("y", op.point), yj = Index("y", op.point + 1);
    using enum ConversionStepKind;
    switch (op.kind) {
      case kPointPlusOffset: return Add("value", "float(" + yi + " + offset) = float(" + F(0) + " + " + F(1) + ")");
      case kRise: return Add("d", "float(" + yj + " - " + yi + ") = float(" + F(0) + " - " + F(1) + ")");
      case kAlong:
        return Add("v", "float(d / (" + xj + " - " + xi + ") * (r - " + xi + ") + " + yi + ") = float(" + D(0) + " / " +
                            D(1) + " * " + U(2) + " + " + F(3) + ")");
      case kAlongPlusOffset: return Add("value", "float(v + offset) = float(" + D(0) + " + " + F(1) + ")");
      case kQuadratic:
        return Add("p", "float(a * r^2 + b * r + c) = float(" + F(0) + " * " + U(1) + " + " + F(2) + " * " + U(3) +
                            " + " + F(4) + ")");
      case kLinear: return Add("p", "float(b * r + c) = float(" + F(0) + " * " + U(1) + " + " + F(2) + ")");
      case kFormulaPlusOffset: return Add("value", "float(p + offset) = float(" + D(0) + " + " + F(1) + ")");
      case kRawQuotient: return Add("value", "float(r / " + D(1) + ") = float(" + D(0) + " / " + D(1) + ")");
      case kSignedQuotient: return Add("value", "float(rs / " + D(1) + ") = float(" + D(0) + " / " + D(1) + ")");
      case kGainOffset:
        return Add("value", "float(gain * r + offset) = float(" + F(0) + " * " + U(1) + " + " + F(2) + ")");
      case kRaw: return Add("value", "r");
      case kFloatBits: return Add("value", "the 32 bits " + Hex32(m_e.reading) + " as a float");
      case kSigned16: return Add("value", "rs, the low 16 bits signed");
      case kSigned32: return Add("value", "the 32 bits signed");
      case kUnsigned32: return Add("value", "the 32 bits unsigned");
    }
  }

 private:
  static ExplainedRule ExplainedRuleOf(ChannelRule rule) {
    switch (rule) {
      case ChannelRule::kCalibrated: return ExplainedRule::kUnknownType;  // the record's type decides
      case ChannelRule::kScaleFlag: return ExplainedRule::kScaleFlag;
      case ChannelRule::kLow16: return ExplainedRule::kRaw16;
      case ChannelRule::kTenth: return ExplainedRule::kTenth;
      case ChannelRule::kHundredth: return ExplainedRule::kHundredth;
      case ChannelRule::kSignedHundredth: return ExplainedRule::kSignedHundredth;
      case ChannelRule::kGainOffset: return ExplainedRule::kGainOffset;
      case ChannelRule::kFloatBits: return ExplainedRule::kFloatBits;
      case ChannelRule::kSigned16: return ExplainedRule::kSigned16;
      case ChannelRule::kSigned32: return ExplainedRule::kSigned32;
      case ChannelRule::kUnsigned32: return ExplainedRule::kUnsigned32;
    }
    return ExplainedRule::kUnsigned32;
  }

  ConversionExplanation m_e;
};

std::string_view TypeName(std::uint16_t type) {
  switch (type) {
    case CAL_INTERPOLATE: return "interpolated table";
    case CAL_LINEAR: return "linear";
    case CAL_QUADRATIC: return "quadratic";
    case CAL_STEP: return "step table";
    case CAL_LINEAR_ALT: return "linear";
    default: return "unknown type, the value is 0";
  }
}

std::string RuleText(const ConversionExplanation& e) {
  switch (e.rule) {
    case ExplainedRule::kTableInterpolation:
    case ExplainedRule::kTableStep:
    case ExplainedRule::kLinear:
    case ExplainedRule::kQuadratic:
    case ExplainedRule::kUnknownType:
      return "Calibration type " + std::to_string(e.record.type) + " (" + std::string(TypeName(e.record.type)) +
             "), zero offset " + Num(e.record.offset);
    case ExplainedRule::kScaleFlag:
      return "Scale flag " + Hex8(e.scaleFlag) +
             (ScaleFlagMeansTenths(e.scaleFlag) ? ": a bit of 0x0A is set, tenths" : ": no bit of 0x0A, r as it is");
    case ExplainedRule::kRaw16: return "Rule: the low 16 bits as they are";
    case ExplainedRule::kTenth: return "Rule: tenths of r";
    case ExplainedRule::kHundredth: return "Rule: hundredths of r";
    case ExplainedRule::kSignedHundredth: return "Rule: hundredths of the low 16 bits taken as signed";
    case ExplainedRule::kGainOffset: return "Gain " + Num(e.gainOffset.gain) + ", offset " + Num(e.gainOffset.offset);
    case ExplainedRule::kFloatBits: return "Rule: the reading's bits are a float";
    case ExplainedRule::kSigned16: return "Rule: the low 16 bits taken as signed";
    case ExplainedRule::kSigned32: return "Rule: the 32 bits taken as signed";
    case ExplainedRule::kUnsigned32: return "Rule: the 32 bits taken as unsigned";
  }
  return {};
}

bool IsTable(ExplainedRule rule) {
  return rule == ExplainedRule::kTableInterpolation || rule == ExplainedRule::kTableStep;
}

std::string PointsLine(std::string_view name, const ConversionExplanation& e, bool xs) {
  std::string line = std::string(name) + ":";
  for (std::size_t i = 0; i <= e.lastPoint; ++i) line += " " + (xs ? Num(e.record.x[i]) : Num(e.record.y[i]));
  return line;
}

std::string PositionLine(const ConversionExplanation& e) {
  const std::string r = "r = " + Num(e.raw);
  const std::size_t i = e.segment;
  const std::string xi = Index("x", i) + " = " + Num(e.record.x[i]);
  switch (e.position) {
    case TablePosition::kFirstPoint:
      if (e.rule == ExplainedRule::kTableStep)
        return r + " < " + Index("x", 1) + " = " + Num(e.record.x[1]) + ": first step, y[0] = " + Num(e.record.y[0]);
      return r + " <= " + xi + ": first point, y[0] = " + Num(e.record.y[0]);
    case TablePosition::kLastPoint:
      return r + " >= " + xi + ": last point, " + Index("y", i) + " = " + Num(e.record.y[i]);
    case TablePosition::kSegment: {
      const std::string xj = Index("x", i + 1) + " = " + Num(e.record.x[i + 1]);
      if (e.rule == ExplainedRule::kTableStep)
        return xi + " <= " + r + " < " + xj + ": step " + std::to_string(i) + ", " + Index("y", i) + " = " +
               Num(e.record.y[i]);
      return xi + " < " + r + " <= " + xj + ": segment " + std::to_string(i) + ", y from " + Num(e.record.y[i]) +
             " to " + Num(e.record.y[i + 1]);
    }
    case TablePosition::kNoSegment: return r + " lies in no segment of the table: the value is 0";
    case TablePosition::kNotATable: break;
  }
  return {};
}

}  // namespace

ConversionExplanation ExplainConversion(const CalibrationImage& image, std::uint32_t reading, int channel,
                                        int decimals) {
  return Explainer().Run(image, reading, channel, decimals);
}

std::vector<std::string> ExplanationLines(const ConversionExplanation& e) {
  std::vector<std::string> lines;
  lines.push_back("Channel " + std::to_string(e.channel) + ", reading " + Hex32(e.reading) + ", r = " + Num(e.raw) +
                  " (low 16 bits)");
  if (!e.calibrationFile.empty() && e.ReadsCalibration()) lines.push_back("Calibration file: " + e.calibrationFile);
  if (e.ruleChannel != e.channel)
    lines.push_back("Source word: converted by the rule of channel " + std::to_string(e.ruleChannel));
  lines.push_back(RuleText(e));
  if (IsTable(e.rule)) {
    lines.push_back("Points 0 to " + std::to_string(e.lastPoint));
    lines.push_back(PointsLine("x", e, true));
    lines.push_back(PointsLine("y", e, false));
    lines.push_back(PositionLine(e));
  } else if (e.rule == ExplainedRule::kLinear || e.rule == ExplainedRule::kQuadratic) {
    lines.push_back("a = " + Num(e.record.a) + ", b = " + Num(e.record.b) + ", c = " + Num(e.record.c));
  }
  for (const ConversionStep& step : e.steps)
    lines.push_back(step.name + " = " + step.expression + " = " + Num(step.result));
  lines.push_back("Value " + Num(e.value) + " rounded to the channel's decimals (" + std::to_string(e.decimals) +
                  "): " + e.shown);
  return lines;
}

bool ConversionExplanation::ReadsCalibration() const {
  if (ruleChannel != channel) return true;
  switch (rule) {
    case ExplainedRule::kTableInterpolation:
    case ExplainedRule::kTableStep:
    case ExplainedRule::kLinear:
    case ExplainedRule::kQuadratic:
    case ExplainedRule::kUnknownType:
    case ExplainedRule::kScaleFlag:
    case ExplainedRule::kGainOffset: return true;
    default: return false;
  }
}

std::string_view RuleName(ExplainedRule rule) {
  switch (rule) {
    case ExplainedRule::kTableInterpolation: return "interpolate";
    case ExplainedRule::kTableStep: return "step";
    case ExplainedRule::kLinear: return "linear";
    case ExplainedRule::kQuadratic: return "quadratic";
    case ExplainedRule::kUnknownType: return "unknown-type";
    case ExplainedRule::kScaleFlag: return "scale-flag";
    case ExplainedRule::kRaw16: return "raw16";
    case ExplainedRule::kTenth: return "tenth";
    case ExplainedRule::kHundredth: return "hundredth";
    case ExplainedRule::kSignedHundredth: return "signed-hundredth";
    case ExplainedRule::kGainOffset: return "gain-offset";
    case ExplainedRule::kFloatBits: return "float-bits";
    case ExplainedRule::kSigned16: return "signed16";
    case ExplainedRule::kSigned32: return "signed32";
    case ExplainedRule::kUnsigned32: return "unsigned32";
  }
  return {};
}

std::string ExactNumber(double value) {
  std::array<char, 64> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), result.ptr);
}

std::string ExactNumber(float value) {
  std::array<char, 64> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), result.ptr);
}

}  // namespace lcu
