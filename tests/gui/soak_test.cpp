// The desktop program left running against the simulated LCU as a busy technician uses it:
// four monitor windows of 200 channels at their normal 200 ms, the memory window and its
// address bar, logging, downloads, windows closed and opened again, and the LCU unplugged at
// random moments (also within a transfer). It passes when nothing crashes or trips a sanitizer,
// the work got done (complete data files, values in every window, also after the last replug),
// and neither the resident size nor, under the address sanitizer, the heap in use grew after
// the warm-up (the first minute, or the first third of a shorter run). LCU_SOAK_SECONDS sets
// the length (default 60); LCU_SOAK_RANDOM=N replays another random sequence.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>

#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

#include "core/logger/data_file.h"
#include "core/logger/logger_header.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/memory/address_dlg.h"
#include "gui/memory/address_view.h"
#include "gui/memory/memory_template.h"
#include "gui_fixture.h"

namespace lcu::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kMonitorWindows = 4;
// Growth after the warm-up that still passes. Under the address sanitizer its allocator keeps
// touching fresh pages (and their shadow) for a long while, about 1.5 MiB a minute, while the
// bytes in use stay flat; the heap in use is therefore held to a much tighter bound.
constexpr long kRssToleranceKiB = 16 * 1024;
constexpr long kHeapToleranceKiB = 1024;

long EnvironmentNumber(const char* name, long fallback) {
  const long value = qEnvironmentVariableIntValue(name);
  return value > 0 ? value : fallback;
}

/// VmRSS of this process in KiB, from /proc/self/status.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

/// Under the address sanitizer, the KiB the program holds on the heap, from its runtime's
/// allocator (GCC ships no header for it); -1 otherwise.
#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
long HeapInUseKiB() { return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024); }
#else
long HeapInUseKiB() { return -1; }
#endif

void RunFor(std::chrono::milliseconds duration) {
  QEventLoop loop;
  QTimer::singleShot(duration, &loop, &QEventLoop::quit);
  loop.exec();
}

class SoakTest : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    SetValue(reg::kSettings, reg::kAutoDownload, 1);
    Start(std::make_unique<SystemClock>());
    Forget();
  }
  // The user knows the service password and cancels every other dialog. What the
  // prompter records is forgotten at every step: a soak must not hold what grows with time.
  void Forget() {
    *prompter = RecordingGuiPrompter();
    prompter->passwordEntries = {gui::ToQString(gui::text::kServicePassword1)};
  }

  bool Chance(int percent) { return Between(0, 99) < percent; }
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
  gui::CAddressView* MemoryView() { return app->MemoryKind().AddressView(); }

  void OpenMonitorWindow() { Count(WindowWith(Range(static_cast<std::uint16_t>(Between(0, 64)), 200)).Model()); }
  void OpenMemoryWindow() {
    if (MemoryView() != nullptr) return;
    Choose(gui::cmd::kReadWriteData);
    ASSERT_NE(MemoryView(), nullptr) << "the memory window opens after the service password";
    Count(MemoryView()->Model());
  }
  // Counts each window's value updates while it lives.
  void Count(QAbstractItemModel& model) {
    m_updates[&model] = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, &model, [this, &model] { ++m_updates[&model]; });
    QObject::connect(&model, &QObject::destroyed, [this, &model] { m_updates.erase(&model); });
  }
  std::vector<gui::CChildFrame*> MonitorFrames() {
    std::vector<gui::CChildFrame*> frames = Frames();
    std::erase_if(frames,
                  [](gui::CChildFrame* frame) { return gui::MonitorTemplate::MonitorViewOf(*frame) == nullptr; });
    return frames;
  }

  // A completed download leaves Download\New at TRUE and the file's path in Download\File.
  // The file must be complete; it is removed so that a long run does not fill the disk.
  void CollectDownload() {
    Profile profile(app->Context().store);
    if (profile.GetProfileString(reg::kDownloadSection, reg::kNew, "") != reg::kTrue) return;
    profile.WriteProfileString(reg::kDownloadSection, reg::kNew, "");
    const std::string path = profile.GetProfileString(reg::kDownloadSection, reg::kFile, "");
    ++m_downloads;
    std::vector<std::uint8_t> start(kLoggerHeaderSize);
    std::ifstream(path, std::ios::binary)
        .read(reinterpret_cast<char*>(start.data()), static_cast<std::streamsize>(start.size()));
    std::string_view error;
    const auto info =
        ReadDataFileInfo(start, static_cast<std::uint64_t>(QFileInfo(QString::fromStdString(path)).size()), error);
    EXPECT_TRUE(info && info->Complete()) << path << " is not a complete data file: " << error;
    QFile::remove(QString::fromStdString(path));
  }
  // Some downloads lose the LCU part way: it is unplugged at one of their first transfers.
  void ChooseDownload(bool mayUnplug = true) {
    if (mayUnplug && Chance(30)) {
      sim->SetFaults({.unplugAtTransfer = Between(1, 60)});
      m_unplugged = true;
    }
    Choose(gui::cmd::kDownload);
    CollectDownload();
  }
  // Start Logger is a toggle whose check mark goes when the LCU is lost: after a replug the
  // LCU may still log with the item unchecked, and it takes two choices to reach the state.
  void SetLogging(bool on) {
    for (int i = 0; i < 2 && sim->IsLogging() != on; ++i) Choose(gui::cmd::kStartLogger);
  }
  // The logging cycle a user runs between downloads: start, let it log, stop, download.
  void NextLoggingStep() {
    if (!sim->IsLogging() && !m_stopped) {
      SetLogging(true);
      m_loggingUntil = Clock::now() + std::chrono::milliseconds(Between(1500, 4000));
    } else if (sim->IsLogging() && Clock::now() >= m_loggingUntil) {
      SetLogging(false);
      m_stopped = !sim->IsLogging();
    } else if (m_stopped) {
      ChooseDownload();
      m_stopped = false;
    }
  }
  // The memory window's address bar: opened, stepped a page, given an address and a number
  // of rows (now and then one out of range), or closed.
  void MoveMemoryWindow() {
    gui::CAddressDlg* bar = MemoryView()->m_pAddressDlg.data();
    if (bar == nullptr) {
      MemoryView()->OnColumnClick(gui::kAddrColumn);
    } else if (Chance(40)) {
      bar->OnDeltaPos(Chance(50) ? 1 : -1);
    } else if (Chance(70)) {
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
    Forget();
    CollectDownload();
    OpenMemoryWindow();
    if (m_unplugged) {
      if (Chance(50)) {
        sim->Replug();
        m_unplugged = false;
      }
      return;
    }
    const int roll = Between(0, 99);
    if (roll < 6) {
      sim->Unplug();
      m_unplugged = true;
      ++m_unplugs;
    } else if (roll < 9) {
      // Replugged at a later step whether or not it has happened by then.
      sim->SetFaults({.unplugAtTransfer = Between(1, 400)});
      m_unplugged = true;
    } else if (roll < 40) {
      NextLoggingStep();
    } else if (roll < 44) {
      ChooseDownload();
    } else if (roll < 46) {
      const auto frames = MonitorFrames();
      if (!frames.empty()) frames[static_cast<std::size_t>(Between(0, static_cast<int>(frames.size()) - 1))]->close();
      OpenMonitorWindow();
    } else if (roll < 48 && MemoryView() != nullptr) {
      MemoryView()->parentWidget()->close();  // a new one opens at the next step
    } else if (roll < 53 && MemoryView() != nullptr) {
      MoveMemoryWindow();
    }
  }

  std::mt19937 m_random;
  QTimer m_stepTimer;
  bool m_unplugged = false;
  bool m_stopped = false;
  Clock::time_point m_loggingUntil;
  std::map<const QAbstractItemModel*, long> m_updates;
  long m_downloads = 0;
  long m_unplugs = 0;
};

