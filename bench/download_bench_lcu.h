// What the download benchmarks share: a simulated LCU holding a given number of bytes
// logged in one buffer, a backend that adds up the bus time the link-speed model charges
// for the transfers it passes on, and the program around the core's download (settings with
// their own setup and data folders, the sample setup, the host's files and clock).
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/app_state.h"
#include "core/app/command_context.h"
#include "core/commands/download.h"
#include "core/host/clock.h"
#include "core/host/memory_settings_store.h"
#include "core/host/prompter.h"
#include "core/link/link_owner.h"
#include "core/link/usb_backend.h"
#include "core/link/usb_device.h"
#include "core/logger/logger_header.h"
#include "core/util/little_endian.h"
#include "platform/host_file_system.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_setup.h"

namespace lcu::bench {

inline constexpr std::uint64_t kMiB = 1024 * 1024;

// The benchmark buffer logs 64 words at 1000 samples a second: 128-byte samples, so any
// whole number of MiB is a whole number of samples.
inline constexpr std::uint8_t kBenchRateCode = 0;
inline constexpr std::uint8_t kBenchWeight = 64;

/// Data memory units that hold the header page, the buffer and the 128 bytes the block read
/// runs past a buffer's end.
inline std::uint16_t MemoryUnitsFor(std::uint64_t bufferBytes) {
  const std::uint64_t needed = kPageSize + bufferBytes + 128;
  return static_cast<std::uint16_t>((needed + kMemoryUnit - 1) / kMemoryUnit);
}

/// Lays out one buffer of exactly `bytes` behind the header page and fills it with logged
/// samples. Returns the reason on failure.
inline std::string LogOneBuffer(sim::LcuSimulator& lcu, std::uint64_t bytes) {
  LoggerHeader header;
  for (std::uint32_t at = 0; at < kLoggerHeaderSize; at += 64) {
    const auto block = lcu.ReadBlock(static_cast<std::uint16_t>(kWindowBase + at));
    std::copy(block.begin(), block.end(), header.Bytes().begin() + at);
  }
  const Position start = PositionOf(kPageSize);
  header.SetU16(hdr::kBufferCount, 1);
  header.SetU16(hdr::kWrapFlag, 0);
  header.SetU32(hdr::kDataPresent, 0);
  header.SetEntry(0, {kBenchRateCode, kBenchWeight, start, start, 0});
  const Position end = PositionOf(static_cast<std::uint32_t>(kPageSize + bytes));
  header.SetEntry(1, {0, 0, end, end, 0});
  lcu.WriteDataMemory(0, header.Bytes());
  const std::uint64_t written = lcu.FillBuffer(0, bytes);
  if (written != bytes) {
    return "the simulator logged " + std::to_string(written) + " of " + std::to_string(bytes) + " bytes";
  }
  return {};
}

/// Passes every call on to the simulator and adds up the bus time its link-speed model
/// charges for the transfers that succeed: one frame per control request, whole frames of
/// packets per bulk transfer. Also splits the real time into time spent inside transfers
/// and time between them (the program's own work, pauses and file syncs included).
class BusTimeBackend final : public UsbBackend {
 public:
  BusTimeBackend(UsbBackend& inner, sim::LinkSpeed speed) : m_inner(inner), m_speed(speed) {}

  std::chrono::nanoseconds BusTime() const { return m_busTime; }
  std::uint64_t BulkBytes() const { return m_bulkBytes; }
  std::chrono::nanoseconds InTransfers() const { return m_inTransfers; }
  std::chrono::nanoseconds BetweenTransfers() const { return m_betweenTransfers; }
  void Reset() {
    m_busTime = {};
    m_bulkBytes = 0;
    m_inTransfers = {};
    m_betweenTransfers = {};
    m_lastReturn = {};
  }

