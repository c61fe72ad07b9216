#include "core/channels/conversion_explanation.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdio>

#include "core/channels/channel_conversion.h"
#include "core/monitor/monitor_row.h"

namespace lcu {

namespace {

constexpr std::size_t kLastTablePoint = kCalibrationPoints - 1;
constexpr std::uint8_t kScaleFlagTenths = 0x0A;

double Single(double value) { return static_cast<double>(RoundToSingle(value)); }

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

class Explainer {
 public:
  Explainer(const CalibrationImage& image, std::uint32_t reading, int channel) : m_image(image) {
    m_e.channel = channel;
    m_e.ruleChannel = RuleChannelOf(image, channel);
    m_e.reading = reading;
    m_e.raw = static_cast<std::uint16_t>(reading & 0xFFFF);
  }

  ConversionExplanation Run(int decimals) {
    m_e.value = Value();
    m_e.decimals = decimals;
    m_e.shown = FormatValueCell(m_e.value, decimals);
    return std::move(m_e);
  }

 private:
  double Step(std::string name, std::string expression, double result) {
    m_e.steps.push_back({std::move(name), std::move(expression), result});
    return result;
  }

  // The last step adds the zero offset: f(y + offset).
  double WithOffset(std::string_view yName, float y) {
    const float offset = m_e.record.offset;
    return Step("value", "float(" + std::string(yName) + " + offset) = float(" + Num(y) + " + " + Num(offset) + ")",
                Single(static_cast<double>(y) + static_cast<double>(offset)));
  }

  double Interpolate() {
    const ChannelCalibration& cal = m_e.record;
    const std::size_t n = m_e.lastPoint;
    const std::uint16_t r = m_e.raw;
    if (r <= cal.x[0]) {
      m_e.position = TablePosition::kFirstPoint;
      m_e.segment = 0;
      return WithOffset("y[0]", cal.y[0]);
    }
    if (r >= cal.x[n]) {
      m_e.position = TablePosition::kLastPoint;
      m_e.segment = n;
      return WithOffset(Index("y", n), cal.y[n]);
    }
    for (std::size_t i = 0; i < n; ++i) {
      if (!(cal.x[i] < r && r <= cal.x[i + 1])) continue;
      m_e.position = TablePosition::kSegment;
      m_e.segment = i;
      const std::string y0 = Index("y", i), y1 = Index("y", i + 1), x0 = Index("x", i), x1 = Index("x", i + 1);
      const double rise = Step("d", "float(" + y1 + " - " + y0 + ") = float(" + Num(cal.y[i + 1]) + " - " + Num(cal.y[i]) + ")",
                               Single(static_cast<double>(cal.y[i + 1]) - static_cast<double>(cal.y[i])));
      const double run = cal.x[i + 1] - cal.x[i];
      const double along = Step("v",
                                "float(d / (" + x1 + " - " + x0 + ") * (r - " + x0 + ") + " + y0 + ") = float(" +
                                    Num(rise) + " / " + Num(run) + " * " + Num(std::uint64_t{r} - cal.x[i]) + " + " +
                                    Num(cal.y[i]) + ")",
                                Single(rise / run * (r - cal.x[i]) + static_cast<double>(cal.y[i])));
      return Step("value", "float(v + offset) = float(" + Num(along) + " + " + Num(cal.offset) + ")",
                  Single(along + static_cast<double>(cal.offset)));
    }
    m_e.position = TablePosition::kNoSegment;
    return 0.0;
  }

  double StepTable() {
    const ChannelCalibration& cal = m_e.record;
    const std::size_t n = m_e.lastPoint;
    const std::uint16_t r = m_e.raw;
    if (r >= cal.x[n]) {
      m_e.position = TablePosition::kLastPoint;
      m_e.segment = n;
      return WithOffset(Index("y", n), cal.y[n]);
    }
    for (std::size_t i = 0; i < n; ++i) {
      if (r >= cal.x[i + 1]) continue;
      m_e.position = i == 0 ? TablePosition::kFirstPoint : TablePosition::kSegment;
      m_e.segment = i;
      return WithOffset(Index("y", i), cal.y[i]);
    }
    m_e.position = TablePosition::kNoSegment;
    return 0.0;
  }

  double Polynomial() {
    const ChannelCalibration& cal = m_e.record;
    const std::uint16_t r = m_e.raw;
    double formula = 0.0;
    if (cal.type == CAL_QUADRATIC) {
      const std::uint64_t square = std::uint64_t{r} * r;
      formula = Step("p",
                     "float(a * r^2 + b * r + c) = float(" + Num(cal.a) + " * " + Num(square) + " + " + Num(cal.b) +
                         " * " + Num(r) + " + " + Num(cal.c) + ")",
                     Single(static_cast<double>(cal.a) * static_cast<double>(square) +
                            static_cast<double>(cal.b) * r + static_cast<double>(cal.c)));
    } else {
      formula = Step("p",
                     "float(b * r + c) = float(" + Num(cal.b) + " * " + Num(r) + " + " + Num(cal.c) + ")",
                     Single(static_cast<double>(cal.b) * r + static_cast<double>(cal.c)));
    }
    return Step("value", "float(p + offset) = float(" + Num(formula) + " + " + Num(cal.offset) + ")",
                Single(formula + static_cast<double>(cal.offset)));
  }

