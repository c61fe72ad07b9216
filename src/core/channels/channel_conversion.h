// Channel value conversion: how the 32-bit reading the LCU reports for a channel becomes
// the engineering value a monitor window shows, and the zero offsets of the calibrated
// channels that zeroing shifts.
//
// The channel number picks the rule: channels 0 to 63 through their calibration record,
// others by fixed scalings, by gain and offset pairs of the calibration image, or as the
// reading taken as an integer or a float. Channels 112 to 127 first take the rule of the
// channel their source word names. Scaled and calibrated values are rounded to single
// precision at the same steps as the LCU's own arithmetic; integer readings come back exact.
#pragma once

#include <cstdint>
#include <span>

#include "core/app/app_state.h"

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

/// The rule of a channel number, before any source word is followed.
ChannelRule ChannelRuleOf(int channel);

/// The channel whose rule a channel takes: for 112 to 127 the channel their source word
/// names (followed once), for every other channel the channel itself.
int RuleChannelOf(const CalibrationImage& image, int channel);

/// Rounds to the nearest single-precision value, the f(...) of the conversion; magnitudes
/// beyond the float range become infinities of their sign, as IEEE rounding gives them.
float RoundToSingle(double value);

/// The engineering value of a reading (its 32 bits as received) on a channel (0 to 65535).
/// Reads the image in place, allocates nothing and keeps nothing, so a changed calibration
/// takes effect at the next call. A calibration record whose lastPoint exceeds 12 is taken
/// as ending at point 12: the table never reads beyond its 13 points.
double ConvertReading(const CalibrationImage& image, std::uint32_t reading, int channel);

/// The same for a reading as the four little-endian bytes of the LCU's reply.
double ConvertReading(const CalibrationImage& image, std::span<const std::uint8_t, 4> reading, int channel);

/// Adds delta to the zero offset of a calibrated channel (0 to 63), the sum rounded to
/// single precision, and returns 1. Any other channel number returns 0 and changes nothing.
/// Neither saves nor sends the image.
int AdjustZeroOffset(CalibrationImage& image, int channel, float delta);

}  // namespace lcu