  UsbHandle OpenNode(int node) override { return m_inner.OpenNode(node); }
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) override {
    return m_inner.GetDeviceDescriptor(handle, descriptor);
  }
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) override {
    const auto began = Begin();
    const bool ok = m_inner.ControlRequest(handle, request, data);
    if (ok) m_busTime += sim::ModelControlTime(m_speed);
    End(began);
    return ok;
  }
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override {
    const auto began = Begin();
    const bool ok = m_inner.BulkRead(handle, buffer, moved);
    if (ok) Charge(moved);
    End(began);
    return ok;
  }
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override {
    const auto began = Begin();
    const bool ok = m_inner.BulkWrite(handle, buffer, moved);
    if (ok) Charge(moved);
    End(began);
    return ok;
  }
  void CloseNode(UsbHandle handle) override { m_inner.CloseNode(handle); }
  std::uint32_t LastError() const override { return m_inner.LastError(); }
  std::string ErrorText(std::uint32_t code) const override { return m_inner.ErrorText(code); }

 private:
  using Clock = std::chrono::steady_clock;
  Clock::time_point Begin() {
    const auto now = Clock::now();
    if (m_lastReturn != Clock::time_point{}) m_betweenTransfers += now - m_lastReturn;
    return now;
  }
  void End(Clock::time_point began) {
    m_lastReturn = Clock::now();
    m_inTransfers += m_lastReturn - began;
  }
  void Charge(std::uint32_t moved) {
    m_busTime += sim::ModelBulkTime(m_speed, moved);
    m_bulkBytes += moved;
  }

  UsbBackend& m_inner;
  sim::LinkSpeed m_speed;
  std::chrono::nanoseconds m_busTime{};
  std::uint64_t m_bulkBytes = 0;
  std::chrono::nanoseconds m_inTransfers{};
  std::chrono::nanoseconds m_betweenTransfers{};
  Clock::time_point m_lastReturn{};
};

/// Shows the core's messages on stderr and answers every question No.
class StderrPrompter final : public Prompter {
 public:
  void ShowMessage(MessageKind, std::string_view text) override {
    std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
  }
  bool AskQuestion(std::string_view text) override {
    std::fprintf(stderr, "question (answered No): %.*s\n", static_cast<int>(text.size()), text.data());
    return false;
  }
};

/// A folder below the system's temporary folder (or below a given parent), removed again
/// with the object.
class BenchFolder {
 public:
  explicit BenchFolder(const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
    m_path = parent / ("lcu_bench_download_" + std::to_string(std::random_device{}()));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

/// The program around the download: settings naming a setup folder and a data folder below
/// root, with the sample setup written there, and the host's files and clock.
struct DownloadProgram {
  explicit DownloadProgram(const std::filesystem::path& root) {
    store.WriteString("Paths", "SetupDirectory", (root / "Setup").string());
    store.WriteString("Paths", "DataDirectory", (root / "Sample").string());
    setupError = sim::WriteSampleSetup(store);
  }

  /// Runs the core's download on a link that is on line; the result's path names the file.
  DownloadResult Download(CUsbDevice& device) {
    LinkOwner link{device};
    CommandContext ctx{device, link, store, prompter, clock, files, app, ui};
    return lcu::Download(ctx);
  }

  MemorySettingsStore store;
  StderrPrompter prompter;
  SystemClock clock;
  HostFileSystem files;
  AppState app;
  SilentCommandUi ui;
  std::string setupError;
};

inline double Seconds(std::chrono::nanoseconds d) { return std::chrono::duration<double>(d).count(); }

/// The system's load averages, shown with timing figures: on a busy machine a waking thread
/// waits for a processor, which no program can help.
inline std::string LoadAverage() {
  std::FILE* f = std::fopen("/proc/loadavg", "r");
  if (f == nullptr) return "unknown";
  char text[64] = {};
  const bool ok = std::fgets(text, sizeof text, f) != nullptr;
  std::fclose(f);
  std::string s = ok ? text : "unknown";
  if (const auto cut = s.find(' ', s.find(' ', s.find(' ') + 1) + 1); cut != std::string::npos) s.resize(cut);
  return s;
}

/// Sizes in MiB from the command line, or the defaults when none are given; 0 when an
/// argument is not a positive whole number of at most 1023.
inline std::vector<std::uint64_t> SizesFrom(const std::vector<std::string>& args, std::vector<std::uint64_t> defaults) {
  if (args.empty()) return defaults;
  std::vector<std::uint64_t> sizes;
  for (const auto& a : args) {
    std::uint64_t v = 0;
    bool ok = !a.empty() && a.size() <= 4;
    for (const char c : a) ok = ok && c >= '0' && c <= '9';
    if (ok) v = std::stoull(a);
    sizes.push_back(ok && v >= 1 && v <= 1023 ? v : 0);
  }
  return sizes;
}

}  // namespace lcu::bench
