// The desktop program left running against the simulated LCU for a given time, as a busy
// technician would use it: four monitor windows of many channels ticking at their normal
// 200 ms, the memory window open after the service password, logging started and stopped,
// downloads through the menu, monitor and memory windows closed and opened again, and the
// LCU unplugged and plugged in again at random moments (also in the middle of a transfer).
//
// Every action is drawn from a fixed random sequence, so a failure can be replayed: the run
// prints the number it started from, and LCU_SOAK_RANDOM=N runs that sequence again
// (the timing of the event loop still varies a little from run to run).
//
// The run passes when the program neither crashes nor trips a sanitizer, did its work
// (complete data files written, every monitor window and the memory window received values,
// also after the last replug), and its resident size did not grow after the warm-up: the
// first minute, or the first third of a shorter run. Under the address sanitizer, freed
// memory waits in a quarantine before it is reused; the test's environment keeps that
// quarantine small (ASAN_OPTIONS=quarantine_size_mb=2) so that the resident size follows
// what the program holds.
//
// LCU_SOAK_SECONDS sets the length of the run (default 60).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocator figure (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "core/host/registry.h"
#include "core/logger/data_file.h"
#include "core/logger/logger_header.h"
#include "gui/app/command_ids.h"
#include "gui/app/gui_prompter.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_frame.h"
#include "gui/app/main_menu.h"
#include "gui/app/qt_text.h"
#include "gui/app/tavrix_app.h"
#include "gui/memory/address_dlg.h"
#include "gui/memory/address_view.h"
#include "gui/memory/memory_table_model.h"
#include "gui/memory/memory_template.h"
#include "gui/monitor/child_frame.h"
#include "gui/monitor/monitor_table_model.h"
#include "gui/monitor/monitor_template.h"
#include "gui/monitor/monitor_view.h"
#include "platform/host_file_system.h"
#include "qtstore/qt_settings_store.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_setup.h"

namespace lcu::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kMonitorWindows = 4;
constexpr std::size_t kChannelsPerWindow = 200;
constexpr auto kLongestWarmUp = 60s;
// Growth of the resident size after the warm-up that still passes. Under the address
// sanitizer its allocator keeps touching fresh pages of the chunks it has mapped (and their
// shadow) for a long while, about 1.5 MiB a minute with a 2 MiB quarantine, while the bytes
// in use stay flat; the heap in use is therefore held to a much tighter bound.
constexpr long kRssToleranceKiB = 16 * 1024;
constexpr long kHeapToleranceKiB = 1024;
constexpr unsigned kDefaultRandom = 20261206;

long EnvironmentNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return (end != nullptr && *end == '\0' && value > 0) ? value : fallback;
}

/// VmRSS of this process in KiB, from /proc/self/status; -1 when it cannot be read.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

/// Under the address sanitizer, the KiB the program holds on the heap; -1 otherwise.
long HeapInUseKiB() {
#if defined(__SANITIZE_ADDRESS__)
  return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
  return -1;
#endif
}

/// Lets the event loop run for a while, timers and posted deletions included.
void RunFor(std::chrono::milliseconds duration) {
  QEventLoop loop;
  QTimer::singleShot(duration, &loop, &QEventLoop::quit);
  loop.exec();
}

/// Answers like a user who knows the service password, says Yes, cancels every other
/// dialog and counts each message by its text (a soak must not keep what grows with time).
class SoakPrompter final : public gui::GuiPrompter {
 public:
  void ShowMessage(MessageKind, std::string_view text) override { ++messages[std::string(text)]; }
  bool AskQuestion(std::string_view) override { return true; }
  bool RunPasswordDialog(QString& entry) override {
    entry = gui::ToQString(gui::text::kServicePassword1);
    return true;
  }
  void RunAboutBox(const QString&) override {}
  void RunLcuConfigurationDialog(const LcuConfigurationTexts&) override {}
  QString GetOpenFileName(const QString&, const QString&, const QString&) override { return {}; }
  QString GetSaveFileName(const QString&, const QString&, const QString&) override { return {}; }
  bool RunModal(QDialog&) override { return false; }
  std::optional<QFont> GetFont(const QFont&) override { return std::nullopt; }
  QAction* RunPopupMenu(QMenu&, const QPoint&) override { return nullptr; }

  std::map<std::string, long> messages;
};

struct SoakFigures {
  long downloadsCompleted = 0;
  long incompleteFiles = 0;
  long unplugs = 0;
  long monitorUpdates = 0;
  long memoryUpdates = 0;
};

class SoakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    m_dataDir = m_dir.filePath(QStringLiteral("Sample"));
    QDir().mkpath(m_dataDir);
    QtSettingsStore setup(m_dir.filePath(QStringLiteral("Velmora.ini")));
    setup.WriteString(reg::kPaths, reg::kDataDirectory, m_dataDir.toStdString());
    setup.WriteString(reg::kPaths, reg::kSetupDirectory, m_dir.filePath(QStringLiteral("Setup")).toStdString());
    ASSERT_EQ(sim::WriteSampleSetup(setup), "");
    Profile(setup).WriteProfileInt(reg::kSettings, reg::kAutoDownload, 1);
  }

  void TearDown() override { m_app.reset(); }

  void Start() {
    gui::CTavrixApp::Services services;
    services.store = std::make_unique<QtSettingsStore>(m_dir.filePath(QStringLiteral("Velmora.ini")));
    auto lcu = std::make_unique<sim::LcuSimulator>();
    m_sim = lcu.get();
    services.backend = std::move(lcu);
    auto prompter = std::make_unique<SoakPrompter>();
    m_prompter = prompter.get();
    services.prompter = std::move(prompter);
    services.files = std::make_unique<HostFileSystem>();
    services.clock = std::make_unique<SystemClock>();
    m_app = std::make_unique<gui::CTavrixApp>(std::move(services));
    ASSERT_TRUE(m_app->InitInstance());
  }

  gui::MainMenu& Menu() { return m_app->MainFrame()->Menu(); }
  void Choose(int commandId) { Menu().Action(commandId)->trigger(); }
  bool Chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(m_random) < percent; }
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

  void OpenMonitorWindow() {
    auto& frame = m_app->MonitorKind().OnNewWindow();
    gui::CMonitorView& view = *gui::CMonitorTemplate::MonitorViewOf(frame);
    const auto first = static_cast<std::uint16_t>(Between(0, 64));
    std::array<std::uint16_t, kChannelsPerWindow> channels{};
    for (std::size_t i = 0; i < kChannelsPerWindow; ++i) channels[i] = static_cast<std::uint16_t>(first + i);
    view.Document().SetChannels(channels);
    Count(view.Model(), m_figures.monitorUpdates);
  }

  void OpenMemoryWindow() {
    if (m_app->MemoryKind().AddressView() != nullptr) return;
    Choose(gui::cmd::kReadWriteData);
    gui::CAddressView* view = m_app->MemoryKind().AddressView();
    ASSERT_NE(view, nullptr) << "the memory window opens after the service password";
    Count(view->Model(), m_figures.memoryUpdates);
  }

  // Counts the model's value updates in total and for its window while it lives.
  void Count(QAbstractItemModel& model, long& total) {
    m_updates[&model] = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, &model, [this, &model, &total] {
      ++total;
      ++m_updates[&model];
    });
    QObject::connect(&model, &QObject::destroyed, [this, &model] { m_updates.erase(&model); });
  }

  std::vector<gui::CChildFrame*> MonitorFrames() {
    std::vector<gui::CChildFrame*> frames;
    for (gui::CChildFrame* frame : m_app->MonitorKind().Frames()) {
      if (gui::CMonitorTemplate::MonitorViewOf(*frame) != nullptr) frames.push_back(frame);
    }
    return frames;
  }

  // A completed download leaves Download\New at TRUE and the file's path in Download\File.
  // The file is checked for completeness and removed, so a long run does not fill the disk.
  void CollectDownload() {
    Profile profile(m_app->Context().store);
    if (profile.GetProfileString(reg::kDownloadSection, reg::kNew, "") != reg::kTrue) return;
    profile.WriteProfileString(reg::kDownloadSection, reg::kNew, "");
    const std::string path = profile.GetProfileString(reg::kDownloadSection, reg::kFile, "");
    ++m_figures.downloadsCompleted;
    std::ifstream file(path, std::ios::binary);
    std::vector<std::uint8_t> start(kLoggerHeaderSize);
    file.read(reinterpret_cast<char*>(start.data()), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    std::string_view error;
    const auto info = ReadDataFileInfo(start, static_cast<std::uint64_t>(QFileInfo(QString::fromStdString(path)).size()), error);
    if (!info || !info->Complete()) {
      ++m_figures.incompleteFiles;
      ADD_FAILURE() << path << " is not a complete data file: " << error;
    }
    QFile::remove(QString::fromStdString(path));
  }

  // The logging cycle a user runs between downloads: start, let it log, stop, download.
  void NextLoggingStep() {
    switch (m_phase) {
      case Phase::kIdle:
        StartLogging();
        if (m_sim->IsLogging()) {
          m_phase = Phase::kLogging;
          m_loggingUntil = Clock::now() + std::chrono::milliseconds(Between(1500, 4000));
        }
        break;
      case Phase::kLogging:
        if (Clock::now() < m_loggingUntil) break;
        StopLogging();
        if (!m_sim->IsLogging()) m_phase = Phase::kStopped;
        break;
      case Phase::kStopped:
        ChooseDownload();
        m_phase = Phase::kIdle;
        break;
    }
  }

  // Start Logger is a toggle whose check mark goes when the LCU is lost: after a replug the
  // LCU may still log with the item unchecked, and it takes two choices to stop it (or, after
  // a failed write, to start it).
  void StartLogging() {
    for (int i = 0; i < 2 && !m_sim->IsLogging(); ++i) Choose(gui::cmd::kStartLogger);
  }
  void StopLogging() {
    for (int i = 0; i < 2 && m_sim->IsLogging(); ++i) Choose(gui::cmd::kStartLogger);
  }

  // Some downloads lose the LCU part way: it is unplugged at one of their first transfers.
  void ChooseDownload(bool mayUnplug = true) {
    if (mayUnplug && Chance(30)) {
      m_sim->SetFaults({.unplugAtTransfer = Between(1, 60)});
      m_unplugged = true;
    }
    Choose(gui::cmd::kDownload);
    CollectDownload();
  }

  // The memory window's address bar: opened, stepped a page either way, given an address
  // and a number of rows (now and then one out of range), or closed.
  void MoveMemoryWindow() {
    gui::CAddressView* view = m_app->MemoryKind().AddressView();
    if (view == nullptr) return;
    gui::CAddressDlg* bar = view->m_pAddressDlg.data();
    if (bar == nullptr) {
      view->OnColumnClick(gui::kAddrColumn);
      return;
    }
    const int roll = Between(0, 9);
    if (roll < 4) {
      bar->OnDeltaPos(Chance(50) ? 1 : -1);
    } else if (roll < 8) {
      bar->AddressBox().setText(gui::AddressBarText(static_cast<std::uint16_t>(Between(0, 0xFFFF))));
      bar->RangeBox().setText(QString::number(Between(0, 70)));
      bar->OnOK();
    } else {
      bar->reject();
    }
  }

  // One random action. The next step is armed first, so that steps also come in while a
  // download lets events through.
  void Step() {
    m_stepTimer.start(Between(100, 900));
    CollectDownload();
    OpenMemoryWindow();
    if (m_unplugged) {
      if (Chance(50)) {
        m_sim->Replug();
        m_unplugged = false;
      }
      return;
    }
    const int roll = Between(0, 99);
    if (roll < 6) {
      m_sim->Unplug();
      m_unplugged = true;
      ++m_figures.unplugs;
    } else if (roll < 9) {
      // Replugged at a later step whether or not it has happened by then.
      m_sim->SetFaults({.unplugAtTransfer = Between(1, 400)});
      m_unplugged = true;
    } else if (roll < 40) {
      NextLoggingStep();
    } else if (roll < 44) {
      ChooseDownload();
    } else if (roll < 46) {
      const auto frames = MonitorFrames();
      if (!frames.empty()) frames[static_cast<std::size_t>(Between(0, static_cast<int>(frames.size()) - 1))]->close();
      OpenMonitorWindow();
    } else if (roll < 48) {
      // The window goes with the next pass of the event loop; the next step opens a new one.
      if (gui::CAddressView* view = m_app->MemoryKind().AddressView()) {
        view->parentWidget()->close();
      }
    } else if (roll < 53) {
      MoveMemoryWindow();
    }
  }

  enum class Phase { kIdle, kLogging, kStopped };

  QTemporaryDir m_dir;
  QString m_dataDir;
  std::unique_ptr<gui::CTavrixApp> m_app;
  sim::LcuSimulator* m_sim = nullptr;
  SoakPrompter* m_prompter = nullptr;
  std::mt19937 m_random;
  QTimer m_stepTimer;
  bool m_unplugged = false;
  Phase m_phase = Phase::kIdle;
  Clock::time_point m_loggingUntil;
  std::map<const QAbstractItemModel*, long> m_updates;
  SoakFigures m_figures;
};

