// Conversions per second of ConvertReading over a monitor window's worth of channels: every
// available channel of hardware level 4 (332 channels, every range and calibration type of
// the sample setup), one reading each, as a 200 ms value update converts them.
//
// Run:
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release
//   cmake --build build/bench --target lcu_bench_convert
//   build/bench/bench/lcu_bench_convert
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "core/channels/available_channels.h"
#include "core/channels/channel_conversion.h"
#include "sim/sample_setup.h"

namespace {

void ConvertWindowOfChannels(benchmark::State& state) {
  const lcu::CalibrationImage image = lcu::sim::MakeSampleCalibration();
  std::array<std::int32_t, lcu::kChannelTableSize> available{};
  const std::size_t count = lcu::FillAvailableChannels(available, 4);
  std::mt19937 rng(7);
  std::vector<std::uint32_t> readings(count);
  for (auto& r : readings) r = static_cast<std::uint32_t>(rng());
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum += lcu::ConvertReading(image, readings[i], available[i]);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(count));
}
BENCHMARK(ConvertWindowOfChannels);

}  // namespace

BENCHMARK_MAIN();
