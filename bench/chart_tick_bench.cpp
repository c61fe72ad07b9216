// GUI-thread CPU time of the strip charts: 4 monitor windows of 16 channels each, updated
// at 5 Hz for a stretch of wall time (60 s by default), first as lists alone, then with each
// window's strip chart shown below its list (the last minute drawn), once with the traces over
// one another and once with a lane per channel. Every run has one
// session on the program's one timer serving the 4 documents from the simulated LCU; the
// time spent inside the simulated LCU (on a real link, the device's work) is set apart, as
// in the monitor benchmark. Goals: a window with its chart costs at most 2x the same window
// as a list in either view, and the charted windows stay under 10 % of one core.
//
// Run (offscreen, no display needed):
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLCU_BUILD_TESTS=OFF
//   cmake --build build/bench --target lcu_bench_chart
//   QT_QPA_PLATFORM=offscreen build/bench/bench/lcu_bench_chart [SECONDS [lists|overlay|lanes]]
#include <stdlib.h>
#include <time.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/app/app_state.h"
#include "core/app/command_context.h"
#include "core/channels/channel_table.h"
#include "core/host/clock.h"
#include "core/host/file_system.h"
#include "core/host/memory_settings_store.h"
#include "core/link/usb_device.h"
#include "gui/app/session_driver.h"
#include "gui/app/widget_prompter.h"
#include "gui/monitor/monitor_pane.h"
#include "gui/monitor/monitor_view.h"
#include "gui/monitor/strip_chart.h"
#include "gui_thread_time.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_setup.h"
#include "simulated_workstation.h"
#include "timed_lcu.h"

namespace {

constexpr int kWindows = 4;
constexpr int kChannels = 16;
constexpr double kTickMs = 200.0;
constexpr int kWindowWidth = 560;
constexpr int kWindowHeight = 480;

using lcu::bench::RunFor;

// Counts the window updates: one per published reading of a document.
class TickCounter final : public lcu::ReadingsSubscriber {
 public:
  void OnReadings(const lcu::MonitorDocument&, std::span<const std::uint32_t>, const lcu::LocalTime&) override {
    ++ticks;
  }
  int ticks = 0;
};

struct Figures {
  double cpuMs = 0;
  double lcuMs = 0;
  int ticks = 0;
  double OwnPerTick() const { return ticks > 0 ? (cpuMs - lcuMs) * kWindows / ticks : 0.0; }
  double WholePerTick() const { return ticks > 0 ? cpuMs * kWindows / ticks : 0.0; }
};

Figures Measure(lcu::CommandContext& ctx, lcu::gui::WidgetPrompter& prompter, const lcu::bench::TimedLcu& link,
                const std::vector<std::uint16_t>& channels, std::optional<lcu::ChartView> chart, int milliseconds) {
  lcu::gui::SessionDriver driver(ctx, lcu::LinkUpkeep::kReopenWhenClosed);
  TickCounter counter;
  std::vector<std::unique_ptr<lcu::gui::MonitorPane>> panes;
  for (int w = 0; w < kWindows; ++w) {
    auto pane = std::make_unique<lcu::gui::MonitorPane>(ctx, prompter, driver.Session());
    pane->resize(kWindowWidth, kWindowHeight);
    pane->show();
    pane->ShowChart(chart.has_value());
    if (chart) pane->Chart().SetView(*chart);
    pane->View().Document().SetChannels(channels);
    driver.Session().Subscribe(pane->View().Document(), counter);
    panes.push_back(std::move(pane));
  }
  RunFor(1000);
  Figures figures;
  counter.ticks = 0;
  const double lcuStart = link.InsideMs();
  figures.cpuMs = RunFor(milliseconds);
  figures.lcuMs = link.InsideMs() - lcuStart;
  figures.ticks = counter.ticks;
  for (const auto& pane : panes) driver.Session().Unsubscribe(pane->View().Document(), counter);
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  lcu::bench::UseThrowAwayHome("lcu_bench_chart_home");

  QApplication application(argc, argv);
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  const std::string only = argc > 2 ? argv[2] : "";

  lcu::bench::SimulatedWorkstation workstation;
  if (!workstation.StartOrReport()) return 1;
  auto& [simulator, link, device, owner, store, prompter, clock, files, app, ui, ctx] = workstation;

  // The sample setup's lively channels first: engine, pressures, suspension.
  std::vector<std::uint16_t> channels;
  for (std::uint16_t channel = 0; channels.size() < kChannels && channel < lcu::kChannelTableSize; ++channel) {
    if (!app.m_channelTable[channel].NameText().empty()) channels.push_back(channel);
  }

  Figures lists;
  Figures overlay;
  Figures lanes;
  if (only.empty() || only == "lists") lists = Measure(ctx, prompter, link, channels, std::nullopt, seconds * 1000);
  if (only.empty() || only == "overlay") {
    overlay = Measure(ctx, prompter, link, channels, lcu::ChartView::kOverlay, seconds * 1000);
  }
  if (only.empty() || only == "lanes")
    lanes = Measure(ctx, prompter, link, channels, lcu::ChartView::kLanes, seconds * 1000);

  const auto share = [](double msPerTick) { return 100.0 * msPerTick / kTickMs; };
  std::printf("%d windows x %zu channels at 5 Hz, %d s each, GUI-thread CPU time per tick of all windows\n", kWindows,
              channels.size(), seconds);
  const auto report = [&](const char* name, const Figures& f) {
    std::printf(
        "%s: %d window updates; %.3f ms (%.2f %% of one core), of it %.3f ms in the simulated LCU; "
        "own %.3f ms (%.2f %% of one core)\n",
        name, f.ticks, f.WholePerTick(), share(f.WholePerTick()), f.WholePerTick() - f.OwnPerTick(), f.OwnPerTick(),
        share(f.OwnPerTick()));
  };
  report("windows as lists", lists);
  report("windows with their strip charts, overlay", overlay);
  report("windows with their strip charts, lanes", lanes);
  std::printf("goals: charts at most 2x the lists in either view, all under 10 %% of one core\n");
  const auto ratio = [&](const char* name, const Figures& charts) {
    std::printf("%s / lists, own CPU time per tick: %.2fx; charted windows %.2f %% of one core\n", name,
                lists.OwnPerTick() > 0 ? charts.OwnPerTick() / lists.OwnPerTick() : 0.0, share(charts.WholePerTick()));
  };
  ratio("overlay", overlay);
  ratio("lanes", lanes);
  return 0;
}
