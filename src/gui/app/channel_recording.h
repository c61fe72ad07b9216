// ChannelRecording: the File menu's Record Channels and Stop Recording. Record asks for a
// CSV file (in the data folder by default; an existing file only after a question whose
// answer is No by default) and records every reading the open monitor windows show into it
// until Stop Recording, a failed write or the program's end. The status bar shows the
// recording indicator with the file's name while it runs.
#pragma once

#include <memory>
#include <vector>

#include <QObject>
#include <QString>

#include "core/app/command_context.h"
#include "core/monitor/channel_recorder.h"
#include "core/session/lcu_session.h"

class QLabel;

namespace lcu::gui {

class CMainFrame;
class MonitorTemplate;
class GuiPrompter;

class ChannelRecording : public QObject {
  Q_OBJECT

 public:
  ChannelRecording(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, CMainFrame& frame,
                   MonitorTemplate& kind);
  /// Stops a recording that still runs, syncing its file. Goes before the main window, whose
  /// status bar holds the indicator.
  ~ChannelRecording() override;
  ChannelRecording(const ChannelRecording&) = delete;
  ChannelRecording& operator=(const ChannelRecording&) = delete;

  void OnRecordChannels();
  void OnStopRecording();

  bool IsRecording() const { return m_recorder.IsRecording(); }
  const QString& Path() const { return m_path; }
  /// The status bar's indicator (hidden while nothing is recorded).
  const QLabel& Indicator() const { return *m_pIndicator; }

 private:
  /// Leaves the session and the windows, and shows that nothing is recorded; the file has
  /// been closed already.
  void Ended();
  void OnWriteFailed(const std::string& reason);

  CommandContext& m_ctx;
  GuiPrompter& m_prompter;
  LcuSession& m_session;
  CMainFrame& m_frame;
  MonitorTemplate& m_kind;
  ChannelRecorder m_recorder;
  QLabel* m_pIndicator;
  QString m_path;
  bool m_bSubscribed = false;
  // The documents recorded whose windows are still open: the recorder hears their readings.
  std::vector<const MonitorDocument*> m_recorded;
  std::vector<QMetaObject::Connection> m_windowsGoing;
};

}  // namespace lcu::gui
