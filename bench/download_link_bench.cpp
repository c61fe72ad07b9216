// Download time against the modelled link limit. For each link model (full speed: 64-byte
// packets, 19 per 1 ms frame; high speed: 512-byte packets, 13 per 125 us microframe) and
// each size, a simulated LCU holding that many MiB in one buffer is downloaded by the core's
// download (the Download command of both programs, through CUsbDevice, into a synced data
// file, followed by the LCU's reset). The time taken is divided by what the link cannot
// avoid: the model's bus time for the same transfers plus the download's 20 ms pause after
// each buffer. Goal: 1.05 or less.
//
// Run:
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLCU_BUILD_TESTS=OFF
//   cmake --build build/bench --target lcu_bench_download_link
//   build/bench/bench/lcu_bench_download_link [--full|--high] [--runs N] [MIB...]   (default 1 64 256, 1 run)
// With several runs a case's figure is the median of its runs' ratios: on a busy machine a
// thread woken from a wait may have to wait for a processor, which no program can help.
// Full speed moves about 1.2 MB/s, so its 256 MiB case takes about four minutes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "download_bench_lcu.h"

namespace {

using namespace lcu;
using namespace lcu::bench;

constexpr double kGoal = 1.05;
constexpr auto kPauseAfterBuffer = std::chrono::milliseconds(20);

const char* NameOf(sim::LinkSpeed speed) { return speed == sim::LinkSpeed::kFullSpeed ? "full speed" : "high speed"; }

// One download; the ratio, or a negative value when the download failed.
double RunCase(sim::LinkSpeed speed, std::uint64_t mib) {
  const std::uint64_t bytes = mib * kMiB;
  BenchFolder root;
  DownloadProgram program(root.Path());
  if (!program.setupError.empty()) {
    std::fprintf(stderr, "sample setup: %s\n", program.setupError.c_str());
    return -1;
  }
  sim::SimulatorOptions options;
  options.manualTime = true;
  options.memoryUnits = MemoryUnitsFor(bytes);
  sim::LcuSimulator lcu(options);
  if (const std::string error = lcu.Ok() ? LogOneBuffer(lcu, bytes) : lcu.Error(); !error.empty()) {
    std::fprintf(stderr, "simulator: %s\n", error.c_str());
    return -1;
  }
  lcu.SetLinkSpeed(speed);
  BusTimeBackend backend(lcu, speed);
  CUsbDevice device(backend);
  device.PollStatus();
  if (!device.IsOnline()) {
    std::fprintf(stderr, "the simulated LCU is not on line\n");
    return -1;
  }
  backend.Reset();

  const auto t0 = std::chrono::steady_clock::now();
  const DownloadResult result = program.Download(device);
  const auto elapsed = std::chrono::steady_clock::now() - t0;

  std::error_code ec;
  const auto fileSize = std::filesystem::file_size(result.path, ec);
  if (result.result != CommandResult::kDone || ec || fileSize != kLoggerHeaderSize + bytes) {
    std::fprintf(stderr, "%s %llu MiB: the download failed\n", NameOf(speed), static_cast<unsigned long long>(mib));
    return -1;
  }
  const auto floor = backend.BusTime() + std::chrono::duration_cast<std::chrono::nanoseconds>(kPauseAfterBuffer);
  const double ratio = Seconds(elapsed) / Seconds(floor);
  std::printf(
      "%-10s %4llu MiB: download %8.3f s (in transfers %.3f s, between them %.3f s, before and after %.3f s); "
      "bus time %8.3f s + pause %.3f s (%llu bytes in bulk); ratio %.3f\n",
      NameOf(speed), static_cast<unsigned long long>(mib), Seconds(elapsed), Seconds(backend.InTransfers()),
      Seconds(backend.BetweenTransfers()), Seconds(elapsed - backend.InTransfers() - backend.BetweenTransfers()),
      Seconds(backend.BusTime()), Seconds(kPauseAfterBuffer), static_cast<unsigned long long>(backend.BulkBytes()),
      ratio);
  std::fflush(stdout);
  return ratio;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<sim::LinkSpeed> speeds = {sim::LinkSpeed::kFullSpeed, sim::LinkSpeed::kHighSpeed};
  std::vector<std::string> args;
  int runs = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--full") {
      speeds = {sim::LinkSpeed::kFullSpeed};
    } else if (a == "--high") {
      speeds = {sim::LinkSpeed::kHighSpeed};
    } else if (a == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      args.push_back(a);
    }
  }
  const std::vector<std::uint64_t> sizes = SizesFrom(args, {1, 64, 256});
  for (const std::uint64_t s : sizes) {
    if (s == 0) {
      std::fprintf(stderr, "usage: %s [--full|--high] [--runs N] [MIB...]  (sizes 1 to 1023)\n", argv[0]);
      return 2;
    }
  }

  std::printf("Download time / (model bus time + 20 ms pause per buffer), one buffer; goal <= %.2f\n", kGoal);
  std::printf("Load average before: %s\n", LoadAverage().c_str());
  double worst = 0;
  for (const sim::LinkSpeed speed : speeds) {
    for (const std::uint64_t mib : sizes) {
      std::vector<double> ratios;
      for (int run = 0; run < runs; ++run) {
        ratios.push_back(RunCase(speed, mib));
        if (ratios.back() < 0) return 1;
      }
      std::sort(ratios.begin(), ratios.end());
      const double ratio = ratios[ratios.size() / 2];
      if (runs > 1) {
        std::printf("%-10s %4llu MiB: median ratio of %d runs %.3f (best %.3f)\n", NameOf(speed),
                    static_cast<unsigned long long>(mib), runs, ratio, ratios.front());
      }
      worst = std::max(worst, ratio);
    }
  }
  std::printf("worst ratio (goal <= %.2f, %s): %.3f\n", kGoal, worst <= kGoal ? "met" : "missed", worst);
  return 0;
}
