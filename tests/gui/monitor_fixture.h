// The desktop program with the sample setup, on line with its channel definitions loaded,
// and helpers to open and fill monitor windows.
#pragma once

#include <span>
#include <vector>

#include <QCoreApplication>
#include <QMdiArea>

#include "gui/app/command_ids.h"
#include "gui/monitor/child_frame.h"
#include "gui/monitor/monitor_settings.h"
#include "gui/monitor/monitor_template.h"
#include "gui/monitor/monitor_view.h"
#include "gui_fixture.h"
#include "sim/sample_setup.h"

namespace lcu::test {

class MonitorFixture : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    ASSERT_EQ(sim::WriteSampleSetup(Store()), "");
  }

  /// Starts the program and brings the LCU on line (its definitions loaded).
  void StartOnLine() {
    Start();
    Tick();
    Tick();
    ASSERT_TRUE(app->Device().m_bOnline);
    ASSERT_EQ(app->State().m_nDefinitionGeneration, 1U);
  }

  gui::CChildFrame& NewWindow() {
    Choose(gui::cmd::kNewWindow);
    return *static_cast<gui::CChildFrame*>(Frame().MdiArea().currentSubWindow());
  }
  static gui::CMonitorView& ViewOf(gui::CChildFrame& frame) { return *gui::CMonitorTemplate::MonitorViewOf(frame); }

  /// A new monitor window showing channels (its updates started).
  gui::CMonitorView& WindowWith(std::span<const std::uint16_t> channels) {
    gui::CMonitorView& view = ViewOf(NewWindow());
    Show(view, channels);
    return view;
  }
  static void Show(gui::CMonitorView& view, std::span<const std::uint16_t> channels) {
    view.Document().SetChannels(channels);
  }

  /// One update of a window, as a step runs it when its period has come.
  void Update(gui::CMonitorView& view) { Session().Serve(view.Document()); }

  std::vector<gui::CChildFrame*> Frames() { return app->MonitorKind().Frames(); }
  /// Lets posted close requests run.
  static void RunPosted() { QCoreApplication::sendPostedEvents(); }

  gui::CMonitorSettings& Settings() { return app->MonitorSettings(); }
};

inline std::vector<std::uint16_t> Range(std::uint16_t first, std::size_t count) {
  std::vector<std::uint16_t> channels(count);
  for (std::size_t i = 0; i < count; ++i) channels[i] = static_cast<std::uint16_t>(first + i);
  return channels;
}

}  // namespace lcu::test
