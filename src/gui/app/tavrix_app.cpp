#include "gui/app/tavrix_app.h"

#include <utility>

#include <QAction>
#include <QToolBar>

#include "core/app/status_indicators.h"
#include "core/channels/available_channels.h"
#include "core/channels/calibration_file.h"
#include "core/commands/download.h"
#include "core/commands/edit_session_data.h"
#include "core/commands/extract_setup.h"
#include "core/commands/hex_file_upload.h"
#include "core/commands/initialize_lcu.h"
#include "core/commands/lcu_configuration.h"
#include "core/commands/load_hex_file.h"
#include "core/commands/read_program.h"
#include "core/commands/refresh_calibration.h"
#include "core/commands/reset_logbook.h"
#include "core/commands/send_config.h"
#include "core/commands/settings_flags.h"
#include "core/commands/start_logger.h"
#include "core/commands/stop_download.h"
#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/logger/lcu_status_block.h"
#include "core/logger/logged_memory_use.h"
#include "core/messages/messages.h"
#include "gui/app/cached_icon_style.h"
#include "gui/app/channel_recording.h"
#include "gui/app/command_ids.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_frame.h"
#include "gui/app/main_menu.h"
#include "gui/app/password_dlg.h"
#include "gui/app/product_version.h"
#include "gui/app/qt_text.h"
#include "gui/app/session_driver.h"
#include "gui/firmware/hex_file_upload_dlg.h"
#include "gui/logger/lcu_check_command.h"
#include "gui/memory/memory_template.h"
#include "gui/monitor/chart_texts.h"
#include "gui/monitor/monitor_commands.h"
#include "gui/monitor/monitor_settings.h"
#include "gui/monitor/monitor_template.h"
#include "gui/monitor/strip_chart_command.h"
#include "program/program_assembly.h"

