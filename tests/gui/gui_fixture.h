// The desktop program as the tests drive it: the real application and main window with a
// simulated LCU, the sample set-up, the settings in a temporary INI file, a recording prompter
// and a fixed clock, under which the session's timer finds nothing due: tests call the poll.
#pragma once

#include <memory>
#include <numeric>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QTemporaryDir>

#include "core/host/registry.h"
#include "gui/app/command_ids.h"
#include "gui/app/main_frame.h"
#include "gui/app/main_menu.h"
#include "gui/app/session_driver.h"
#include "gui/app/tavrix_app.h"
#include "gui/monitor/child_frame.h"
#include "gui/monitor/monitor_template.h"
#include "gui/monitor/monitor_view.h"
#include "platform/host_file_system.h"
#include "qtstore/qt_settings_store.h"
#include "recording_gui_prompter.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_setup.h"
#include "support/fixed_clock.h"

namespace lcu::test {

class GuiFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    m_iniPath = m_dir.filePath(QStringLiteral("Velmora.ini"));
    QDir().mkpath(m_dir.filePath(QStringLiteral("Sample")));
    QDir().mkpath(m_dir.filePath(QStringLiteral("files")));
    Store().WriteString(reg::kPaths, reg::kDataDirectory, m_dir.filePath(QStringLiteral("Sample")).toStdString());
    Store().WriteString(reg::kPaths, reg::kSetupDirectory, m_dir.filePath(QStringLiteral("Setup")).toStdString());
    ASSERT_EQ(sim::WriteSampleSetup(Store()), "");
  }
  void TearDown() override { app.reset(); }

  /// A store on the same file as the program's, for preparing and checking values.
  QtSettingsStore& Store() {
    if (!m_store) m_store = std::make_unique<QtSettingsStore>(m_iniPath);
    return *m_store;
  }
  std::string Value(std::string_view section, std::string_view name) {
    return Profile(Store()).GetProfileString(section, name, "(missing)");
  }
  void SetValue(std::string_view section, std::string_view name, std::int32_t value) {
    Profile(Store()).WriteProfileInt(section, name, value);
  }
  /// A path in a folder that holds nothing else, for the files a test saves and opens.
  QString FilePath(const char* name) const {
    return m_dir.filePath(QStringLiteral("files/") + QString::fromUtf8(name));
  }

  /// Starts the program the way main() does, with the test's services.
  void Start(std::unique_ptr<Clock> clock = std::make_unique<FixedClock>()) {
    gui::CTavrixApp::Services services;
    services.store = std::make_unique<QtSettingsStore>(m_iniPath);
    auto lcu = std::make_unique<sim::LcuSimulator>();
    sim = lcu.get();
    services.backend = std::move(lcu);
    auto recording = std::make_unique<RecordingGuiPrompter>();
    prompter = recording.get();
    services.prompter = std::move(recording);
    services.files = std::make_unique<HostFileSystem>();
    services.clock = std::move(clock);
    app = std::make_unique<gui::CTavrixApp>(std::move(services));
    ASSERT_TRUE(app->InitInstance());
  }
  /// Starts the program and brings the LCU on line (its definitions loaded).
  void StartOnLine() {
    Start();
    Tick();
    Tick();
    ASSERT_TRUE(app->Device().IsOnline());
    ASSERT_EQ(app->State().m_nDefinitionGeneration, 1U);
  }
  /// Ends the program: the main window goes, saving its placement.
  void Stop() { app.reset(); }

  gui::CMainFrame& Frame() { return *app->MainFrame(); }
  gui::MainMenu& Menu() { return Frame().Menu(); }
  LcuSession& Session() { return app->Session(); }
  /// The main window's poll, as a step runs it when it is due.
  void Tick() { Session().Poll(); }
  /// The LCU unplugged, and the poll that finds it gone.
  void Unplug() {
    sim->Unplug();
    Tick();
  }
  /// The LCU plugged in again and polled: two answering polls in a row are a connection.
  void Replug(int polls) {
    sim->Replug();
    for (int i = 0; i < polls; ++i) Tick();
  }
  /// The LCU on or off line, by plugging it in or out and polling once.
  void SetOnline(bool on) {
    if (on == app->Device().IsOnline()) return;
    if (on)
      Replug(1);
    else
      Unplug();
  }
  void Choose(int commandId) { Menu().Action(commandId)->trigger(); }
  void SaveAs(const QString& path) {
    prompter->saveFileAnswer = path;
    Choose(gui::cmd::kFileSaveAs);
  }
  void Open(const QString& path) {
    prompter->openFileAnswer = path;
    Choose(gui::cmd::kFileOpen);
    RunPosted();
  }

  gui::CChildFrame& NewWindow() {
    Choose(gui::cmd::kNewWindow);
    return *static_cast<gui::CChildFrame*>(Frame().MdiArea().currentSubWindow());
  }
  static gui::CMonitorView& ViewOf(gui::CChildFrame& frame) { return *gui::MonitorTemplate::MonitorViewOf(frame); }
  /// A new monitor window showing channels (its updates started).
  gui::CMonitorView& WindowWith(std::span<const std::uint16_t> channels) {
    gui::CMonitorView& view = ViewOf(NewWindow());
    view.Document().SetChannels(channels);
    return view;
  }
  /// One update of a window, as a step runs it when its period has come.
  void Update(gui::CMonitorView& view) { Session().Serve(view.Document()); }
  template <typename Call>
  int TransfersOf(Call&& call) {
    const int before = sim->TransferCount();
    call();
    return sim->TransferCount() - before;
  }
  std::vector<gui::CChildFrame*> Frames() { return app->MonitorKind().Frames(); }
  static QString Cell(const QAbstractItemView& view, int row, int column) {
    return view.model()->index(row, column).data().toString();
  }
  static void SelectRows(QAbstractItemView& view, std::initializer_list<int> rows) {
    view.clearSelection();
    for (const int row : rows)
      view.selectionModel()->select(view.model()->index(row, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  static void RightClick(QAbstractItemView& view) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), view.viewport()->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(view.viewport(), &event);
  }
  /// Lets posted close requests run.
  static void RunPosted() { QCoreApplication::sendPostedEvents(); }

  std::unique_ptr<gui::CTavrixApp> app;
  sim::LcuSimulator* sim = nullptr;
  RecordingGuiPrompter* prompter = nullptr;

 private:
  QTemporaryDir m_dir;
  QString m_iniPath;
  std::unique_ptr<QtSettingsStore> m_store;
};

/// The program started and on line.
class OnLineGuiFixture : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    StartOnLine();
  }
};

inline std::vector<std::uint16_t> Range(std::uint16_t first, std::size_t count) {
  std::vector<std::uint16_t> channels(count);
  std::iota(channels.begin(), channels.end(), first);
  return channels;
}

}  // namespace lcu::test