TEST_F(SoakTest, RunsForTheGivenTimeWithoutGrowingAndKeepsDoingItsWork) {
  const auto seconds = std::chrono::seconds(EnvironmentNumber("LCU_SOAK_SECONDS", 60));
  const auto sequence = static_cast<unsigned>(EnvironmentNumber("LCU_SOAK_RANDOM", kDefaultRandom));
  const auto warmUp = std::min<std::chrono::seconds>(kLongestWarmUp, seconds / 3);
  const char* asanOptions = std::getenv("ASAN_OPTIONS");
  std::printf("soak: %llds, warm-up %llds, LCU_SOAK_RANDOM=%u, ASAN_OPTIONS=%s\n",
              static_cast<long long>(seconds.count()), static_cast<long long>(warmUp.count()), sequence,
              asanOptions != nullptr ? asanOptions : "(unset)");
  m_random = std::mt19937(sequence);

  Start();
  Choose(gui::cmd::kPassword);
  RunFor(3s);
  ASSERT_TRUE(m_app->Device().m_bOnline) << "the simulated LCU comes on line";
  for (int i = 0; i < kMonitorWindows; ++i) OpenMonitorWindow();
  OpenMemoryWindow();

  long rssWarm = -1;
  long heapWarm = -1;
  m_stepTimer.setSingleShot(true);
  QObject::connect(&m_stepTimer, &QTimer::timeout, [this] { Step(); });
  m_stepTimer.start(Between(100, 900));
  QTimer::singleShot(warmUp, [&rssWarm, &heapWarm] {
    rssWarm = ResidentKiB();
    heapWarm = HeapInUseKiB();
  });
  RunFor(seconds);
  m_stepTimer.stop();
  const long rssEnd = ResidentKiB();
  const long heapEnd = HeapInUseKiB();

  // The program must come back to work after the last replug: the LCU is plugged in, one
  // more logging run is downloaded, and every window receives values again.
  m_sim->SetFaults({});
  m_sim->Replug();
  m_unplugged = false;
  RunFor(3s);
  ASSERT_TRUE(m_app->Device().m_bOnline) << "the LCU comes back on line after the last replug";
  OpenMemoryWindow();
  StopLogging();
  StartLogging();
  RunFor(1500ms);
  StopLogging();
  const long completedBefore = m_figures.downloadsCompleted;
  ChooseDownload(false);
  EXPECT_EQ(m_figures.downloadsCompleted, completedBefore + 1) << "a download after the soak completes";
  for (auto& [model, count] : m_updates) count = 0;
  RunFor(2s);
  for (gui::CChildFrame* frame : MonitorFrames()) {
    EXPECT_GT(m_updates[&gui::CMonitorTemplate::MonitorViewOf(*frame)->Model()], 0)
        << frame->WindowName().toStdString() << " receives values";
  }
  EXPECT_EQ(static_cast<int>(MonitorFrames().size()), kMonitorWindows);
  ASSERT_NE(m_app->MemoryKind().AddressView(), nullptr);
  EXPECT_GT(m_updates[&m_app->MemoryKind().AddressView()->Model()], 0) << "the memory window refreshes";

  const SoakFigures& f = m_figures;
  std::printf("soak: %ld downloads completed, %ld unplugs, %ld monitor and %ld memory updates\n",
              f.downloadsCompleted, f.unplugs, f.monitorUpdates, f.memoryUpdates);
  for (const auto& [text, count] : m_prompter->messages) std::printf("soak: message x%ld: %s\n", count, text.c_str());
  std::printf("soak: resident size after warm-up %ld KiB, at the end %ld KiB (growth %+ld KiB, tolerance %ld KiB)\n",
              rssWarm, rssEnd, rssEnd - rssWarm, kRssToleranceKiB);
  if (heapWarm >= 0)
    std::printf("soak: heap in use after warm-up %ld KiB, at the end %ld KiB (growth %+ld KiB, tolerance %ld KiB)\n",
                heapWarm, heapEnd, heapEnd - heapWarm, kHeapToleranceKiB);
  std::fflush(stdout);

  EXPECT_GE(f.downloadsCompleted, 2);
  EXPECT_EQ(f.incompleteFiles, 0);
  EXPECT_GT(f.unplugs, 0);
  EXPECT_GT(f.monitorUpdates, 0);
  EXPECT_GT(f.memoryUpdates, 0);
  ASSERT_GT(rssWarm, 0);
  EXPECT_LE(rssEnd - rssWarm, kRssToleranceKiB) << "the resident size grew after the warm-up";
  if (heapWarm >= 0) {
    EXPECT_LE(heapEnd - heapWarm, kHeapToleranceKiB) << "the heap in use grew after the warm-up";
  }
}

}  // namespace
}  // namespace lcu::test
