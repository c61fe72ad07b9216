// monitor: live channel values every 200 ms as a monitor window shows them, redrawn in place
// on a terminal, or recorded as CSV lines with the local time of each tick. The values come
// from an LcuSession serving one monitor document, stepped from this command's own loop.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <iostream>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/channel_arguments.h"
#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "cli/exit_code.h"
#include "cli/monitor_table.h"
#include "cli/terminal.h"
#include "core/channels/calibration_file.h"
#include "core/messages/messages.h"
#include "core/monitor/csv_record.h"
#include "core/monitor/monitor_document.h"
#include "core/monitor/monitor_row.h"
#include "core/session/lcu_session.h"
#include "platform/host_file_system.h"

namespace lcu::cli {

namespace {

// Longest single pause while waiting for a tick, so that Ctrl+C is answered at once.
constexpr std::chrono::milliseconds kLongestPause{20};

struct MonitorArguments {
  std::vector<std::string> channels;
  int count = 0;  // 0: until interrupted
  bool csv = false;
};

volatile std::sig_atomic_t g_bInterrupted = 0;

void OnInterrupt(int) { g_bInterrupted = 1; }

// Ctrl+C ends the monitor after the tick it falls into, with the output complete, instead of
// killing the program halfway through a table.
class InterruptCatcher {
 public:
  InterruptCatcher() : m_previous(std::signal(SIGINT, OnInterrupt)) { g_bInterrupted = 0; }
  ~InterruptCatcher() {
    if (m_previous != SIG_ERR) std::signal(SIGINT, m_previous);
  }
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;

  static bool Interrupted() { return g_bInterrupted != 0; }

 private:
  void (*m_previous)(int);
};

void WaitUntil(Clock& clock, Clock::TimePoint due) {
  for (Clock::TimePoint now = clock.Monotonic(); now < due && !InterruptCatcher::Interrupted();
       now = clock.Monotonic()) {
    clock.Sleep(std::min(std::chrono::ceil<std::chrono::milliseconds>(due - now), kLongestPause));
  }
}

// Shows each published reading of the session's one document.
class MonitorOutput final : public ReadingsSubscriber {
 public:
  MonitorOutput(const AppState& app, const std::vector<std::uint16_t>& channels, bool csv)
      : m_app(app), m_channels(channels), m_bCsv(csv), m_screen(std::cout, !csv && StdoutIsTerminal()) {
    for (const std::uint16_t channel : channels) m_rows.push_back(LabelledRow(app, channel));
  }

  void WriteCsvHeader() {
    std::vector<std::string> fields{std::string(kCsvTimeColumn)};
    for (const MonitorRow& row : m_rows) fields.push_back(CsvHeading(row.name, row.units));
    std::cout << CsvLine(fields) << '\n' << std::flush;
  }

  void OnReadings(const MonitorDocument&, std::span<const std::uint32_t> readings, const LocalTime& time) override {
    m_bShown = true;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
      m_rows[i].value = ValueCellOf(m_app, m_channels[i], readings[i]);
      m_rows[i].raw = FormatRawCell(readings[i]);
    }
    if (!m_bCsv) {
      m_screen.Show(FormatMonitorTable(m_rows));
      return;
    }
    std::vector<std::string> fields{CsvTimestamp(time)};
    for (const MonitorRow& row : m_rows) fields.push_back(row.value);
    std::cout << CsvLine(fields) << '\n' << std::flush;
  }

  /// Whether a reading was shown since the last call.
  bool TakeShown() { return std::exchange(m_bShown, false); }

 private:
  const AppState& m_app;
  const std::vector<std::uint16_t>& m_channels;
  bool m_bCsv;
  TableScreen m_screen;
  std::vector<MonitorRow> m_rows;
  bool m_bShown = false;
};

int RunMonitor(CliContext& context, const MonitorArguments& arguments) {
  const std::vector<std::uint16_t> channels = ChannelNumbersOf(arguments.channels);
  CUsbDevice* device = context.GetOnlineDevice(OfflineForm::kPlain);
  if (!device) return kExitFailed;
  if (!context.LoadChannelModel(StatusLcuNumber(*device))) return kExitFailed;

  MonitorOutput output(context.GetAppState(), channels, arguments.csv);
  if (arguments.csv) output.WriteCsvHeader();
  // Output that can no longer be written ends the run at the line that failed.
  if (!std::cout) return kExitFailed;
  Clock& clock = context.GetClock();
  // The session has no poll of its own: a failed exchange closes the link, and the next tick
  // reopens it, as the main window's poll would. A tick that overran its period is followed
  // at once, without a burst to catch up. It writes no file and shows no progress.
  HostFileSystem files;
  SilentCommandUi ui;
  CommandContext sessionContext{
      *device, *context.GetLink(), context.GetStore(), context.GetPrompter(), clock, files, context.GetAppState(), ui};
  SessionListener quiet;
  MonitorDocument document;
  LcuSession session(sessionContext, quiet, LinkUpkeep::kReopenWhenClosed);
  session.Subscribe(document, output);
  session.AddMonitor(document, FirstService::kAtOnce);
  document.SetChannels(channels);
  const InterruptCatcher interrupts;
  const auto count = static_cast<std::uint64_t>(arguments.count);
  bool missedTick = false;
  for (std::uint64_t tick = 0; count == 0 || tick < count; ++tick) {
    WaitUntil(clock, session.NextDue().value_or(clock.Monotonic()));
    if (InterruptCatcher::Interrupted()) break;
    session.Step(clock.Monotonic());
    if (!std::cout) return kExitFailed;
    // A tick without readings shows nothing: the table on screen keeps its values.
    if (!output.TakeShown()) missedTick = true;
  }
  // Ticks that brought no readings are missing from the output: the run did not do all its
  // work, which a script must be able to tell.
  if (missedTick) {
    ShowSystemError(context.GetPrompter(), lcu::msg::kFailedToReadLcu, device->LastErrorText());
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

void AddMonitorCommands(CommandRegistry& commands) {
  auto arguments = std::make_shared<MonitorArguments>();
  CLI::App* monitor = commands.AddCommand(
      "monitor",
      "Show live channel values every 200 ms as a monitor window does: ID, Channel, Value, Units, Raw; "
      "until Ctrl+C or --count ticks",
      [arguments](CliContext& context) { return RunMonitor(context, *arguments); });
  monitor->add_option("CHANNEL", arguments->channels, "Channel numbers, 0 to 1023")
      ->required()
      ->check(ChannelNumberValidator());
  monitor->add_option("--count", arguments->count, "Stop after N ticks")
      ->option_text("N")
      ->check(CLI::Range(1, std::numeric_limits<int>::max()));
  monitor->add_flag("--csv", arguments->csv,
                    "Record the values instead: a header line \"time,<name [units]>...\", then one line per tick");
}

}  // namespace lcu::cli
