// How live the desktop program stays while it downloads: the longest gap between two
// iterations of its event loop during a download of one large buffer over the full-speed
// link model, with 4 monitor windows of 32 channels open (in the main window, as New Window
// makes them). The desktop program's own objects
// run offscreen (the application, its main window, its session timer and its progress dialog
// and message pump) on a simulated LCU holding the buffer; the Download command runs from
// the event loop as the menu runs it. A zero-interval timer notes every iteration of the
// event loop, also those the download runs from inside itself. Goal: 50 ms or less.
//
// Run (offscreen, no display needed):
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLCU_BUILD_TESTS=OFF
//   cmake --build build/bench --target lcu_bench_download_responsiveness
//   QT_QPA_PLATFORM=offscreen build/bench/bench/lcu_bench_download_responsiveness [MIB]   (default 64)
// Full speed moves about 1.2 MB/s, so 64 MiB take about a minute.
#include <stdlib.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "download_bench_lcu.h"
#include "gui/app/session_driver.h"
#include "gui/app/tavrix_app.h"
#include "gui/app/widget_prompter.h"
#include "gui/monitor/monitor_template.h"

namespace {

using namespace lcu;
using namespace lcu::bench;
using SteadyClock = std::chrono::steady_clock;

constexpr double kGoalMs = 50.0;
constexpr int kWindows = 4;
constexpr int kChannelsPerWindow = 32;
// The LCU comes on line within two polls; a program that is not connected by then is broken.
constexpr int kConnectTimeoutMs = 10000;

// Notes the time of every event-loop iteration and keeps the longest gap between two.
class IterationGaps {
 public:
  IterationGaps() {
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Note(); });
  }
  void Start() {
    m_start = m_last = SteadyClock::now();
    m_longest = {};
    m_iterations = 0;
    m_timer.start();
  }
  void Stop() {
    Note();
    m_timer.stop();
  }
  double LongestMs() const { return std::chrono::duration<double, std::milli>(m_longest).count(); }
  /// When the longest gap began, in seconds from the start.
  double LongestAt() const { return std::chrono::duration<double>(m_longestFrom - m_start).count(); }
  long Iterations() const { return m_iterations; }

 private:
  void Note() {
    const auto now = SteadyClock::now();
    if (now - m_last > m_longest) {
      m_longest = now - m_last;
      m_longestFrom = m_last;
    }
    m_last = now;
    ++m_iterations;
  }

  QTimer m_timer;
  SteadyClock::time_point m_start;
  SteadyClock::time_point m_last;
  SteadyClock::time_point m_longestFrom;
  SteadyClock::duration m_longest{};
  long m_iterations = 0;
};

// Runs the event loop until done() holds or the time is up; false on the time-out.
template <class Done>
bool RunUntil(Done done, int timeoutMs) {
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (SteadyClock::now() > deadline) return false;
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::uint64_t> sizes =
      SizesFrom(argc > 1 ? std::vector<std::string>{argv[1]} : std::vector<std::string>{}, {64});
  if (sizes.front() == 0) {
    std::fprintf(stderr, "usage: %s [MIB]  (1 to 1023)\n", argv[0]);
    return 2;
  }
  const std::uint64_t bytes = sizes.front() * kMiB;

  // The settings, the sample setup and the data file go into a throw-away home folder.
  BenchFolder root;
  setenv("HOME", root.Path().c_str(), 1);
  QApplication application(argc, argv);

  auto store = std::make_unique<MemorySettingsStore>();
  store->WriteString("Paths", "SetupDirectory", (root.Path() / "Setup").string());
  store->WriteString("Paths", "DataDirectory", (root.Path() / "Sample").string());
  if (const std::string problem = sim::WriteSampleSetup(*store); !problem.empty()) {
    std::fprintf(stderr, "sample setup: %s\n", problem.c_str());
    return 1;
  }
  sim::SimulatorOptions options;
  options.manualTime = true;
  options.memoryUnits = MemoryUnitsFor(bytes);
  auto simulator = std::make_unique<sim::LcuSimulator>(options);
  if (const std::string error = simulator->Ok() ? LogOneBuffer(*simulator, bytes) : simulator->Error();
      !error.empty()) {
    std::fprintf(stderr, "simulator: %s\n", error.c_str());
    return 1;
  }
  simulator->SetLinkSpeed(sim::LinkSpeed::kFullSpeed);

  gui::CTavrixApp::Services services;
  services.store = std::move(store);
  services.backend = std::move(simulator);
  services.prompter = std::make_unique<gui::WidgetPrompter>();
  services.files = std::make_unique<HostFileSystem>();
  services.clock = std::make_unique<SystemClock>();
  gui::CTavrixApp program(std::move(services));
  if (!program.InitInstance()) return 1;
  bool connected = false;
  QObject::connect(&program.Driver(), &gui::SessionDriver::lcuConnected, [&connected] { connected = true; });
  if (!RunUntil([&connected] { return connected; }, kConnectTimeoutMs)) {
    std::fprintf(stderr, "the simulated LCU did not come on line\n");
    return 1;
  }

  std::vector<std::uint16_t> channels(kChannelsPerWindow);
  for (int i = 0; i < kChannelsPerWindow; ++i) channels[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i);
  for (int w = 0; w < kWindows; ++w) {
    gui::CChildFrame& frame = program.MonitorKind().OnNewWindow();
    gui::MonitorTemplate::DocumentOf(frame)->SetChannels(channels);
  }
  RunUntil([] { return false; }, 1000);  // the windows' first updates

  IterationGaps gaps;
  bool finished = false;
  std::string path;
  CommandResult result = CommandResult::kFailed;
  SteadyClock::duration took{};
  QTimer::singleShot(0, [&] {
    gaps.Start();
    const auto t0 = SteadyClock::now();
    const DownloadResult outcome = lcu::Download(program.Context());
    took = SteadyClock::now() - t0;
    gaps.Stop();
    result = outcome.result;
    path = outcome.path;
    finished = true;
  });
  RunUntil([&finished] { return finished; }, std::numeric_limits<int>::max());

  std::error_code ec;
  const auto fileSize = std::filesystem::file_size(path, ec);
  if (result != CommandResult::kDone || ec || fileSize != kLoggerHeaderSize + bytes) {
    std::fprintf(stderr, "the download failed\n");
    return 1;
  }
  const double longest = gaps.LongestMs();
  std::printf(
      "Longest gap between two event-loop iterations during a %llu MiB download at full speed, "
      "%d monitor windows open; goal <= %.0f ms\n",
      static_cast<unsigned long long>(sizes.front()), kWindows, kGoalMs);
  std::printf("Load average: %s\n", LoadAverage().c_str());
  std::printf(
      "download %.3f s, %ld event-loop iterations; longest gap %.1f ms (from %.3f s on); goal %.0f ms; "
      "ratio %.3f\n",
      Seconds(took), gaps.Iterations(), longest, gaps.LongestAt(), kGoalMs, longest / kGoalMs);
  return 0;
}