TEST_F(SoakTest, RunsForTheGivenTimeWithoutGrowingAndKeepsDoingItsWork) {
  const auto seconds = std::chrono::seconds(EnvironmentNumber("LCU_SOAK_SECONDS", 60));
  const auto sequence = static_cast<unsigned>(EnvironmentNumber("LCU_SOAK_RANDOM", 20261206));
  const auto warmUp = std::min<std::chrono::seconds>(60s, seconds / 3);
  std::printf("soak: %llds, LCU_SOAK_RANDOM=%u\n", static_cast<long long>(seconds.count()), sequence);
  m_random = std::mt19937(sequence);

  Choose(gui::cmd::kPassword);
  RunFor(3s);
  ASSERT_TRUE(app->Device().IsOnline()) << "the simulated LCU comes on line";
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
  std::printf("soak: %ld downloads, %ld unplugs; resident %ld -> %ld KiB, heap %ld -> %ld KiB\n", m_downloads,
              m_unplugs, rssWarm, rssEnd, heapWarm, heapEnd);

  // The program must come back to work after the last replug: the LCU is plugged in, one
  // more logging run is downloaded, and every window receives values again.
  sim->SetFaults({});
  sim->Replug();
  RunFor(3s);
  ASSERT_TRUE(app->Device().IsOnline()) << "the LCU comes back on line after the last replug";
  OpenMemoryWindow();
  SetLogging(false);
  SetLogging(true);
  RunFor(1500ms);
  SetLogging(false);
  const long downloadsBefore = m_downloads;
  ChooseDownload(false);
  EXPECT_EQ(m_downloads, downloadsBefore + 1) << "a download after the soak completes";
  for (auto& [model, count] : m_updates) count = 0;
  RunFor(2s);
  EXPECT_EQ(static_cast<int>(MonitorFrames().size()), kMonitorWindows);
  for (const auto& [model, count] : m_updates) EXPECT_GT(count, 0) << "every window receives values";

  EXPECT_GE(m_downloads, 2);
  EXPECT_GT(m_unplugs, 0);
  ASSERT_GT(rssWarm, 0);
  EXPECT_LE(rssEnd - rssWarm, kRssToleranceKiB) << "the resident size grew after the warm-up";
  EXPECT_LE(heapEnd - heapWarm, kHeapToleranceKiB) << "the heap in use grew after the warm-up";
}

}  // namespace
}  // namespace lcu::test
