// Peak memory of a download of one large buffer above the idle program. The simulated LCU
// lives in the same process, so its data memory is a state folder whose memory.bin is
// mapped shared: those pages belong to the file cache, and what the mapping holds resident
// is read from /proc/self/smaps and taken off. The download runs in a child process of its
// own (this program started again), so that no case inherits another's peak.
//
// In the child:
//   idle      = VmRSS once the settings and the sample setup are ready, before the LCU opens
//   peak      = VmHWM after the download (the peak is reset to the idle figure first)
//   mapped    = resident size of the memory.bin mapping after the download (it only grows
//               while the download reads, unless the system reclaims pages, which makes the
//               figure below larger, never smaller)
//   download  = peak - idle - mapped
// The peak of anonymous memory (heap and stacks), sampled every millisecond, is shown as a
// cross-check. Goal: download <= 16 MiB.
//
// Run:
//   cmake --build build/bench --target lcu_bench_download_memory
//   build/bench/bench/lcu_bench_download_memory [MIB...]   (default 256; each size in a child of its own)
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "download_bench_lcu.h"

namespace {

using namespace lcu;
using namespace lcu::bench;

constexpr double kGoalMiB = 16.0;

// A "Name:   123 kB" figure of /proc/self/status, in bytes; -1 when missing.
long long StatusBytes(const std::string& name) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(name + ":", 0) != 0) continue;
    std::istringstream fields(line.substr(name.size() + 1));
    long long kb = -1;
    fields >> kb;
    return kb < 0 ? -1 : kb * 1024;
  }
  return -1;
}

// The resident size of the mappings of a file, from /proc/self/smaps, in bytes.
long long MappedResidentBytes(const std::string& file) {
  std::ifstream in("/proc/self/smaps");
  std::string line;
  bool inFile = false;
  long long total = 0;
  while (std::getline(in, line)) {
    const bool isHeader = !line.empty() && line.find(':') != std::string::npos && line.find('-') < line.find(' ') &&
                          std::isxdigit(static_cast<unsigned char>(line[0]));
    if (isHeader) {
      inFile = line.size() >= file.size() && line.compare(line.size() - file.size(), file.size(), file) == 0;
      continue;
    }
    if (inFile && line.rfind("Rss:", 0) == 0) {
      std::istringstream fields(line.substr(4));
      long long kb = 0;
      fields >> kb;
      total += kb * 1024;
    }
  }
  return total;
}

double MiB(long long bytes) { return static_cast<double>(bytes) / static_cast<double>(kMiB); }

int RunChild(const std::filesystem::path& stateDir, const std::filesystem::path& root, std::uint64_t bytes) {
  DownloadProgram program(root);
  if (!program.setupError.empty()) {
    std::fprintf(stderr, "sample setup: %s\n", program.setupError.c_str());
    return 1;
  }
  const long long idle = StatusBytes("VmRSS");
  const long long idleAnon = StatusBytes("RssAnon");
  // Writing 5 to clear_refs sets the peak back to the current resident size.
  std::ofstream("/proc/self/clear_refs") << "5";

  std::atomic<bool> done{false};
  std::atomic<long long> peakAnon{idleAnon};
  std::thread sampler([&] {
    while (!done) {
      peakAnon = std::max(peakAnon.load(), StatusBytes("RssAnon"));
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });

  long long peak = 0;
  long long mapped = 0;
  bool ok = false;
  {
    sim::SimulatorOptions options;
    options.manualTime = true;
    options.stateDir = stateDir;
    sim::LcuSimulator lcu(options);
    if (!lcu.Ok()) {
      std::fprintf(stderr, "simulator: %s\n", lcu.Error().c_str());
    } else {
      CUsbDevice device(lcu);
      device.PollStatus();
      const DownloadResult result = program.Download(device);
      std::error_code ec;
      ok = result.result == CommandResult::kDone &&
           std::filesystem::file_size(result.path, ec) == kLoggerHeaderSize + bytes;
      peak = StatusBytes("VmHWM");
      mapped = MappedResidentBytes((stateDir / "memory.bin").string());
    }
  }
  done = true;
  sampler.join();
  if (!ok) {
    std::fprintf(stderr, "the download failed\n");
    return 1;
  }
  const long long own = peak - idle - mapped;
  std::printf("idle program %.1f MiB, peak %.1f MiB, memory.bin mapping resident %.1f MiB\n", MiB(idle), MiB(peak),
              MiB(mapped));
  std::printf("cross-check: anonymous memory peak %.1f MiB above idle (sampled every ms)\n",
              MiB(peakAnon.load() - idleAnon));
  std::printf("download's own peak = peak - idle - mapping, MiB (goal <= %.0f, %s): %.1f\n", kGoalMiB,
              MiB(own) <= kGoalMiB ? "met" : "missed", MiB(own));
  return 0;
}

// Prepares a state folder holding `mib` MiB in one buffer and measures its download in a
// child process; the child's exit status.
int RunCase(const char* self, std::uint64_t mib) {
  const std::uint64_t bytes = mib * kMiB;
  BenchFolder root;
  const std::filesystem::path stateDir = root.Path() / "lcu";
  {
    sim::SimulatorOptions options;
    options.manualTime = true;
    options.stateDir = stateDir;
    options.memoryUnits = MemoryUnitsFor(bytes);
    sim::LcuSimulator lcu(options);
    const std::string error = lcu.Ok() ? LogOneBuffer(lcu, bytes) : lcu.Error();
    if (!error.empty()) {
      std::fprintf(stderr, "simulator: %s\n", error.c_str());
      return 1;
    }
  }
  std::printf("Download of %llu MiB in one buffer from a simulated LCU with a state folder, in a child process\n",
              static_cast<unsigned long long>(mib));
  std::fflush(stdout);

  const pid_t child = ::fork();
  if (child < 0) return 1;
  if (child == 0) {
    const std::string size = std::to_string(bytes);
    ::execl("/proc/self/exe", self, "--child", stateDir.c_str(), root.Path().c_str(), size.c_str(), nullptr);
    std::_Exit(127);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return 1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--child") {
    return RunChild(argv[2], argv[3], std::strtoull(argv[4], nullptr, 10));
  }
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::vector<std::uint64_t> sizes = SizesFrom(args, {256});
  for (const std::uint64_t s : sizes) {
    if (s == 0) {
      std::fprintf(stderr, "usage: %s [MIB...]  (1 to 1023; default 256)\n", argv[0]);
      return 2;
    }
  }
  for (const std::uint64_t mib : sizes) {
    if (const int status = RunCase(argv[0], mib); status != 0) return status;
  }
  return 0;
}
