#include "gui/app/channel_recording.h"

#include <vector>

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPalette>
#include <QStatusBar>

#include "core/host/default_paths.h"
#include "core/host/prompter.h"
#include "gui/app/command_ids.h"
#include "gui/app/gui_prompter.h"
#include "gui/app/main_frame.h"
#include "gui/app/main_menu.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/chart_texts.h"
#include "gui/monitor/child_frame.h"
#include "gui/monitor/monitor_template.h"
#include "gui/monitor/monitor_view.h"

namespace lcu::gui {

ChannelRecording::ChannelRecording(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, CMainFrame& frame,
                                   MonitorTemplate& kind)
    : m_ctx(ctx),
      m_prompter(prompter),
      m_session(session),
      m_frame(frame),
      m_kind(kind),
      m_recorder(ctx.app, ctx.clock),
      m_pIndicator(new QLabel(frame.statusBar())) {
  // Red on the status bar, so that a running recording is seen from across the room.
  QPalette red = m_pIndicator->palette();
  red.setColor(QPalette::Window, QColor(0xc0, 0x39, 0x2b));
  red.setColor(QPalette::WindowText, Qt::white);
  m_pIndicator->setPalette(red);
  m_pIndicator->setAutoFillBackground(true);
  m_pIndicator->setContentsMargins(6, 0, 6, 0);
  m_pIndicator->hide();
  // Before the link pane: the permanent widgets come after the one normal pane, the prompt.
  frame.statusBar()->insertPermanentWidget(1, m_pIndicator);
  // The report waits until the session's step that failed has returned.
  m_recorder.SetFailureHandler([this](const std::string& reason) {
    QMetaObject::invokeMethod(
        this, [this, reason] { OnWriteFailed(reason); }, Qt::QueuedConnection);
  });
}

ChannelRecording::~ChannelRecording() { OnStopRecording(); }

void ChannelRecording::OnRecordChannels() {
  if (IsRecording()) return;
  std::vector<const MonitorDocument*> documents;
  std::vector<CMonitorView*> views;
  for (CChildFrame* frame : m_kind.Frames()) {
    CMonitorView* view = MonitorTemplate::MonitorViewOf(*frame);
    if (!view || view->Document().Channels().empty()) continue;
    documents.push_back(&view->Document());
    views.push_back(view);
  }
  if (documents.empty()) {
    m_prompter.Error(text::kRecordNothing);
    return;
  }
  const QString folder = PathFromStore(DataDirectory(m_ctx.store));
  const QString initial = folder + QLatin1Char('/') + ToQString(text::kRecordDefaultName);
  QString path = m_prompter.GetSaveFileName(ToQString(text::kRecordTitle), initial, ToQString(text::kRecordFilter));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += ToQString(text::kRecordExtension);
  const std::string stored = PathToStore(path);
  // A recording replaces a file only when the user says so; the old file then stays until
  // the new recording is complete.
  const bool exists = m_ctx.files.Exists(stored);
  if (exists && !m_prompter.AskQuestion(ToStdString(ToQString(text::kRecordReplace).arg(QFileInfo(path).fileName())))) {
    return;
  }
  std::string reason;
  const QString parent = QFileInfo(path).absolutePath();
  if (!m_ctx.files.CreateFolders(PathToStore(parent), reason)) {
    ShowFileError(m_prompter, text::kRecordCannotStart, stored, reason);
    return;
  }
  std::unique_ptr<OutputFile> file =
      m_ctx.files.Create(stored, exists ? CreateMode::kReplace : CreateMode::kExclusive, reason);
  if (!file || !m_recorder.Start(std::move(file), documents, reason)) {
    ShowFileError(m_prompter, text::kRecordCannotStart, stored, reason);
    return;
  }
  m_path = path;
  m_bSubscribed = true;
  for (CMonitorView* view : views) {
    const MonitorDocument* document = &view->Document();
    m_session.Subscribe(*document, m_recorder);
    m_recorded.push_back(document);
    // Only the address is used: the document is going when this is heard.
    m_windowsGoing.push_back(connect(view, &QObject::destroyed, this, [this, document] {
      m_recorder.Forget(*document);
      m_session.Unsubscribe(*document, m_recorder);
      std::erase(m_recorded, document);
    }));
  }
  m_pIndicator->setText(ToQString(text::kRecordingIndicator).arg(QFileInfo(path).fileName()));
  m_pIndicator->setToolTip(path);
  m_pIndicator->show();
  m_frame.Menu().SetEnabled(cmd::kRecordChannels, false);
  m_frame.Menu().SetEnabled(cmd::kStopRecording, true);
}

void ChannelRecording::OnStopRecording() {
  if (!m_bSubscribed) return;
  std::string reason;
  const bool synced = m_recorder.Stop(reason);
  Ended();
  if (!synced) ShowFileError(m_prompter, text::kRecordFailed, PathToStore(m_path), reason);
}

void ChannelRecording::OnWriteFailed(const std::string& reason) {
  if (!m_bSubscribed) return;
  Ended();
  ShowFileError(m_prompter, text::kRecordFailed, PathToStore(m_path), reason);
}

void ChannelRecording::Ended() {
  for (const MonitorDocument* document : m_recorded) m_session.Unsubscribe(*document, m_recorder);
  m_recorded.clear();
  m_bSubscribed = false;
  for (const QMetaObject::Connection& connection : m_windowsGoing) disconnect(connection);
  m_windowsGoing.clear();
  m_pIndicator->hide();
  m_frame.Menu().SetEnabled(cmd::kRecordChannels, true);
  m_frame.Menu().SetEnabled(cmd::kStopRecording, false);
}

}  // namespace lcu::gui
