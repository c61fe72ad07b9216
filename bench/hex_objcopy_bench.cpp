// The Intel-HEX reader against objcopy: a full firmware file (24 KiB for LCU 0x2000 to
// 0x7FFF in records of 16 bytes, CR LF line ends) turned into the 24 KiB binary image, by
// this program re-executed in its convert-only mode (read the file, ReadHexImage, write the
// image) and by "objcopy -I ihex -O binary" on the same file. Both are whole processes
// started the same way, run in turns, one discarded warm-up run each; the figures are the
// median and mean wall times. The firmware's checksum word is already right, so both write
// the same 24576 bytes, which is checked. The reader's own time in this process is printed
// too. objcopy comes with binutils.
//
// Run:
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLCU_BUILD_TESTS=OFF
//   cmake --build build/bench --target lcu_bench_hex_objcopy
//   build/bench/bench/lcu_bench_hex_objcopy [--runs N]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/firmware/hex_image.h"
#include "core/firmware/hex_writer.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kDefaultRuns = 200;
constexpr int kInProcessRuns = 2000;
constexpr std::size_t kRecordBytes = 16;

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

std::optional<std::vector<std::uint8_t>> ReadFile(const char* path) {
  const FilePtr file(std::fopen(path, "rb"), &std::fclose);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
    bytes.insert(bytes.end(), buffer, buffer + n);
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

bool WriteFile(const char* path, const std::vector<std::uint8_t>& bytes) {
  const FilePtr file(std::fopen(path, "wb"), &std::fclose);
  return file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && std::fflush(file.get()) == 0;
}

// The convert-only mode: hex file in, firmware image out.
int Convert(const char* in, const char* out) {
  const std::optional<std::vector<std::uint8_t>> file = ReadFile(in);
  if (!file) {
    std::fprintf(stderr, "cannot read %s\n", in);
    return 1;
  }
  std::vector<std::uint8_t> image(lcu::kFirmwareImageSize);
  const lcu::HexReadResult result = lcu::ReadHexImage(*file, lcu::FirmwareImageSpan(image.data(), image.size()));
  if (!result.Ok()) {
    std::fprintf(stderr, "%s\n", lcu::HexErrorText(result).c_str());
    return 1;
  }
  if (!WriteFile(out, image)) {
    std::fprintf(stderr, "cannot write %s\n", out);
    return 1;
  }
  return 0;
}

// Firmware that the reader leaves as it is: the bytes from the end of the load window on
// (the reader never places them) zero but for the checksum word, which is right.
std::vector<std::uint8_t> Firmware() {
  std::mt19937 rng(1);
  std::vector<std::uint8_t> firmware(lcu::kFirmwareImageSize);
  const std::size_t placed = lcu::kLoadWindowEnd - lcu::kFirmwareBase;
  for (std::size_t i = 0; i < placed; ++i) firmware[i] = static_cast<std::uint8_t>(rng());
  lcu::SealFirmwareImage(lcu::FirmwareImageSpan(firmware.data(), firmware.size()));
  return firmware;
}

std::optional<std::string> FindOnPath(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : "";
  while (!folders.empty()) {
    const std::size_t colon = std::min(folders.find(':'), folders.size());
    const std::string candidate = std::string(folders.substr(0, colon)) + "/" + std::string(name);
    if (colon > 0 && access(candidate.c_str(), X_OK) == 0) return candidate;
    folders.remove_prefix(std::min(colon + 1, folders.size()));
  }
  return std::nullopt;
}

struct RunTimes {
  double wallMs = 0;
  double cpuMs = 0;  // user and system time of the process
};

// Runs a program to its end with stdout and stderr on /dev/null; its times, or nothing when
// it could not start or failed.
std::optional<RunTimes> TimedRun(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const double start = NowMs();
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  const double elapsed = NowMs() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  return RunTimes{elapsed, ms(usage.ru_utime) + ms(usage.ru_stime)};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Min(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

double Mean(const std::vector<double>& values) {
  return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

int Compare(int runs) {
  const std::optional<std::string> objcopy = FindOnPath("objcopy");
  if (!objcopy) {
    std::fprintf(stderr, "objcopy not found: install binutils\n");
    return 1;
  }
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) {
    std::fprintf(stderr, "cannot find this program's own path\n");
    return 1;
  }
  const fs::path dir = fs::temp_directory_path() / ("lcu_bench_hex_objcopy." + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string hexPath = (dir / "firmware.hex").string();
  const std::string oursPath = (dir / "ours.bin").string();
  const std::string objcopyPath = (dir / "objcopy.bin").string();

  const std::vector<std::uint8_t> firmware = Firmware();
  const std::string text =
      lcu::HexRecords(lcu::kFirmwareBase, firmware, {kRecordBytes}, "\r\n") + lcu::HexEndRecord() + "\r\n";
  const std::vector<std::uint8_t> file = std::vector<std::uint8_t>(text.begin(), text.end());
  if (!WriteFile(hexPath.c_str(), file)) {
    std::fprintf(stderr, "cannot write %s\n", hexPath.c_str());
    return 1;
  }

  const std::vector<std::string> ours = {self.string(), "--convert", hexPath, oursPath};
  const std::vector<std::string> theirs = {*objcopy, "-I", "ihex", "-O", "binary", hexPath, objcopyPath};
  std::vector<double> oursMs;
  std::vector<double> theirsMs;
  std::vector<double> oursCpuMs;
  std::vector<double> theirsCpuMs;
  for (int run = 0; run <= runs; ++run) {
    const std::optional<RunTimes> a = TimedRun(ours);
    const std::optional<RunTimes> b = TimedRun(theirs);
    if (!a || !b) {
      std::fprintf(stderr, "%s failed\n", a ? "objcopy" : "the convert-only run");
      fs::remove_all(dir);
      return 1;
    }
    if (run == 0) {
      if (ReadFile(oursPath.c_str()) != firmware || ReadFile(objcopyPath.c_str()) != firmware) {
        std::fprintf(stderr, "the two images differ from the firmware\n");
        fs::remove_all(dir);
        return 1;
      }
      continue;
    }
    oursMs.push_back(a->wallMs);
    theirsMs.push_back(b->wallMs);
    oursCpuMs.push_back(a->cpuMs);
    theirsCpuMs.push_back(b->cpuMs);
  }
  fs::remove_all(dir);

  std::vector<std::uint8_t> image(lcu::kFirmwareImageSize);
  std::vector<double> inProcessUs;
  for (int run = 0; run < kInProcessRuns; ++run) {
    const double start = NowMs();
    const lcu::HexReadResult result = lcu::ReadHexImage(file, lcu::FirmwareImageSpan(image.data(), image.size()));
    inProcessUs.push_back((NowMs() - start) * 1e3);
    if (!result.Ok()) return 1;
  }

  std::printf("Intel-HEX to the %zu-byte firmware image: a %zu-byte file of %zu-byte records, CR LF\n",
              lcu::kFirmwareImageSize, file.size(), kRecordBytes);
  std::printf("whole processes on the same file, %d runs each in turns after one discarded run:\n", runs);
  std::printf("  convert-only run of the reader: wall median %.3f ms, min %.3f ms; CPU time mean %.3f ms\n",
              Median(oursMs), Min(oursMs), Mean(oursCpuMs));
  std::printf("  objcopy -I ihex -O binary:      wall median %.3f ms, min %.3f ms; CPU time mean %.3f ms\n",
              Median(theirsMs), Min(theirsMs), Mean(theirsCpuMs));
  std::printf("the reader in this process: median %.1f us per file (%.0f MB/s of hex input), %d runs\n",
              Median(inProcessUs), static_cast<double>(file.size()) / Median(inProcessUs), kInProcessRuns);
  std::printf(
      "objcopy / reader: wall min %.2fx, CPU time mean %.2fx (a loaded machine stretches the wall\n"
      "times with waits for a processor; the CPU times are what each process itself costs)\n",
      Min(theirsMs) / Min(oursMs), Mean(theirsCpuMs) / Mean(oursCpuMs));
  std::printf("objcopy / reader, wall median: %.2fx (goal > 1x)\n", Median(theirsMs) / Median(oursMs));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string_view(argv[1]) == "--convert") return Convert(argv[2], argv[3]);
  int runs = kDefaultRuns;
  if (argc == 3 && std::string_view(argv[1]) == "--runs") {
    runs = std::max(1, std::atoi(argv[2]));
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: %s [--runs N]\n", argv[0]);
    return 2;
  }
  return Compare(runs);
}
