// Start-up time of corvalent: from the exec of the program to its first painted main window,
// with a monitor settings file of 20 windows restored, against the same program with an empty
// layout and against a minimal Qt Widgets program (one QMainWindow shown). A fourth case
// measures what Qt itself costs for the same 20 windows: the minimal program with an MDI area
// of 20 plain QTableViews of the layout's sizes, fonts, rows and column widths, which bounds
// how close to the empty layout any program built on these widgets can come.
//
// Every run is a child process, this program re-executed, so that process start-up, dynamic
// linking and Qt's initialisation are counted. The child starts the desktop program as its
// main() does (on the simulated LCU), notes the first paint event of the main window once
// InitInstance has restored the layout, notes when that first repaint pass has finished, and
// quits. Each run has its own temporary home folder holding the settings store (and the
// settings file), and its own runtime folder for the single-copy lock. Runs are sequential.
// The first round is a discarded warm-up; the figures are medians of the rounds after it.
//
// The suite runs on the offscreen platform and, when xvfb-run is installed, once more on
// the xcb platform inside one Xvfb server (started once, so its own start is not counted).
//
// Run:
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLCU_BUILD_TESTS=OFF
//   cmake --build build/bench --target lcu_bench_startup
//   build/bench/bench/lcu_bench_startup [--runs N] [--no-xvfb]
//
// To profile one start-up by hand, prepare a home folder and run a child in it:
//   lcu_bench_startup --prepare-layout-home DIR     (or --prepare-home DIR: empty layout)
//   HOME=DIR XDG_RUNTIME_DIR=DIR/run QT_QPA_PLATFORM=offscreen
//     perf record -g lcu_bench_startup --child program -- --simulate   (in that environment)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/registry.h"
#include "core/monitor/settings_image.h"
#include "gui/app/device_options.h"
#include "gui/app/main_frame.h"
#include "gui/app/program_identity.h"
#include "gui/app/program_services.h"
#include "gui/app/single_instance_lock.h"
#include "gui/app/tavrix_app.h"
#include "gui/monitor/list_font.h"
#include "qtstore/qt_settings_store.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kLayoutWindows = 20;
constexpr int kChannelsPerWindow = 32;
constexpr int kDefaultRuns = 7;
// A child that has not painted by then has hung.
constexpr int kChildTimeoutMs = 30000;

// The main window's placement in both program cases, in the settings and in the file.
constexpr int kMainLeft = 0;
constexpr int kMainTop = 0;
constexpr int kMainWidth = 1024;
constexpr int kMainHeight = 768;

