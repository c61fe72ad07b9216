// Throughput of the Intel-HEX reader on a full firmware file: 24 KiB of firmware data for
// LCU 0x2000 to 0x7FFF in records of 16 or 32 bytes, CR LF line ends, as the LCU's build
// tools write it. Prints the input throughput per record length as "MB=.../s" (1 MB = 10^6
// bytes of file) beside the library's bytes_per_second (binary units).
//
// Run:
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release
//   cmake --build build/bench --target lcu_bench_hex
//   build/bench/bench/lcu_bench_hex
#include <benchmark/benchmark.h>

#include <cstdint>
#include <iomanip>
#include <random>
#include <string>
#include <vector>

#include "core/firmware/hex_image.h"
#include "core/firmware/hex_writer.h"

namespace {

std::vector<std::uint8_t> FirmwareHexFile(std::size_t recordLength) {
  std::mt19937 rng(1);
  std::vector<std::uint8_t> firmware(lcu::kFirmwareImageSize);
  for (auto& b : firmware) b = static_cast<std::uint8_t>(rng());
  const std::string text =
      lcu::HexRecords(lcu::kFirmwareBase, firmware, {recordLength}, "\r\n") + lcu::HexEndRecord() + "\r\n";
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

void ReadFirmwareHexFile(benchmark::State& state) {
  const std::vector<std::uint8_t> file = FirmwareHexFile(static_cast<std::size_t>(state.range(0)));
  std::vector<std::uint8_t> image(lcu::kFirmwareImageSize);
  const lcu::FirmwareImageSpan span(image.data(), lcu::kFirmwareImageSize);
  for (auto _ : state) {
    const lcu::HexReadResult result = lcu::ReadHexImage(file, span);
    if (!result.Ok()) state.SkipWithError("the generated file was refused");
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
  const auto bytes = static_cast<double>(file.size()) * static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(file.size()) * state.iterations());
  state.counters["file_bytes"] = static_cast<double>(file.size());
  state.counters["MB"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsRate);
}

BENCHMARK(ReadFirmwareHexFile)->ArgName("record_bytes")->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

// The usual console table, then one plain line per run with the input throughput in MB/s.
class ThroughputReporter : public benchmark::ConsoleReporter {
 public:
  ThroughputReporter() : ConsoleReporter(OO_None) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto mb = run.counters.find("MB");
      if (run.error_occurred || mb == run.counters.end()) continue;
      GetOutputStream() << run.benchmark_name() << ": " << std::fixed << std::setprecision(0) << mb->second.value
                        << " MB/s of hex input\n";
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ThroughputReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
