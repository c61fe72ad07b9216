// MonitorSettings: the monitor settings files of the File menu. It holds the one settings
// image of the run and the current file; Open, Close, Save and Save As load, close and
// store the layout of the monitor windows, start-up reopens the file used last, and the
// main window's close saves it. The main window's caption names the current file. A settings
// or chart file that a load finds damaged is said once, opens the windows it holds soundly,
// and is kept beside before any save replaces it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

#include "core/app/command_context.h"
#include "core/monitor/chart_layout.h"
#include "core/monitor/settings_image.h"
#include "gui/monitor/damaged_files.h"

namespace lcu::gui {

class CChildFrame;
class CMainFrame;
class MonitorTemplate;
class GuiPrompter;

class MonitorSettings {
 public:
  MonitorSettings(CommandContext& ctx, GuiPrompter& prompter, CMainFrame& mainFrame, MonitorTemplate& kind);

  /// Reads m_szSettingsPath into the image and opens one monitor window per stored record,
  /// with the main window's placement. report: whether a file that cannot be opened is
  /// reported.
  void LoadSettingsFile(bool report);
  /// Refreshes the image from the open monitor windows (at most 32) and writes it whole to
  /// path, and their strip charts to the chart file beside it. False when a file could not
  /// be written completely; the user has been told.
  bool WriteSettingsFile(const QString& path);

  void OnFileOpen();
  void OnFileClose();
  void OnFileSave();
  void OnFileSaveAs();
  /// Start-up: reopens the file "Settings"/"Monitor" names, without reports.
  void ReopenLastSettingsFile();

  /// The image of the run: a load overlays it, a save refreshes and writes it.
  SettingsImage m_settings;
  /// Full path and file name of the current file; empty when none is current.
  QString m_szSettingsPath;
  QString m_szSettingsName;
  /// Carried in the file's header; nothing else uses it.
  std::uint8_t m_bSettingsFlag = 0;

 private:
  /// The caption after the title: the version, and " - " and the file name when one is
  /// current.
  void SetDocumentName(const QString& name);
  QString VersionAndFileName() const;
  /// Asks for the file of Save As; false on Cancel.
  bool ChooseSaveFile();
  void WriteMonitorPath();
  /// The strip charts of the windows a load opened (frames: one per record, null where no
  /// window was opened), from the chart file beside the settings file; a window without a
  /// sound chart record keeps its list alone.
  void RestoreCharts(const std::vector<CChildFrame*>& frames);
  /// The line that says where a damaged file at path is kept.
  static std::string KeptLine(const QString& path);
  /// Says once that a file a load read is damaged and why, and notes it so that no save
  /// replaces it before it is kept.
  void ReportDamaged(std::string_view text, const QString& path, const std::string& reason);
  /// Before path is replaced: keeps it beside when a load found it damaged. False, the user
  /// told, when it could not be kept; the save then leaves it as it is.
  bool KeepIfDamaged(const QString& path, QString& kept);
  /// Saves the charts of the windows just stored beside the settings file at path.
  bool WriteCharts(const QString& path, const ChartLayout& layout);

  CommandContext& m_ctx;
  GuiPrompter& m_prompter;
  CMainFrame& m_mainFrame;
  MonitorTemplate& m_kind;
  DamagedFiles m_damaged;
};

}  // namespace lcu::gui
