// GUI-thread CPU time of the monitor windows' value update: 8 windows of 1024 channels each,
// as a 200 ms tick updates them (exchange with the LCU, conversion, one change signal per
// window, repaint), against a baseline that writes the same cells one setText at a time into
// QTableWidgets. The LCU is the in-process simulator, so the exchange figure includes the
// simulator's own work; the model-and-paint figure is the window side alone.
//
// Run:
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLCU_BUILD_TESTS=OFF
//   cmake --build build/bench --target lcu_bench_monitor
//   QT_QPA_PLATFORM=offscreen build/bench/bench/lcu_bench_monitor
#include <time.h>

#include <QApplication>
#include <QTableView>
#include <QTableWidget>

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/app_state.h"
#include "app/usb_device.h"
#include "gui/monitor/monitor_table_model.h"
#include "lcu_simulator.h"
#include "monitor/channel_exchange.h"
#include "monitor/monitor_row.h"
#include "channels/channel_conversion.h"
#include "sample_setup.h"

namespace {

constexpr int kWindows = 8;
constexpr int kChannels = 1024;
constexpr int kTicks = 40;
constexpr double kTickMs = 200.0;

double ThreadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  lcu::sim::SimulatorOptions options;
  options.manualTime = true;
  lcu::sim::LcuSimulator simulator(options);
  lcu::CUsbDevice device(simulator);
  device.PollStatus();
  if (!device.m_bOnline) {
    std::fprintf(stderr, "the simulated LCU did not answer\n");
    return 1;
  }
  auto app = std::make_unique<lcu::AppState>();
  app->m_calibration = lcu::sim::MakeSampleCalibration();

  std::array<std::uint16_t, kChannels> channels{};
  for (int i = 0; i < kChannels; ++i) channels[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i);
  std::vector<std::uint32_t> readings(kChannels);

  std::vector<std::unique_ptr<lcu::gui::MonitorTableModel>> models;
  std::vector<std::unique_ptr<QTableView>> views;
  for (int w = 0; w < kWindows; ++w) {
    models.push_back(std::make_unique<lcu::gui::MonitorTableModel>());
    models.back()->SetRows(channels, *app);
    views.push_back(std::make_unique<QTableView>());
    views.back()->setModel(models.back().get());
    views.back()->resize(420, 600);
    views.back()->show();
  }
  QApplication::processEvents();

  double exchangeMs = 0;
  double modelMs = 0;
  for (int tick = 0; tick < kTicks; ++tick) {
    simulator.AdvanceTime(std::chrono::milliseconds(200));
    for (int w = 0; w < kWindows; ++w) {
      const double t0 = ThreadCpuMs();
      lcu::ExchangeChannels(device, channels, readings);
      const double t1 = ThreadCpuMs();
      models[static_cast<std::size_t>(w)]->SetReadings(readings, *app);
      modelMs += ThreadCpuMs() - t1;
      exchangeMs += t1 - t0;
    }
    const double t2 = ThreadCpuMs();
    QApplication::processEvents();
    modelMs += ThreadCpuMs() - t2;
  }

  // Baseline: the same cells written one setText at a time.
  std::vector<std::unique_ptr<QTableWidget>> tables;
  for (int w = 0; w < kWindows; ++w) {
    tables.push_back(std::make_unique<QTableWidget>(kChannels, 5));
    for (int r = 0; r < kChannels; ++r)
      for (int c = 0; c < 5; ++c) tables.back()->setItem(r, c, new QTableWidgetItem());
    tables.back()->resize(420, 600);
    tables.back()->show();
  }
  QApplication::processEvents();
  double baselineMs = 0;
  for (int tick = 0; tick < kTicks; ++tick) {
    simulator.AdvanceTime(std::chrono::milliseconds(200));
    for (int w = 0; w < kWindows; ++w) {
      lcu::ExchangeChannels(device, channels, readings);
      const double t0 = ThreadCpuMs();
      QTableWidget& table = *tables[static_cast<std::size_t>(w)];
      for (int r = 0; r < kChannels; ++r) {
        const std::uint32_t reading = readings[static_cast<std::size_t>(r)];
        const double value = lcu::ConvertReading(app->m_calibration, reading, r);
        table.item(r, 2)->setText(QString::fromStdString(lcu::FormatValueCell(value, 2)));
        table.item(r, 4)->setText(QString::fromStdString(lcu::FormatRawCell(reading)));
      }
      baselineMs += ThreadCpuMs() - t0;
    }
    const double t1 = ThreadCpuMs();
    QApplication::processEvents();
    baselineMs += ThreadCpuMs() - t1;
  }

  const double perTickModel = modelMs / kTicks;
  const double perTickExchange = exchangeMs / kTicks;
  const double perTickBaseline = baselineMs / kTicks;
  std::printf("windows %d x channels %d, %d ticks\n", kWindows, kChannels, kTicks);
  std::printf("exchange with the simulated LCU: %.2f ms per tick\n", perTickExchange);
  std::printf("model update and repaint: %.2f ms per tick (%.1f %% of one core at 5 Hz)\n", perTickModel,
              100.0 * perTickModel / kTickMs);
  std::printf("whole tick: %.2f ms (%.1f %% of one core at 5 Hz)\n", perTickModel + perTickExchange,
              100.0 * (perTickModel + perTickExchange) / kTickMs);
  std::printf("baseline setText per cell and repaint: %.2f ms per tick\n", perTickBaseline);
  std::printf("baseline / model update: %.1fx\n", perTickBaseline / perTickModel);
  return 0;
}
