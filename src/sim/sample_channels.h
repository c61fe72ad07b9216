// The sample channels: what each channel number of the simulated LCU measures, its name,
// units and decimals, and the calibration that turns its raw reading into that quantity.
// The sample setup writes these into channel.dsc and the calibration image; the signal
// model produces readings that this calibration turns into the quantities, so the two
// always fit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/channels/channel_calibration.h"

namespace lcu::sim {

/// Channels 0 to kSampleChannelCount - 1 are described by the sample channel definitions.
inline constexpr std::uint16_t kSampleChannelCount = 352;

/// Physical state of the simulated car and engine at one moment, from which every channel's
/// engineering value is taken.
struct EngineState {
  double seconds = 0;
  double throttle = 0;  // %
  double speed = 0;     // km/h
  int gear = 1;
  double rpm = 0;
  double waterTemp = 0;     // C
  double oilTemp = 0;       // C
  double oilPressure = 0;   // bar
  double fuelPressure = 0;  // bar
  double battery = 0;       // V
  double manifold = 0;      // kPa
  double brakeFront = 0;    // bar
  double brakeRear = 0;     // bar
  double steering = 0;      // deg
  double lambda = 0;
  double latAccel = 0;    // g
  double longAccel = 0;   // g
  double fuelLevel = 0;   // l
  double lapSeconds = 0;  // time into the current lap
  int lap = 0;            // laps completed
};

EngineState EngineStateAt(double seconds);

/// Name, units and decimals of a sample channel (0 to kSampleChannelCount - 1).
struct SampleChannel {
  std::string name;
  std::string units;
  std::int16_t decimals = 0;
};
SampleChannel SampleChannelInfo(std::uint16_t channel);

/// The engineering value the sample setup shows for a channel at this state. Channels 112 to
/// 127 give the value of their source channel.
double SampleValue(std::uint16_t channel, const EngineState& state);

/// Calibration record of channels 0 to 63.
ChannelCalibration SampleCalibrationRecord(int channel);
/// Gain and offset of channels 128 to 191 and 224 to 255.
GainOffset SampleGainOffset(int channel);
/// Source channel of channels 112 to 127.
std::uint16_t SampleSourceWord(int channel);
/// Scale flag byte k (0 to 7) of channels 64 to 69, 83 and 84.
std::uint8_t SampleScaleFlag(std::size_t k);

}  // namespace lcu::sim