  double Calibrated() {
    m_e.record = ReadChannelCalibration(m_image.Bytes(), m_e.ruleChannel);
    m_e.lastPoint = std::min<std::size_t>(m_e.record.lastPoint, kLastTablePoint);
    switch (m_e.record.type) {
      case CAL_INTERPOLATE:
        m_e.rule = ExplainedRule::kTableInterpolation;
        return Interpolate();
      case CAL_STEP:
        m_e.rule = ExplainedRule::kTableStep;
        return StepTable();
      case CAL_LINEAR:
      case CAL_LINEAR_ALT:
        m_e.rule = ExplainedRule::kLinear;
        return Polynomial();
      case CAL_QUADRATIC:
        m_e.rule = ExplainedRule::kQuadratic;
        return Polynomial();
      default:
        m_e.rule = ExplainedRule::kUnknownType;
        return 0.0;
    }
  }

  double Divided(ExplainedRule rule, double numerator, double divisor, std::string_view name) {
    m_e.rule = rule;
    return Step("value", "float(" + std::string(name) + " / " + Num(divisor) + ") = float(" + Num(numerator) + " / " +
                             Num(divisor) + ")",
                Single(numerator / divisor));
  }

  double Value() {
    const std::uint16_t r = m_e.raw;
    const auto rs = static_cast<std::int16_t>(r);
    const std::uint32_t reading = m_e.reading;
    switch (ChannelRuleOf(m_e.ruleChannel)) {
      case ChannelRule::kCalibrated:
        return Calibrated();
      case ChannelRule::kScaleFlag: {
        m_e.rule = ExplainedRule::kScaleFlag;
        m_e.scaleFlag = ReadScaleFlag(m_image.Bytes(), *ScaleFlagIndex(m_e.ruleChannel));
        if ((m_e.scaleFlag & kScaleFlagTenths) != 0) return Divided(ExplainedRule::kScaleFlag, r, 10.0, "r");
        return Step("value", "r", r);
      }
      case ChannelRule::kLow16:
        m_e.rule = ExplainedRule::kRaw16;
        return Step("value", "r", r);
      case ChannelRule::kTenth:
        return Divided(ExplainedRule::kTenth, r, 10.0, "r");
      case ChannelRule::kHundredth:
        return Divided(ExplainedRule::kHundredth, r, 100.0, "r");
      case ChannelRule::kSignedHundredth:
        return Divided(ExplainedRule::kSignedHundredth, rs, 100.0, "rs");
      case ChannelRule::kGainOffset: {
        m_e.rule = ExplainedRule::kGainOffset;
        const GainOffset pair = ReadGainOffset(m_image.Bytes(), m_e.ruleChannel);
        m_e.gainOffset = pair;
        return Step("value",
                    "float(gain * r + offset) = float(" + Num(pair.gain) + " * " + Num(r) + " + " + Num(pair.offset) +
                        ")",
                    Single(static_cast<double>(pair.gain) * r + static_cast<double>(pair.offset)));
      }
      case ChannelRule::kFloatBits:
        m_e.rule = ExplainedRule::kFloatBits;
        return Step("value", "the 32 bits " + Hex32(reading) + " as a float",
                    static_cast<double>(std::bit_cast<float>(reading)));
      case ChannelRule::kSigned16:
        m_e.rule = ExplainedRule::kSigned16;
        return Step("value", "rs, the low 16 bits signed", rs);
      case ChannelRule::kSigned32:
        m_e.rule = ExplainedRule::kSigned32;
        return Step("value", "the 32 bits signed", static_cast<std::int32_t>(reading));
      case ChannelRule::kUnsigned32:
        m_e.rule = ExplainedRule::kUnsigned32;
        return Step("value", "the 32 bits unsigned", reading);
    }
    return reading;
  }

  const CalibrationImage& m_image;
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
             ((e.scaleFlag & kScaleFlagTenths) != 0 ? ": a bit of 0x0A is set, tenths" : ": no bit of 0x0A, r as it is");
    case ExplainedRule::kRaw16: return "Rule: the low 16 bits as they are";
    case ExplainedRule::kTenth: return "Rule: tenths of r";
    case ExplainedRule::kHundredth: return "Rule: hundredths of r";
    case ExplainedRule::kSignedHundredth: return "Rule: hundredths of the low 16 bits taken as signed";
    case ExplainedRule::kGainOffset:
      return "Gain " + Num(e.gainOffset.gain) + ", offset " + Num(e.gainOffset.offset);
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
  for (std::size_t i = 0; i <= e.lastPoint; ++i)
    line += " " + (xs ? Num(e.record.x[i]) : Num(e.record.y[i]));
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
    case TablePosition::kNoSegment:
      return r + " lies in no segment of the table: the value is 0";
    case TablePosition::kNotATable:
      break;
  }
  return {};
}

}  // namespace

ConversionExplanation ExplainConversion(const CalibrationImage& image, std::uint32_t reading, int channel,
                                        int decimals) {
  return Explainer(image, reading, channel).Run(decimals);
}

std::vector<std::string> ExplanationLines(const ConversionExplanation& e) {
  std::vector<std::string> lines;
  lines.push_back("Channel " + std::to_string(e.channel) + ", reading " + Hex32(e.reading) + ", r = " + Num(e.raw) +
                  " (low 16 bits)");
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
