#include "sim/signal_model.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace lcu::sim {

namespace {

std::uint32_t ClampCount(double raw, double maximum) {
  if (!(raw > 0.0)) return 0;
  return static_cast<std::uint32_t>(std::lround(std::min(raw, maximum)));
}

double InterpolateInverse(const ChannelCalibration& r, double value) {
  const std::size_t n = std::min<std::size_t>(r.lastPoint, kCalibrationPoints - 1);
  for (std::size_t i = 0; i < n; ++i) {
    const double y0 = r.y[i];
    const double y1 = r.y[i + 1];
    if (y0 == y1 || value < std::min(y0, y1) || value > std::max(y0, y1)) continue;
    return r.x[i] + (value - y0) * (r.x[i + 1] - r.x[i]) / (y1 - y0);
  }
  return std::abs(value - r.y[0]) <= std::abs(value - r.y[n]) ? r.x[0] : r.x[n];
}

double StepInverse(const ChannelCalibration& r, double value) {
  const std::size_t n = std::min<std::size_t>(r.lastPoint, kCalibrationPoints - 1);
  std::size_t best = 0;
  for (std::size_t i = 1; i <= n; ++i) {
    if (std::abs(value - r.y[i]) < std::abs(value - r.y[best])) best = i;
  }
  // The middle of the step's interval; the last step reaches to the end of the range.
  if (best < n) return (static_cast<double>(r.x[best]) + r.x[best + 1]) / 2.0;
  return (static_cast<double>(r.x[n]) + kAdcMaximum) / 2.0;
}

double QuadraticInverse(const ChannelCalibration& r, double value) {
  if (r.a == 0.0f) return r.b == 0.0f ? 0.0 : (value - r.c) / r.b;
  const double discriminant = static_cast<double>(r.b) * r.b - 4.0 * r.a * (r.c - value);
  if (discriminant < 0.0) return 0.0;
  return (-static_cast<double>(r.b) + std::sqrt(discriminant)) / (2.0 * r.a);
}

// How channels 64 to 111 carry their value in the low 16 bits.
struct CountScale {
  double divisor = 1.0;
  bool isSigned = false;
};

CountScale ScaleOf(std::uint16_t ch) {
  if (const auto k = ScaleFlagIndex(ch)) return {(SampleScaleFlag(*k) & 0x0A) != 0 ? 10.0 : 1.0, false};
  if (ch <= 72 || ch == 79 || ch == 94 || ch == 95) return {1.0, false};
  if (ch <= 78 || ch == 82 || (ch >= 85 && ch <= 93)) return {10.0, false};
  if (ch == 98 || ch == 100) return {100.0, true};
  return {100.0, false};
}

std::uint32_t SignedBits(double value) {
  const double clamped = std::clamp(std::round(value), -2147483648.0, 2147483647.0);
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(clamped));
}

std::uint32_t Signed16Bits(double value) {
  const double clamped = std::clamp(std::round(value), -32768.0, 32767.0);
  return static_cast<std::uint16_t>(static_cast<std::int16_t>(clamped));
}

std::uint32_t UnsignedBits(double value) {
  return static_cast<std::uint32_t>(std::clamp(std::round(value), 0.0, 4294967295.0));
}

// The calibrated channels' records, built once: the logger reads them for every sample.
const ChannelCalibration& SampleRecord(std::uint16_t channel) {
  static const auto records = [] {
    std::array<ChannelCalibration, kCalibratedChannels> all{};
    for (int i = 0; i < kCalibratedChannels; ++i) all[static_cast<std::size_t>(i)] = SampleCalibrationRecord(i);
    return all;
  }();
  return records[channel];
}

}  // namespace

std::uint32_t RawForValue(const ChannelCalibration& r, double value) {
  const double target = value - r.offset;
  double raw = 0.0;
  switch (r.type) {
    case CAL_INTERPOLATE: raw = InterpolateInverse(r, target); break;
    case CAL_STEP: raw = StepInverse(r, target); break;
    case CAL_LINEAR:
    case CAL_LINEAR_ALT: raw = r.b == 0.0f ? 0.0 : (target - r.c) / r.b; break;
    case CAL_QUADRATIC: raw = QuadraticInverse(r, target); break;
    default: break;
  }
  return ClampCount(raw, kAdcMaximum);
}

std::uint32_t SignalSnapshot::Reading(std::uint16_t ch) const {
  if (ch >= 112 && ch <= 127) {
    const std::uint16_t source = SampleSourceWord(ch);
    return source >= 112 && source <= 127 ? 0 : Reading(source);
  }
  const double value = SampleValue(ch, m_state);
  if (ch < 64) return RawForValue(SampleRecord(ch), value);
  if (ch < 112) {
    const CountScale scale = ScaleOf(ch);
    return scale.isSigned ? Signed16Bits(value * scale.divisor) : ClampCount(value * scale.divisor, 65535.0);
  }
  if (ch >= 192 && ch < 224) return std::bit_cast<std::uint32_t>(static_cast<float>(value));
  if (ch < 256) {
    const GainOffset pair = SampleGainOffset(ch);
    return ClampCount((value - pair.offset) / pair.gain, 65535.0);
  }
  if (ch == 257 || ch == 258) return Signed16Bits(value);
  if (ch == 256 || (ch >= 264 && ch <= 278)) return SignedBits(value);
  return UnsignedBits(value);
}

}  // namespace lcu::sim
