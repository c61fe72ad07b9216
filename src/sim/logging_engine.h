// LoggingEngine: what the simulated LCU does on its own as time passes. The clock runs; while
// the start word says so, samples of the signal model go into the logging buffers at their
// rates, the end positions move on, the wrap flag and data present are set, laps are counted
// and the memory figure follows. Time is the host's real time, or moves only when told to.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/link/lcu_protocol.h"
#include "sim/memory_map.h"

namespace lcu::sim {

class LoggingEngine {
 public:
  /// manualTime: time moves only through Step.
  LoggingEngine(MemoryMap& memory, bool manualTime) : m_memory(memory), m_bManualTime(manualTime) {}

  /// Moves simulated time on by the real time passed since the last call (nothing with
  /// manual time or a memory map that is not usable).
  void AdvanceRealTime();
  /// Moves simulated time on: the clock, laps and logging.
  void Step(std::int64_t ms);
  /// Logs into buffer i, as LcuSimulator::FillBuffer describes; returns the bytes written.
  std::uint64_t FillBuffer(std::size_t i, std::uint64_t bytes);
  /// The memory figure: the data memory still free for logging, in KiB.
  void UpdateMemoryFigure();
  /// What LCU_READ_CHANNELS returns now: one reading per channel of the channel list.
  std::array<std::uint8_t, kBlockSize> ChannelReadings() const;

 private:
  // A buffer region the logger may write: its rate, sample size and linear extent.
  struct Region {
    std::uint32_t rate = 0;
    std::size_t sampleBytes = 0;
    std::uint64_t start = 0;
    std::uint64_t end = 0;    // start of the next region
    std::uint64_t write = 0;  // where the next byte goes
  };

  std::int64_t SimMs() const;
  double SimSeconds() const;
  std::optional<Region> RegionOf(std::size_t i) const;
  std::size_t BufferCount() const;
  void LogSamples(std::int64_t t0, std::int64_t t1);
  void SetHeaderU16(std::size_t offset, std::uint16_t value);
  void SetHeaderU32(std::size_t offset, std::uint32_t value);
  void SetTimeU32(std::size_t offset, std::uint32_t value);

  MemoryMap& m_memory;
  bool m_bManualTime;
  std::chrono::steady_clock::time_point m_lastReal = std::chrono::steady_clock::now();
};

}  // namespace lcu::sim