std::int64_t ClockNs(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

std::int64_t MonotonicNs() { return ClockNs(CLOCK_MONOTONIC); }

// ---------------------------------------------------------------------------------------
// The child side: one start-up, its moments written to stdout as "name nanoseconds" lines
// of the monotonic clock, which the parent shares.

class Moments {
 public:
  void Note(const char* name) { m_moments.emplace_back(name, MonotonicNs()); }
  /// The CPU time the process has used so far, every thread counted.
  void NoteCpu(const char* name) { m_moments.emplace_back(name, ClockNs(CLOCK_PROCESS_CPUTIME_ID)); }
  void Print() const {
    for (const auto& [name, ns] : m_moments) std::printf("%s %lld\n", name, static_cast<long long>(ns));
    std::fflush(stdout);
  }

 private:
  std::vector<std::pair<const char*, std::int64_t>> m_moments;
};

// Notes the window's first paint event and, once the repaint pass it belongs to has ended
// (every child widget painted and the result flushed), the end of the first frame; then the
// event loop ends.
class FirstPaintWatch : public QObject {
 public:
  FirstPaintWatch(QWidget& window, Moments& moments) : m_moments(moments) { window.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !m_seen) {
      m_seen = true;
      m_moments.Note("paint");
      QTimer::singleShot(0, this, [this] {
        m_moments.Note("painted");
        m_moments.NoteCpu("cpu");
        QCoreApplication::exit(0);
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  Moments& m_moments;
  bool m_seen = false;
};

// Notes "init", runs the event loop until the first repaint pass of watched has ended (or
// the time-out) and prints the moments of a finished run.
int RunUntilPainted(QWidget& watched, Moments& moments) {
  moments.Note("init");
  FirstPaintWatch watch(watched, moments);
  QTimer::singleShot(kChildTimeoutMs, [] { QCoreApplication::exit(3); });
  const int result = QApplication::exec();
  if (result == 0) moments.Print();
  return result;
}

// The desktop program's main(), with the paint watch added once InitInstance has returned.
int ChildProgram(int argc, char** argv, Moments& moments) {
  QApplication application(argc, argv);
  lcu::gui::SetProgramIdentity();
  moments.Note("qapp");
  const lcu::program::ProgramOptions options = lcu::gui::ParseDeviceOptions(QApplication::arguments());

  lcu::gui::SingleInstanceLock lock;
  if (!lock.TryLock()) {
    std::fprintf(stderr, "another copy holds the single-copy lock\n");
    return 1;
  }

  lcu::gui::CTavrixApp::Services services = lcu::gui::MakeProgramServices(options);
  moments.Note("services");

  auto app = std::make_unique<lcu::gui::CTavrixApp>(std::move(services));
  if (!app->InitInstance()) return 1;
  return RunUntilPainted(*app->MainFrame(), moments);
}

int ChildMinimal(int argc, char** argv, Moments& moments) {
  QApplication application(argc, argv);
  moments.Note("qapp");
  QMainWindow window;
  window.setGeometry(kMainLeft, kMainTop, kMainWidth, kMainHeight);
  window.show();
  return RunUntilPainted(window, moments);
}

// The monitor settings of the layout case: 20 windows of 32 channels tiled over the
// MDI area, as the program itself saves them (version 2, with fonts and column widths).
lcu::SettingsImage LayoutImage() {
  lcu::SettingsImage image;
  image.version = lcu::kSettingsVersion;
  image.windowCount = kLayoutWindows;
  image.mainPlacement.showCmd = lcu::kPlacementNormal;
  image.mainPlacement.minX = image.mainPlacement.minY = image.mainPlacement.maxX = image.mainPlacement.maxY = -1;
  image.mainPlacement.left = kMainLeft;
  image.mainPlacement.top = kMainTop;
  image.mainPlacement.right = kMainLeft + kMainWidth;
  image.mainPlacement.bottom = kMainTop + kMainHeight;
  constexpr int kColumns = 5;
  constexpr int kWidth = 200;
  constexpr int kHeight = 170;
  const char* const faces[] = {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"};
  for (int k = 0; k < kLayoutWindows; ++k) {
    lcu::MonitorWindowRecord& record = image.records[static_cast<std::size_t>(k)];
    record.placement.showCmd = lcu::kPlacementNormal;
    record.placement.minX = record.placement.minY = record.placement.maxX = record.placement.maxY = -1;
    record.placement.left = (k % kColumns) * kWidth;
    record.placement.top = (k / kColumns) * kHeight;
    record.placement.right = record.placement.left + kWidth;
    record.placement.bottom = record.placement.top + kHeight;
    for (int i = 0; i < kChannelsPerWindow; ++i)
      record.channels[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>((k * 7 + i) % 132);
    record.channelCount = kChannelsPerWindow;
    record.active = k == kLayoutWindows - 1 ? 1 : 0;
    record.SetName("Window " + std::to_string(k + 1));
    record.columnWidths = {40, 120, 70, 50, 45};
    record.font.height = -(11 + k % 4);
    record.font.weight = k % 3 == 1 ? lcu::kFontWeightBold : lcu::kFontWeightNormal;
    record.font.charSet = 1;
    record.font.SetFaceName(faces[k % 3]);
  }
  return image;
}

// What Qt itself costs for the layout's widgets: the minimal window with an MDI area holding
// kLayoutWindows sub-windows of the layout's sizes and fonts, each a plain QTableView over a
// QStandardItemModel with the program's rows (ID, name and units filled, no readings yet) and
// column widths. No settings, no LCU, no channel model: the floor under the layout case.
int ChildBareTables(int argc, char** argv, Moments& moments) {
  QApplication application(argc, argv);
  moments.Note("qapp");
  QMainWindow window;
  window.setGeometry(kMainLeft, kMainTop, kMainWidth, kMainHeight);
  auto* area = new QMdiArea;
  window.setCentralWidget(area);
  const lcu::SettingsImage image = LayoutImage();
  for (int k = 0; k < kLayoutWindows; ++k) {
    const lcu::MonitorWindowRecord& record = image.records[static_cast<std::size_t>(k)];
    auto* model = new QStandardItemModel(kChannelsPerWindow, 5, area);
    model->setHorizontalHeaderLabels({"ID", "Channel", "Value", "Units", "Raw"});
    for (int row = 0; row < kChannelsPerWindow; ++row) {
      model->setItem(row, 0, new QStandardItem(QString::number(record.channels[static_cast<std::size_t>(row)])));
      model->setItem(row, 1, new QStandardItem(QStringLiteral("CHANNEL %1").arg(row)));
      model->setItem(row, 3, new QStandardItem(QStringLiteral("bar")));
    }
    auto* table = new QTableView;
    table->setFont(lcu::gui::FontFromLogFont(record.font, table->font()));
    table->setModel(model);
    table->verticalHeader()->hide();
    table->setShowGrid(false);
    for (int column = 0; column < 5; ++column)
      table->setColumnWidth(column, record.columnWidths[static_cast<std::size_t>(column)]);
    QMdiSubWindow* sub = area->addSubWindow(table);
    sub->setWindowTitle(QString::fromStdString(record.NameText()));
    sub->setGeometry(record.placement.left, record.placement.top, record.placement.right - record.placement.left,
                     record.placement.bottom - record.placement.top);
    sub->show();
  }
  window.show();
  // The main window itself paints nothing here (the MDI area covers it): the area's first
  // paint is the same moment, since the area is painted before its sub-windows.
  return RunUntilPainted(*area->viewport(), moments);
}

// ---------------------------------------------------------------------------------------
// The parent side.

struct Case {
  const char* label;
  const char* kind;  // "program", "minimal" or "bare"
  bool layout;       // program only: the settings name a file of kLayoutWindows windows
};

constexpr std::array<Case, 4> kCases = {{
    {"minimal Qt window", "minimal", false},
    {"empty layout", "program", false},
    {"layout of 20 windows", "program", true},
    {"20 bare Qt tables", "bare", false},
}};

// Phases shown: each from the exec, ms.
constexpr std::array<const char*, 5> kPhases = {"main", "qapp", "init", "paint", "painted"};

std::string SelfPath() {
  std::error_code error;
  const fs::path path = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(separator, start), text.size());
    parts.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::optional<std::string> FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  for (const std::string& folder : Split(path, ':')) {
    if (folder.empty()) continue;
    const fs::path candidate = fs::path(folder) / name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return std::nullopt;
}

// That layout as the settings file the program restores.
void WriteLayoutFile(const fs::path& path) {
  const lcu::SettingsImage image = LayoutImage();
  std::vector<std::uint8_t> bytes(lcu::kSettingsImageSize);
  image.Write(std::span<std::uint8_t, lcu::kSettingsImageSize>(bytes.data(), lcu::kSettingsImageSize));
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

// A fresh home folder: the settings store at its usual place with the main window's
// placement, and for the layout case the settings file named as the one used last.
void PrepareHome(const fs::path& home, bool layout) {
  fs::create_directories(home / ".config" / "Velmora");
  fs::create_directories(home / "run");
  fs::permissions(home / "run", fs::perms::owner_all, fs::perm_options::replace);
  lcu::QtSettingsStore store(QString::fromStdString((home / ".config" / "Velmora" / "Velmora.ini").string()));
  lcu::Profile profile(store);
  profile.WriteProfileInt(lcu::reg::kSettings, lcu::reg::kLeft, kMainLeft);
  profile.WriteProfileInt(lcu::reg::kSettings, lcu::reg::kTop, kMainTop);
  profile.WriteProfileInt(lcu::reg::kSettings, lcu::reg::kRight, kMainLeft + kMainWidth);
  profile.WriteProfileInt(lcu::reg::kSettings, lcu::reg::kBottom, kMainTop + kMainHeight);
  if (layout) {
    const fs::path file = home / "layout.nsb";
    WriteLayoutFile(file);
    profile.WriteProfileString(lcu::reg::kSettings, lcu::reg::kMonitor, file.string());
  }
}

std::vector<std::string> CurrentEnvironment() {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
  return env;
}

// The child's environment: this one with its own home, configuration, cache and runtime
// folders, and the platform plugin chosen.
std::vector<std::string> ChildEnvironment(const fs::path& home, const std::string& platform) {
  const std::vector<std::string_view> replaced = {
      "HOME=", "XDG_CONFIG_HOME=", "XDG_CACHE_HOME=", "XDG_DATA_HOME=", "XDG_RUNTIME_DIR=", "QT_QPA_PLATFORM="};
  std::vector<std::string> env;
  for (std::string& entry : CurrentEnvironment()) {
    if (std::none_of(replaced.begin(), replaced.end(), [&](std::string_view p) { return entry.starts_with(p); }))
      env.push_back(std::move(entry));
  }
  env.push_back("HOME=" + home.string());
  env.push_back("XDG_RUNTIME_DIR=" + (home / "run").string());
  env.push_back("QT_QPA_PLATFORM=" + platform);
  return env;
}

struct ChildRun {
  std::int64_t exec = 0;
  std::map<std::string, std::int64_t> moments;
  int status = -1;
  std::string output;
};

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Starts a program with stdout on a pipe and stderr to a file, and waits for it. exec is
// the moment just before the process is spawned.
ChildRun Spawn(const std::string& program, std::vector<std::string> args, std::vector<std::string> env,
               const fs::path& errorFile) {
  ChildRun run;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv = PointersTo(args);
  std::vector<char*> envp = PointersTo(env);
  pid_t pid = 0;
  run.exec = MonotonicNs();
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return run;
  }
  std::array<char, 4096> buffer{};
  for (;;) {
    const ssize_t n = read(pipeFds[0], buffer.data(), buffer.size());
    if (n > 0) {
      run.output.append(buffer.data(), static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipeFds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  for (const std::string& line : Split(run.output, '\n')) {
    const std::size_t space = line.find(' ');
    if (space != std::string::npos)
      run.moments[line.substr(0, space)] = std::strtoll(line.c_str() + space + 1, nullptr, 10);
  }
  return run;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string ReadText(const fs::path& path) {
  std::string text;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return text;
  std::array<char, 4096> buffer{};
  for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0;) text.append(buffer.data(), n);
  return text;
}

// Runs the three cases round by round (the first round discarded) on one platform and
// prints the table. Returns the medians of "painted" per case, or nothing on a failure.
std::optional<std::array<double, kCases.size()>> RunSuite(const std::string& self, const std::string& platform,
                                                          int runs) {
  const fs::path root = fs::temp_directory_path() / ("lcu_bench_startup." + std::to_string(getpid()));
  std::array<std::map<std::string, std::vector<double>>, kCases.size()> phases;
  std::array<double, kCases.size()> firstRun{};
  for (int round = 0; round <= runs; ++round) {
    for (std::size_t c = 0; c < kCases.size(); ++c) {
      const Case& run = kCases[c];
      const fs::path home = root / (std::to_string(round) + "-" + std::to_string(c));
      PrepareHome(home, run.layout);
      std::vector<std::string> args = {self, "--child", run.kind};
      if (std::string_view(run.kind) == "program") args.insert(args.end(), {"--", "--simulate"});
      const fs::path errors = home / "stderr.txt";
      const ChildRun child = Spawn(self, args, ChildEnvironment(home, platform), errors);
      if (child.status != 0 || !child.moments.contains("painted")) {
        std::fprintf(stderr, "%s on %s: the child ended with status %d\n%s", run.label, platform.c_str(), child.status,
                     ReadText(errors).c_str());
        fs::remove_all(root);
        return std::nullopt;
      }
      for (const char* phase : kPhases) {
        const auto at = child.moments.find(phase);
        if (at != child.moments.end()) phases[c][phase].push_back(static_cast<double>(at->second - child.exec) / 1e6);
      }
      if (const auto cpu = child.moments.find("cpu"); cpu != child.moments.end())
        phases[c]["cpu"].push_back(static_cast<double>(cpu->second) / 1e6);
      if (round == 0) {
        firstRun[c] = phases[c]["painted"].front();
        phases[c].clear();
      }
      fs::remove_all(home);
    }
  }
  fs::remove_all(root);

  std::printf("platform %s: from exec, ms, median of %d warm runs (one discarded run first)\n", platform.c_str(), runs);
  std::printf("  %-22s %8s %8s %8s %8s %8s %8s %10s\n", "case", "main", "QApp", "init", "paint", "painted", "CPU",
              "first run");
  std::array<double, kCases.size()> painted{};
  std::array<double, kCases.size()> cpu{};
  for (std::size_t c = 0; c < kCases.size(); ++c) {
    std::printf("  %-22s", kCases[c].label);
    for (const char* phase : kPhases) std::printf(" %8.1f", Median(phases[c][phase]));
    painted[c] = Median(phases[c]["painted"]);
    cpu[c] = Median(phases[c]["cpu"]);
    std::printf(" %8.1f %10.1f\n", cpu[c], firstRun[c]);
  }
  std::printf(
      "  main: entry of main(); QApp: QApplication made; init: the program's InitInstance done (the\n"
      "  minimal window: shown); paint: first paint event of the main window; painted: that first\n"
      "  repaint pass ended; CPU: the CPU time of the process until then, all threads (less\n"
      "  disturbed than the clock by other work on the machine)\n");
  std::printf("  20 windows: %.0f ms warm (goal <= 1000 ms); empty layout / minimal Qt window: %.2fx\n", painted[2],
              painted[1] / painted[0]);
  std::printf("  20 windows / empty layout, CPU time: %.2fx\n", cpu[2] / cpu[1]);
  // Qt's own share: had the program's windows cost no more than the bare tables above the
  // minimal window, the layout would take empty + (bare - minimal).
  std::printf(
      "  20 bare Qt tables / minimal Qt window: %.2fx; the best the layout could do at Qt's own cost:\n"
      "  (empty layout + bare tables - minimal) / empty layout = %.2fx; the program's 20 windows cost\n"
      "  %.2fx what the bare tables add\n",
      painted[3] / painted[0], (painted[1] + painted[3] - painted[0]) / painted[1],
      (painted[2] - painted[1]) / (painted[3] - painted[0]));
  std::printf("  20 windows / empty layout on %s: %.2fx (goal <= 1.5x)\n", platform.c_str(), painted[2] / painted[1]);
  std::fflush(stdout);
  return painted;
}

constexpr std::string_view kRatioPrefix = "ratio-line ";

int Parent(int argc, char** argv) {
  int runs = kDefaultRuns;
  bool xvfb = true;
  std::string platform;  // set when this run is the one inside Xvfb
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg(argv[i]);
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--no-xvfb") {
      xvfb = false;
    } else if ((arg == "--prepare-home" || arg == "--prepare-layout-home") && i + 1 < argc) {
      PrepareHome(argv[i + 1], arg == "--prepare-layout-home");
      return 0;
    } else if (arg == "--platform" && i + 1 < argc) {
      platform = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--runs N] [--no-xvfb]\n", argv[0]);
      return 2;
    }
  }
  const std::string self = SelfPath();
  if (self.empty()) {
    std::fprintf(stderr, "cannot find this program's own path\n");
    return 1;
  }

  if (!platform.empty()) {
    const auto painted = RunSuite(self, platform, runs);
    if (!painted) return 1;
    std::printf("%s%.2f\n", kRatioPrefix.data(), (*painted)[2] / (*painted)[1]);
    return 0;
  }

  std::printf(
      "start-up to the first painted main window: %d monitor windows of %d channels against an\n"
      "empty layout and a minimal Qt Widgets program, on the simulated LCU\n",
      kLayoutWindows, kChannelsPerWindow);
  const auto offscreen = RunSuite(self, "offscreen", runs);
  if (!offscreen) return 1;
  std::string xcbRatio;
  const std::optional<std::string> xvfbRun = xvfb ? FindOnPath("xvfb-run") : std::nullopt;
  if (xvfbRun) {
    const fs::path errors = fs::temp_directory_path() / ("lcu_bench_startup_xvfb." + std::to_string(getpid()));
    const ChildRun run = Spawn(
        *xvfbRun,
        {*xvfbRun, "-a", "-s", "-screen 0 1280x1024x24", self, "--platform", "xcb", "--runs", std::to_string(runs)},
        CurrentEnvironment(), errors);
    for (const std::string& line : Split(run.output, '\n')) {
      if (line.starts_with(kRatioPrefix)) {
        xcbRatio = line.substr(kRatioPrefix.size());
      } else if (!line.empty()) {
        std::printf("%s\n", line.c_str());
      }
    }
    if (run.status != 0) std::fprintf(stderr, "the run under xvfb-run failed:\n%s", ReadText(errors).c_str());
    fs::remove(errors);
  } else {
    std::printf("xvfb-run not found (or --no-xvfb): the xcb platform was not measured\n");
  }
  const double ratio = (*offscreen)[2] / (*offscreen)[1];
  std::printf("20 windows / empty layout: %.2fx offscreen%s (goal <= 1.5x)\n", ratio,
              xcbRatio.empty() ? "" : (", " + xcbRatio + "x under Xvfb").c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string_view(argv[1]) == "--child") {
    Moments moments;
    moments.Note("main");
    // The child's Qt sees its program name and the arguments after "--" only.
    std::vector<char*> childArgs = {argv[0]};
    for (int i = 3; i < argc; ++i) {
      if (std::string_view(argv[i]) != "--") childArgs.push_back(argv[i]);
    }
    int childArgc = static_cast<int>(childArgs.size());
    childArgs.push_back(nullptr);
    const std::string_view kind(argv[2]);
    if (kind == "program") return ChildProgram(childArgc, childArgs.data(), moments);
    if (kind == "minimal") return ChildMinimal(childArgc, childArgs.data(), moments);
    if (kind == "bare") return ChildBareTables(childArgc, childArgs.data(), moments);
    return 2;
  }
  return Parent(argc, argv);
}
