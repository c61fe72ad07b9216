// The signal model of the simulated LCU: the 32-bit reading of every channel as a function
// of the channel number and the simulated time, deterministic so that tests and
// demonstrations see the same values every run. The readings are the sample channels'
// engineering values encoded the way the sample calibration decodes them: ADC counts for
// channels 0 to 63, scaled counts for 64 to 111, gain/offset counts for 128 to 191 and
// 224 to 255, float bits for 192 to 223 and integers from 256 on.
#pragma once

#include <cstdint>

#include "sim/sample_channels.h"

namespace lcu::sim {

/// Full range of the LCU's 12-bit analogue converter.
inline constexpr std::uint32_t kAdcMaximum = 4095;

/// Readings at one moment; the engine state is worked out once for all channels.
class SignalSnapshot {
 public:
  explicit SignalSnapshot(double seconds) : m_state(EngineStateAt(seconds)) {}
  std::uint32_t Reading(std::uint16_t channel) const;
  const EngineState& State() const { return m_state; }

 private:
  EngineState m_state;
};

inline std::uint32_t SignalReading(std::uint16_t channel, double seconds) {
  return SignalSnapshot(seconds).Reading(channel);
}

/// The raw count that a calibration record turns into the value (the record's inverse),
/// clamped to the converter's range.
std::uint32_t RawForValue(const ChannelCalibration& record, double value);

}  // namespace lcu::sim
