// CTavrixApp: the application object. It owns what the whole program shares: the settings
// store, the link to the LCU, the application fields of the commands, the shared document
// and the main window. Its start-up restores the persisted settings and shows the main
// window; the commands of the main menu are its handlers.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QObject>

#include "core/app/app_state.h"
#include "core/app/command_context.h"
#include "core/app/waiting_prompter.h"
#include "core/host/clock.h"
#include "core/host/file_system.h"
#include "core/host/settings_store.h"
#include "core/link/usb_backend.h"
#include "core/link/usb_device.h"
#include "core/session/lcu_session.h"
#include "gui/app/frame_command_ui.h"
#include "gui/app/gui_prompter.h"
#include "gui/app/memory_pane_tip.h"
#include "gui/app/tavrix_doc.h"

namespace lcu::gui {

class ChannelRecording;
class LcuCheckCommand;
class CMainFrame;
class MemoryTemplate;
class MonitorCommands;
class MonitorSettings;
class MonitorTemplate;
class StripChartCommand;
class SessionDriver;

class CTavrixApp : public QObject {
  Q_OBJECT

 public:
  /// What the program works with; the programs pass the real ones, tests their own.
  struct Services {
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<UsbBackend> backend;
    std::unique_ptr<GuiPrompter> prompter;
    std::unique_ptr<FileSystem> files;
    std::unique_ptr<Clock> clock;
    /// Shown once the main window is up (for instance why no LCU can be found).
    std::string startupProblem;
  };

  explicit CTavrixApp(Services services);
  ~CTavrixApp() override;
  CTavrixApp(const CTavrixApp&) = delete;
  CTavrixApp& operator=(const CTavrixApp&) = delete;

  /// Creates and shows the main window with the persisted settings: its caption with the
  /// product version, the three settings flags and their check marks, the show state, and
  /// the available-channel table of the hardware level. False when the program cannot run.
  bool InitInstance();

  CMainFrame* MainFrame() const { return m_pMainWnd.get(); }
  SessionDriver& Driver() { return *m_driver; }
  LcuSession& Session();
  AppState& State() { return m_app; }
  CUsbDevice& Device() { return *m_device; }
  LinkOwner& Link() { return *m_link; }
  CommandContext& Context() { return m_ctx; }
  FrameCommandUi& Ui() { return m_ui; }
  CTavrixDoc& Document() { return m_doc; }
  MonitorTemplate& MonitorKind() { return *m_monitorKind; }
  MemoryTemplate& MemoryKind() { return *m_memoryKind; }
  ChannelRecording& Recording() { return *m_recording; }

  // Handlers of the main menu.
  void OnPassword();
  void OnAppAbout();
  void OnLcuConfiguration();
  void OnInitializeLcu();
  void OnResetLogbook();
  void OnDownload();
  void OnStopDownload();
  void OnAutoDownload();
  void OnSendConfig();
  void OnExtractSetup();
  void OnLcuCheck();
  void OnSetLcuClock();
  void OnSessionData();
  void OnPreserveQmt();
  void OnLoadHexFile();
  void OnReadHexFile();
  void OnReadWriteData();
  void OnRefreshCalibration();
  void OnProtectData();
  void OnStartLogger();
  void OnNewWindow();
  void OnFileOpen();
  void OnFileClose();
  void OnFileSave();
  void OnFileSaveAs();
  void OnRecordChannels();
  void OnStopRecording();
  void OnStripChart();

 private:
  void ConnectCommands();
  void AddToolBar(CMainFrame& frame);
  void ReadSettingsFlags();
  /// Reopens the monitor settings file used last, without reports.
  void ReopenLastSettingsFile();
  /// Saves the monitor windows into the current settings file (asking for one when none is
  /// current) when the main window closes; it never keeps the window open.
  void SaveSettingsOnClose();
  /// Keeps the memory use the check found in a header, for the memory pane's tip.
  void NoteCheckedMemory(const LoggerHeader& header);
  /// The status bar's indicators and the memory pane's tip, from what is known now.
  void UpdateStatusIndicators();

  Services m_services;
  AppState m_app;
  std::unique_ptr<CUsbDevice> m_device;
  std::unique_ptr<LinkOwner> m_link;
  // The commands' prompter: the program's, with each box counted as a wait of the command.
  std::unique_ptr<WaitingPrompter> m_commandPrompter;
  FrameCommandUi m_ui;
  CommandContext m_ctx;
  CTavrixDoc m_doc;
  // Outlives the main window, whose monitor and memory windows leave it as they go.
  std::unique_ptr<SessionDriver> m_driver;
  std::unique_ptr<CMainFrame> m_pMainWnd;
  std::unique_ptr<MonitorTemplate> m_monitorKind;
  std::unique_ptr<MemoryTemplate> m_memoryKind;
  std::unique_ptr<MonitorSettings> m_monitorSettings;
  std::unique_ptr<LcuCheckCommand> m_lcuCheck;
  std::unique_ptr<StripChartCommand> m_stripChart;
  std::unique_ptr<MonitorCommands> m_monitorCommands;
  // Goes before the main window, whose status bar shows that it records.
  std::unique_ptr<ChannelRecording> m_recording;
  // The service password was accepted in this run.
  bool m_bServiceUnlocked = false;
  std::optional<CheckedMemoryUse> m_checkedMemory;
};

}  // namespace lcu::gui
