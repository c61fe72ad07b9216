// GUI-thread CPU time of the monitor windows' value update: 8 windows of 1024 channels each,
// every one updated every 200 ms, for a stretch of wall time. First the program's own monitor
// windows (one session on the program's one timer serving the 8 documents: exchange with the
// LCU, one change signal per window, repaint of what is on the screen), then a baseline that does the same exchange and
// writes the Value and Raw cells one setText at a time into QTableWidgets of the same size,
// row height and column widths. The simulated LCU runs in the GUI thread; the time spent
// inside it (its signal model: on a real link the device's work) is measured and set apart,
// so the program's own share is shown beside the whole.
//
// Run (offscreen, no display needed):
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLCU_BUILD_TESTS=OFF
//   cmake --build build/bench --target lcu_bench_monitor
//   QT_QPA_PLATFORM=offscreen build/bench/bench/lcu_bench_monitor [SECONDS [program|baseline]]
// A second argument runs one side alone, for a profiler.
#include <stdlib.h>
#include <time.h>

#include <QApplication>
#include <QEventLoop>
#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/app/app_state.h"
#include "core/app/command_context.h"
#include "core/channels/channel_conversion.h"
#include "core/channels/channel_table.h"
#include "core/host/clock.h"
#include "core/host/file_system.h"
#include "core/host/memory_settings_store.h"
#include "core/link/usb_device.h"
#include "core/monitor/channel_exchange.h"
#include "core/monitor/monitor_row.h"
#include "gui/app/session_driver.h"
#include "gui/app/widget_prompter.h"
#include "gui/monitor/monitor_view.h"
#include "gui_thread_time.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_setup.h"
#include "simulated_workstation.h"
#include "timed_lcu.h"

namespace {

constexpr int kWindows = 8;
constexpr int kChannels = 1024;
constexpr double kTickMs = 200.0;

using lcu::bench::RunFor;
using lcu::bench::TimedLcu;

struct Figures {
  double cpuMs = 0;
  double lcuMs = 0;  // of which inside the simulated LCU
  int ticks = 0;     // window updates seen
};

// Runs the event loop for a stretch of wall time with the windows ticking.
void Measure(Figures& figures, const TimedLcu& link, int milliseconds) {
  RunFor(1000);
  figures.ticks = 0;
  const double lcuStart = link.InsideMs();
  figures.cpuMs = RunFor(milliseconds);
  figures.lcuMs = link.InsideMs() - lcuStart;
}

}  // namespace

int main(int argc, char** argv) {
  lcu::bench::UseThrowAwayHome("lcu_bench_monitor_home");

  QApplication application(argc, argv);
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const int runMs = seconds * 1000;
  const std::string only = argc > 2 ? argv[2] : "";

  lcu::bench::SimulatedWorkstation workstation;
  if (!workstation.StartOrReport()) return 1;
  auto& [simulator, link, device, owner, store, prompter, clock, files, app, ui, ctx] = workstation;

  std::vector<std::uint16_t> channels(kChannels);
  for (int i = 0; i < kChannels; ++i) channels[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i);

  int rowHeight = 0;
  Figures program;
  if (only != "baseline") {
    // The windows alone: the session polls nothing, as the LCU was polled once above.
    lcu::gui::SessionDriver driver(ctx, lcu::LinkUpkeep::kReopenWhenClosed);
    std::vector<std::unique_ptr<lcu::gui::CMonitorView>> views;
    for (int w = 0; w < kWindows; ++w) {
      auto view = std::make_unique<lcu::gui::CMonitorView>(ctx, prompter, driver.Session());
      QObject::connect(&view->Model(), &QAbstractItemModel::dataChanged, [&program](const QModelIndex& topLeft) {
        if (topLeft.column() == lcu::gui::kValueColumn) ++program.ticks;
      });
      view->resize(420, 600);
      view->show();
      view->Document().SetChannels(channels);
      rowHeight = view->verticalHeader()->defaultSectionSize();
      views.push_back(std::move(view));
    }
    Measure(program, link, runMs);
  }

  Figures baseline;
  if (only != "program") {
    std::vector<std::unique_ptr<QTableWidget>> tables;
    std::vector<std::unique_ptr<QTimer>> timers;
    std::vector<std::uint32_t> readings(kChannels);
    for (int w = 0; w < kWindows; ++w) {
      auto table = std::make_unique<QTableWidget>(kChannels, 5);
      for (int r = 0; r < kChannels; ++r) {
        for (int c = 0; c < 5; ++c) table->setItem(r, c, new QTableWidgetItem());
      }
      table->verticalHeader()->hide();
      if (rowHeight > 0) table->verticalHeader()->setDefaultSectionSize(rowHeight);
      for (std::size_t c = 0; c < lcu::kDefaultColumnWidths.size(); ++c) {
        table->setColumnWidth(static_cast<int>(c), lcu::kDefaultColumnWidths[c]);
      }
      table->resize(420, 600);
      table->show();
      auto timer = std::make_unique<QTimer>();
      timer->setInterval(static_cast<int>(kTickMs));
      QTableWidget* cells = table.get();
      QObject::connect(timer.get(), &QTimer::timeout, [&, cells] {
        if (!lcu::ExchangeChannels(device, channels, readings)) return;
        for (int r = 0; r < kChannels; ++r) {
          const std::uint32_t reading = readings[static_cast<std::size_t>(r)];
          const auto channel = static_cast<std::uint16_t>(r);
          const double value = lcu::ConvertReading(app.m_calibration, reading, channel);
          cells->item(r, 2)->setText(
              QString::fromStdString(lcu::FormatValueCell(value, app.m_channelTable[channel].decimals)));
          cells->item(r, 4)->setText(QString::fromStdString(lcu::FormatRawCell(reading)));
        }
        ++baseline.ticks;
      });
      timer->start();
      tables.push_back(std::move(table));
      timers.push_back(std::move(timer));
    }
    Measure(baseline, link, runMs);
  }

  // Per tick of all eight windows.
  const auto perTick = [](const Figures& f, double ms) { return f.ticks > 0 ? ms * kWindows / f.ticks : 0.0; };
  const auto share = [](double msPerTick) { return 100.0 * msPerTick / kTickMs; };
  std::printf("%d windows x %d channels at 5 Hz, %d s each, GUI-thread CPU time per tick of all windows\n", kWindows,
              kChannels, seconds);
  const auto report = [&](const char* name, const Figures& f) {
    const double whole = perTick(f, f.cpuMs);
    const double own = perTick(f, f.cpuMs - f.lcuMs);
    std::printf(
        "%s: %d window updates; %.2f ms (%.1f %% of one core), of it %.2f ms in the simulated LCU; "
        "own %.2f ms (%.1f %% of one core)\n",
        name, f.ticks, whole, share(whole), whole - own, own, share(own));
    return own;
  };
  const double programOwn = report("program's monitor windows", program);
  const double baselineOwn = report("baseline setText per cell", baseline);
  std::printf("baseline / program, own CPU time per tick: %.1fx\n", baselineOwn / programOwn);
  return 0;
}
