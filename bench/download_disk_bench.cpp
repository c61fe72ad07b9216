// Download throughput on the unlimited link against a plain sequential write of the same
// number of bytes to the same folder, measured in the same run. The download syncs its data
// file and the folder before it resets the LCU, so the plain write is made equally durable:
// 16384-byte writes (the download's chunk), then fsync of the file and of the folder. Each
// is run several times, alternating, and the median is taken. Goal: the download reaches at
// least half the plain write's throughput.
//
// Run:
//   cmake --build build/bench --target lcu_bench_download_disk
//   build/bench/bench/lcu_bench_download_disk [--folder DIR] [--runs N] [MIB]   (default 256 MiB
//   into a folder below the system's temporary folder, 3 runs)
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "download_bench_lcu.h"

namespace {

using namespace lcu;
using namespace lcu::bench;

constexpr double kGoal = 0.5;
constexpr std::size_t kChunk = 16384;

// Writes `bytes` to a new file in chunks of kChunk, then syncs the file and its folder, as
// the download's data file is synced. The seconds taken, or a negative value on failure.
double PlainWrite(const std::filesystem::path& path, std::uint64_t bytes) {
  std::vector<std::uint8_t> chunk(kChunk);
  for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<std::uint8_t>(i * 7);
  const auto t0 = std::chrono::steady_clock::now();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  bool ok = true;
  for (std::uint64_t done = 0; ok && done < bytes; done += kChunk) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, bytes - done));
    ok = ::write(fd, chunk.data(), n) == static_cast<ssize_t>(n);
  }
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  const int dir = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ok = dir >= 0 && ::fsync(dir) == 0 && ok;
  if (dir >= 0) ::close(dir);
  const auto elapsed = std::chrono::steady_clock::now() - t0;
  return ok ? Seconds(elapsed) : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path parent = std::filesystem::temp_directory_path();
  int runs = 3;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--folder" && i + 1 < argc) {
      parent = argv[++i];
    } else if (a == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      args.push_back(a);
    }
  }
  const std::vector<std::uint64_t> sizes = SizesFrom(args, {256});
  if (sizes.size() != 1 || sizes[0] == 0) {
    std::fprintf(stderr, "usage: %s [--folder DIR] [--runs N] [MIB]  (1 to 1023)\n", argv[0]);
    return 2;
  }
  const std::uint64_t bytes = sizes[0] * kMiB;

  BenchFolder root(parent);
  DownloadProgram program(root.Path());
  if (!program.setupError.empty()) {
    std::fprintf(stderr, "sample setup: %s\n", program.setupError.c_str());
    return 1;
  }
  sim::SimulatorOptions options;
  options.manualTime = true;
  options.memoryUnits = MemoryUnitsFor(bytes);
  sim::LcuSimulator lcu(options);
  if (!lcu.Ok()) {
    std::fprintf(stderr, "simulator: %s\n", lcu.Error().c_str());
    return 1;
  }
  CUsbDevice device(lcu);

  const std::uint64_t fileBytes = kLoggerHeaderSize + bytes;
  const std::filesystem::path dataFolder = root.Path() / "Sample";
  std::printf("Data folder %s; %llu MiB in one buffer, data file of %llu bytes; %d runs each, median\n",
              dataFolder.string().c_str(), static_cast<unsigned long long>(sizes[0]),
              static_cast<unsigned long long>(fileBytes), runs);
  std::printf(
      "Plain write: %zu-byte write() calls, then fsync of the file and the folder (as durable as the "
      "download's data file)\n",
      kChunk);

  std::printf("Load average before: %s\n", LoadAverage().c_str());
  std::vector<double> downloads;
  std::vector<double> plains;
  for (int run = 0; run < runs; ++run) {
    if (const std::string error = LogOneBuffer(lcu, bytes); !error.empty()) {
      std::fprintf(stderr, "simulator: %s\n", error.c_str());
      return 1;
    }
    device.PollStatus();
    const auto t0 = std::chrono::steady_clock::now();
    const DownloadResult result = program.Download(device);
    const double download = Seconds(std::chrono::steady_clock::now() - t0);
    std::error_code ec;
    if (result.result != CommandResult::kDone || std::filesystem::file_size(result.path, ec) != fileBytes || ec) {
      std::fprintf(stderr, "the download failed\n");
      return 1;
    }
    std::filesystem::remove(result.path, ec);

    const std::filesystem::path plainPath = dataFolder / "plain.bin";
    const double plain = PlainWrite(plainPath, fileBytes);
    std::filesystem::remove(plainPath, ec);
    if (plain < 0) {
      std::fprintf(stderr, "the plain write failed: %s\n", std::strerror(errno));
      return 1;
    }
    std::printf("run %d: download %.3f s (%.1f MB/s), plain write %.3f s (%.1f MB/s)\n", run + 1, download,
                static_cast<double>(fileBytes) / download / 1e6, plain, static_cast<double>(fileBytes) / plain / 1e6);
    downloads.push_back(download);
    plains.push_back(plain);
  }
  const double download = Median(downloads);
  const double plain = Median(plains);
  const double ratio = plain / download;
  std::printf("median: download %.1f MB/s, plain write %.1f MB/s; download/plain throughput (goal >= %.2f, %s): %.3f\n",
              static_cast<double>(fileBytes) / download / 1e6, static_cast<double>(fileBytes) / plain / 1e6, kGoal,
              ratio >= kGoal ? "met" : "missed", ratio);
  return 0;
}