namespace lcu::gui {

CTavrixApp::CTavrixApp(Services services)
    : m_services(std::move(services)),
      m_device(std::make_unique<CUsbDevice>(*m_services.backend)),
      m_link(std::make_unique<LinkOwner>(*m_device)),
      m_commandPrompter(std::make_unique<WaitingPrompter>(*m_services.prompter, *m_link)),
      m_ui(*m_link),
      m_ctx{*m_device, *m_link, *m_services.store, *m_commandPrompter, *m_services.clock, *m_services.files,
            m_app,     m_ui} {}

CTavrixApp::~CTavrixApp() = default;

LcuSession& CTavrixApp::Session() { return m_driver->Session(); }

bool CTavrixApp::InitInstance() {
  CachedIconStyle::Install();
  m_driver = std::make_unique<SessionDriver>(m_ctx);
  m_pMainWnd = std::make_unique<CMainFrame>(m_ctx);
  CMainFrame& frame = *m_pMainWnd;
  connect(m_driver.get(), &SessionDriver::statusPanes, &frame, &CMainFrame::SetPanes);
  m_lcuCheck = std::make_unique<LcuCheckCommand>(m_ctx, frame);
  connect(m_driver.get(), &SessionDriver::statusPanes, m_lcuCheck.get(), &LcuCheckCommand::OnStatusPanes);
  connect(m_lcuCheck.get(), &LcuCheckCommand::headerChecked, this, &CTavrixApp::NoteCheckedMemory);
  connect(m_driver.get(), &SessionDriver::statusPanes, this, &CTavrixApp::UpdateStatusIndicators);
  connect(&m_ui, &FrameCommandUi::flagChanged, this, &CTavrixApp::UpdateStatusIndicators);
  // Queued: the check runs once the step that made the connection has ended.
  connect(m_driver.get(), &SessionDriver::lcuConnected, m_lcuCheck.get(), &LcuCheckCommand::CheckOnConnection,
          Qt::QueuedConnection);
  m_ui.SetFrame(&frame, &frame.Menu());
  m_services.prompter->SetOwner(&frame);
  frame.setWindowTitle(ToQString(msg::kAppTitle) + ToQString(text::kCaptionSeparator) + GetProductVersion());
  m_monitorKind = std::make_unique<MonitorTemplate>(m_ctx, *m_services.prompter, Session(), frame.MdiArea());
  m_memoryKind =
      std::make_unique<MemoryTemplate>(m_ctx, *m_services.prompter, Session(), frame.MdiArea(), frame.Menu());
  m_monitorSettings = std::make_unique<MonitorSettings>(m_ctx, *m_services.prompter, frame, *m_monitorKind);
  m_stripChart = std::make_unique<StripChartCommand>(frame.Menu(), *m_monitorKind);
  m_monitorCommands = std::make_unique<MonitorCommands>(m_ctx, frame.Menu(), *m_monitorKind);
  m_recording = std::make_unique<ChannelRecording>(m_ctx, *m_services.prompter, Session(), frame, *m_monitorKind);
  AddToolBar(frame);
  ConnectCommands();
  connect(&frame, &CMainFrame::closeRequested, this, [this] {
    m_recording->OnStopRecording();
    SaveSettingsOnClose();
    m_ui.RequestQuit();
  });

  ReadSettingsFlags();
  int showCmd = Profile(*m_services.store).GetProfileInt(reg::kSettings, reg::kShowCmd, kShowNormal);
  if (showCmd == kShowMinimized) showCmd = kShowNormal;
  frame.ShowWithCommand(showCmd);

  FillAvailableChannels(m_app, *m_services.store);
  ReopenLastSettingsFile();
  if (!m_services.startupProblem.empty()) m_services.prompter->Error(m_services.startupProblem);
  return true;
}

void CTavrixApp::ReadSettingsFlags() {
  program::ReadSettingsFlags(*m_services.store, m_app);
  m_ui.FlagChanged(AppFlag::kAutoDownload, m_app.m_bAutoDownload != 0);
  m_ui.FlagChanged(AppFlag::kProtectData, m_app.m_bPreserveBuffer != 0);
  m_ui.FlagChanged(AppFlag::kPreserveQmt, m_app.m_bPreserveQmt != 0);
}

// The toolbar holds the menu's own items for the chart and the recording, so that their
// states are the menu's.
void CTavrixApp::AddToolBar(CMainFrame& frame) {
  QToolBar* bar = frame.addToolBar(ToQString(text::kViewMenu).remove(QLatin1Char('&')));
  bar->setObjectName(QStringLiteral("chartRecordToolBar"));
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  for (const int id : {cmd::kStripChart, cmd::kRecordChannels, cmd::kStopRecording})
    bar->addAction(frame.Menu().Action(id));
}

void CTavrixApp::ReopenLastSettingsFile() { m_monitorSettings->ReopenLastSettingsFile(); }

void CTavrixApp::SaveSettingsOnClose() { m_monitorSettings->OnFileSave(); }

void CTavrixApp::ConnectCommands() {
  using Handler = void (CTavrixApp::*)();
  const std::pair<int, Handler> handlers[] = {
      {cmd::kPassword, &CTavrixApp::OnPassword},
      {cmd::kAppAbout, &CTavrixApp::OnAppAbout},
      {cmd::kLcuConfiguration, &CTavrixApp::OnLcuConfiguration},
      {cmd::kInitializeLcu, &CTavrixApp::OnInitializeLcu},
      {cmd::kResetLogbook, &CTavrixApp::OnResetLogbook},
      {cmd::kDownload, &CTavrixApp::OnDownload},
      {cmd::kStopDownload, &CTavrixApp::OnStopDownload},
      {cmd::kAutoDownload, &CTavrixApp::OnAutoDownload},
      {cmd::kSendConfig, &CTavrixApp::OnSendConfig},
      {cmd::kExtractSetup, &CTavrixApp::OnExtractSetup},
      {cmd::kLcuCheck, &CTavrixApp::OnLcuCheck},
      {cmd::kSetLcuClock, &CTavrixApp::OnSetLcuClock},
      {cmd::kSessionData, &CTavrixApp::OnSessionData},
      {cmd::kPreserveQmt, &CTavrixApp::OnPreserveQmt},
      {cmd::kLoadHexFile, &CTavrixApp::OnLoadHexFile},
      {cmd::kReadHexFile, &CTavrixApp::OnReadHexFile},
      {cmd::kReadWriteData, &CTavrixApp::OnReadWriteData},
      {cmd::kRefreshCalibration, &CTavrixApp::OnRefreshCalibration},
      {cmd::kProtectData, &CTavrixApp::OnProtectData},
      {cmd::kStartLogger, &CTavrixApp::OnStartLogger},
      {cmd::kNewWindow, &CTavrixApp::OnNewWindow},
      {cmd::kFileOpen, &CTavrixApp::OnFileOpen},
      {cmd::kFileClose, &CTavrixApp::OnFileClose},
      {cmd::kFileSave, &CTavrixApp::OnFileSave},
      {cmd::kFileSaveAs, &CTavrixApp::OnFileSaveAs},
      {cmd::kRecordChannels, &CTavrixApp::OnRecordChannels},
      {cmd::kStopRecording, &CTavrixApp::OnStopRecording},
      {cmd::kStripChart, &CTavrixApp::OnStripChart},
  };
  const MainMenu& menu = m_pMainWnd->Menu();
  for (const auto& [id, handler] : handlers) connect(menu.Action(id), &QAction::triggered, this, handler);
}

void CTavrixApp::OnPassword() {
  GuiPrompter& prompter = *m_services.prompter;
  QString entry;
  for (;;) {
    if (!prompter.RunPasswordDialog(entry)) return;
    entry = entry.toLower();
    if (IsServicePassword(entry)) break;
    prompter.Error(text::kInvalidPassword);
  }
  MainMenu& menu = m_pMainWnd->Menu();
  menu.SetEnabled(cmd::kInitializeLcu, true);
  menu.SetEnabled(cmd::kReadWriteData, true);
  menu.SetEnabled(cmd::kReadHexFile, true);
  m_bServiceUnlocked = true;
  UpdateStatusIndicators();
}

void CTavrixApp::UpdateStatusIndicators() {
  if (!m_pMainWnd) return;
  m_pMainWnd->SetIndicators(CurrentIndicators(*m_device, m_app, m_bServiceUnlocked));
  m_pMainWnd->SetMemoryTip(m_device->IsOnline() ? MemoryPaneTip(LcuStatusBlock(m_device->m_status), m_checkedMemory)
                                                : QString());
}

void CTavrixApp::NoteCheckedMemory(const LoggerHeader& header) {
  if (const std::optional<LoggedMemoryUse> use = MemoryUseOf(header)) {
    m_checkedMemory = CheckedMemoryUse{header.LcuNumber(), *use, m_ctx.clock.Now()};
  }
  UpdateStatusIndicators();
}

void CTavrixApp::OnAppAbout() { m_services.prompter->RunAboutBox(GetProductVersion()); }

void CTavrixApp::OnLcuConfiguration() {
  const CLcuConfg configuration(m_ctx);
  if (configuration.IsReady()) m_services.prompter->RunLcuConfigurationDialog(configuration.Texts());
}

void CTavrixApp::OnInitializeLcu() { InitializeLcu(m_ctx); }

void CTavrixApp::OnResetLogbook() { ResetLogbook(m_ctx); }

void CTavrixApp::OnDownload() { Download(m_ctx); }

void CTavrixApp::OnStopDownload() { StopDownload(*m_link); }

// Each settings item switches its setting over; any value but 0 counts as on.
void CTavrixApp::OnAutoDownload() { SetAutoDownload(m_ctx, m_app.m_bAutoDownload == 0); }

void CTavrixApp::OnSendConfig() { SendConfig(m_ctx); }

void CTavrixApp::OnExtractSetup() { ExtractSetup(m_ctx); }

void CTavrixApp::OnSessionData() { EditSessionData(m_ctx); }

void CTavrixApp::OnLcuCheck() { m_lcuCheck->OnLcuCheck(); }

void CTavrixApp::OnSetLcuClock() { m_lcuCheck->OnSetLcuClock(); }

void CTavrixApp::OnPreserveQmt() { SetPreserveQmt(m_ctx, m_app.m_bPreserveQmt == 0); }

void CTavrixApp::OnLoadHexFile() {
  if (CheckLoadHexFile(m_ctx) != CommandResult::kDone) return;
  const QString path = m_services.prompter->GetOpenFileName(
      ToQString(kLoadHexFileDialogTitle), PathFromStore(VelmoraRoot()), ToQString(kLoadHexFileDialogFilter));
  if (path.isEmpty()) return;
  CHexFileUploadDlg notice(m_pMainWnd.get());
  LoadHexFile(m_ctx, PathToStore(path), notice);
}

void CTavrixApp::OnReadHexFile() { ReadProgram(m_ctx); }

void CTavrixApp::OnReadWriteData() { m_memoryKind->OnReadWriteData(); }

void CTavrixApp::OnRefreshCalibration() { RefreshCalibration(m_ctx); }

void CTavrixApp::OnProtectData() { SetProtectData(m_ctx, m_app.m_bPreserveBuffer == 0); }

// The menu item switches the manual logging state it last set.
void CTavrixApp::OnStartLogger() { StartLogger(m_ctx, m_app.m_bLoggerStarted == 0); }

void CTavrixApp::OnNewWindow() { m_monitorKind->OnNewWindow(); }

void CTavrixApp::OnFileOpen() { m_monitorSettings->OnFileOpen(); }

void CTavrixApp::OnFileClose() { m_monitorSettings->OnFileClose(); }

void CTavrixApp::OnFileSave() { m_monitorSettings->OnFileSave(); }

void CTavrixApp::OnFileSaveAs() { m_monitorSettings->OnFileSaveAs(); }

void CTavrixApp::OnRecordChannels() { m_recording->OnRecordChannels(); }

void CTavrixApp::OnStopRecording() { m_recording->OnStopRecording(); }

void CTavrixApp::OnStripChart() { m_stripChart->OnStripChart(); }

}  // namespace lcu::gui
