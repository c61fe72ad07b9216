#include "gui/monitor/monitor_settings.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>

#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QMdiArea>

#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/host/regular_file.h"
#include "core/messages/message_text.h"
#include "core/messages/messages.h"
#include "core/monitor/chart_layout.h"
#include "core/monitor/settings_file_contents.h"
#include "gui/app/gui_prompter.h"
#include "gui/app/gui_texts.h"
#include "gui/app/main_frame.h"
#include "gui/app/product_version.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_fit.h"
#include "gui/monitor/chart_texts.h"
#include "gui/monitor/child_frame.h"
#include "gui/monitor/monitor_pane.h"
#include "gui/monitor/monitor_template.h"

namespace lcu::gui {

namespace {

// Positions a placement gives when it has none of its own.
constexpr std::int32_t kNoPosition = -1;

WindowPlacement PlacementOf(const QRect& normal, int showCmd) {
  WindowPlacement placement;
  placement.showCmd = static_cast<std::uint32_t>(showCmd);
  placement.minX = placement.minY = placement.maxX = placement.maxY = kNoPosition;
  placement.left = normal.left();
  placement.top = normal.top();
  placement.right = normal.left() + normal.width();
  placement.bottom = normal.top() + normal.height();
  return placement;
}

std::span<const std::uint8_t> AsBytes(const QByteArray& bytes) {
  return std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
}

void ApplyShowCommand(QWidget& window, std::uint32_t showCmd) {
  switch (showCmd) {
    case kPlacementMinimized: window.showMinimized(); break;
    case kPlacementMaximized: window.showMaximized(); break;
    default: window.showNormal(); break;
  }
}

}  // namespace

MonitorSettings::MonitorSettings(CommandContext& ctx, GuiPrompter& prompter, CMainFrame& mainFrame,
                                 MonitorTemplate& kind)
    : m_ctx(ctx), m_prompter(prompter), m_mainFrame(mainFrame), m_kind(kind) {}

void MonitorSettings::SetDocumentName(const QString& name) {
  m_mainFrame.setWindowTitle(ToQString(msg::kAppTitle) + ToQString(text::kCaptionSeparator) + name);
}

QString MonitorSettings::VersionAndFileName() const {
  return GetProductVersion() + ToQString(text::kCaptionSeparator) + m_szSettingsName;
}

void MonitorSettings::WriteMonitorPath() {
  Profile(m_ctx.store).WriteProfileString(reg::kSettings, reg::kMonitor, PathToStore(m_szSettingsPath));
}

void MonitorSettings::LoadSettingsFile(bool report) {
  QFile file(m_szSettingsPath);
  const std::string path = ToStdString(m_szSettingsPath);
  if (const std::optional<std::string> refusal = NotRegularFileReason(path)) {
    if (report) ShowFileError(m_ctx.prompter, msg::kFailedToOpenSettingsFile, path, *refusal);
    return;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    if (report) ShowFileError(m_ctx.prompter, msg::kFailedToOpenSettingsFile, path, ToStdString(file.errorString()));
    return;
  }
  SetDocumentName(VersionAndFileName());
  // A file shorter than the image leaves the rest of a fresh image, never the previous file's.
  m_settings = SettingsImage{};
  // Only the bytes a settings file can hold are read, whatever the file's size.
  const QByteArray bytes = file.read(static_cast<qint64>(kSettingsBytesToRead));
  if (file.error() != QFileDevice::NoError) {
    // Whatever did arrive stays in the image. What the file holds is not known: it is kept
    // like a damaged one.
    m_settings.Overlay(AsBytes(bytes));
    m_damaged.Note(m_szSettingsPath);
    std::string message(msg::kFailedToReadSettingsFile);
    message.replace(message.find("%s"), 2, FileErrorLine(path, ToStdString(file.errorString())));
    m_ctx.prompter.Error(message + "\n" + KeptLine(m_szSettingsPath));
    return;
  }
  file.close();
  const SettingsFileContents contents = ReadSettingsFile(AsBytes(bytes));
  m_settings = contents.image;
  if (contents.headerUsable) {
    // A placement without a rectangle (a zeroed record of a hand-made file) keeps the window
    // where it is; any other is fitted into the screen, and the child windows into the main
    // window's area as it is laid out for the new size.
    if (const std::optional<WindowGeometry> normal = m_settings.mainPlacement.NormalGeometry()) {
      m_mainFrame.PlaceFrame(normal->x, normal->y, normal->width, normal->height);
    }
    ApplyShowCommand(m_mainFrame, m_settings.mainPlacement.showCmd);
    m_bSettingsFlag = m_settings.settingsFlag;
  }
  if (QLayout* layout = m_mainFrame.layout()) layout->activate();
  const QRect childArea = m_kind.Area().viewport()->rect();

  CChildFrame* active = nullptr;
  // The frame of each record, null for a record whose window was not opened.
  std::vector<CChildFrame*> opened(kMaxMonitorWindows, nullptr);
  for (const std::size_t k : contents.windows) {
    const MonitorWindowRecord& record = m_settings.records[k];
    CChildFrame& frame = m_kind.CreateNewFrame();
    opened[k] = &frame;
    frame.SetWindowName(ToQString(record.NameText()));

    // The document gets its font, widths and rows while the window is still hidden: on a
    // shown window each of them lays the list out and repaints it once more.
    MonitorDocument& document = *MonitorTemplate::DocumentOf(frame);
    if (m_settings.HasFontsAndWidths()) {
      document.SetFont(record.font);
      document.SetColumnWidths(record.columnWidths);
    }
    const std::size_t rows = record.RowsToRestore();
    if (rows > 0) document.SetChannels(std::span(record.channels).first(rows));

    const QRect made = frame.geometry();
    const WindowGeometry normal =
        record.placement.NormalGeometry().value_or(WindowGeometry{made.x(), made.y(), made.width(), made.height()});
    frame.setGeometry(FitIntoArea(normal.x, normal.y, normal.width, normal.height, childArea));
    ApplyShowCommand(frame, record.placement.showCmd);
    m_kind.InitialUpdateFrame(frame, false);
    if (record.active != 0) active = &frame;
  }
  if (contents.Damaged()) ReportDamaged(msg::kSettingsFileDamaged, m_szSettingsPath, contents.damage);
  RestoreCharts(opened);
  if (active) m_kind.Area().setActiveSubWindow(active);
}

std::string MonitorSettings::KeptLine(const QString& path) {
  return WithText(msg::kDamagedFileKept, ToStdString(QFileInfo(DamagedFiles::KeptName(path)).fileName()));
}

void MonitorSettings::ReportDamaged(std::string_view text, const QString& path, const std::string& reason) {
  m_damaged.Note(path);
  ShowFileError(m_ctx.prompter, text, ToStdString(path), reason + "\n" + KeptLine(path));
}

bool MonitorSettings::KeepIfDamaged(const QString& path, QString& kept) {
  QString reason;
  if (m_damaged.KeepBeforeReplacing(path, kept, reason)) return true;
  ShowFileError(m_ctx.prompter, msg::kDamagedFileNotKept, ToStdString(path), ToStdString(reason));
  return false;
}

void MonitorSettings::RestoreCharts(const std::vector<CChildFrame*>& frames) {
  const QString path = m_szSettingsPath + ToQString(kChartFileSuffix);
  QFile file(path);
  if (!file.exists()) return;
  // Only the bytes a chart file can hold are read, whatever the file's size.
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.read(static_cast<qint64>(kChartBytesToRead));
  if (file.error() != QFileDevice::NoError) {
    // What a chart file that cannot be read holds is not known: it is kept like a damaged one.
    ReportDamaged(text::kChartFileNotRead, path, ToStdString(file.errorString()));
    return;
  }
  const ChartFileContents contents = ReadChartLayout(AsBytes(bytes));
  // The windows are open with their lists; those with a sound chart record get their chart.
  const std::vector<WindowChart>& charts = contents.layout.windows;
  for (std::size_t k = 0; k < frames.size() && k < charts.size(); ++k) {
    if (!frames[k]) continue;
    if (MonitorPane* pane = MonitorTemplate::PaneOf(*frames[k])) pane->ApplyChartLayout(charts[k]);
  }
  if (contents.Damaged()) ReportDamaged(text::kChartFileDamaged, path, contents.damage);
}

bool MonitorSettings::WriteCharts(const QString& path, const ChartLayout& layout) {
  const QString chartPath = path + ToQString(kChartFileSuffix);
  const std::string stored = PathToStore(chartPath);
  std::string reason;
  const std::unique_ptr<OutputFile> file = m_ctx.files.Create(stored, CreateMode::kReplace, reason);
  if (!file) {
    ShowFileError(m_ctx.prompter, text::kChartLayoutNotSaved, stored, reason);
    return false;
  }
  if (!file->Write(WriteChartLayout(layout))) {
    ShowFileError(m_ctx.prompter, text::kChartLayoutNotSaved, stored, file->ErrorText());
    file->Close();
    return false;
  }
  QString kept;
  if (!KeepIfDamaged(chartPath, kept)) {
    file->Close();
    return false;
  }
  if (!file->Commit()) {
    m_damaged.PutBack(chartPath, kept);
    ShowFileError(m_ctx.prompter, text::kChartLayoutNotSaved, stored, file->ErrorText());
    return false;
  }
  return true;
}

bool MonitorSettings::WriteSettingsFile(const QString& path) {
  // The file is saved as a replacement, so a save that fails leaves the old layout intact.
  const std::string stored = PathToStore(path);
  std::string reason;
  const std::unique_ptr<OutputFile> file = m_ctx.files.Create(stored, CreateMode::kReplace, reason);
  if (!file) {
    ShowFileError(m_ctx.prompter, msg::kFailedToOpenAFile, ToStdString(path), reason);
    return false;
  }
  WriteMonitorPath();
  m_settings.version = kSettingsVersion;
  const int mainShow = m_mainFrame.isMinimized()   ? kShowMinimized
                       : m_mainFrame.isMaximized() ? kShowMaximized
                                                   : kShowNormal;
  m_settings.mainPlacement = PlacementOf(m_mainFrame.NormalFrameGeometry(), mainShow);
  m_settings.settingsFlag = m_bSettingsFlag;

  const QMdiSubWindow* current = m_kind.Area().currentSubWindow();
  ChartLayout charts;
  std::size_t k = 0;
  for (CChildFrame* frame : m_kind.Frames()) {
    if (k == kMaxMonitorWindows) break;
    const MonitorDocument* document = MonitorTemplate::DocumentOf(*frame);
    if (!document) continue;
    MonitorWindowRecord& record = m_settings.records[k++];
    record.placement = PlacementOf(frame->NormalGeometry(), frame->ShowCommand());
    record.SetName(ToStdString(frame->WindowName()));
    const std::span<const std::uint16_t> channels = document->Channels();
    record.channelCount = static_cast<std::int32_t>(channels.size());
    record.channels.fill(0);
    std::copy_n(channels.begin(), std::min(channels.size(), kStoredChannels), record.channels.begin());
    record.font = document->Font();
    record.columnWidths = document->ColumnWidths();
    record.active = frame == current ? 1 : 0;
    const MonitorPane* pane = MonitorTemplate::PaneOf(*frame);
    charts.windows.push_back(pane ? pane->ChartLayout() : WindowChart{});
  }
  m_settings.windowCount = static_cast<std::int32_t>(k);

  std::vector<std::uint8_t> bytes(kSettingsImageSize);
  m_settings.Write(std::span<std::uint8_t, kSettingsImageSize>(bytes.data(), kSettingsImageSize));
  if (!file->Write(bytes)) {
    ShowFileError(m_ctx.prompter, msg::kFailedToWriteSettingsFile, ToStdString(path), file->ErrorText());
    file->Close();
    return false;
  }
  // A file that a load found damaged is kept beside before the new one takes its place.
  QString kept;
  if (!KeepIfDamaged(path, kept)) {
    file->Close();
    return false;
  }
  if (!file->Commit()) {
    m_damaged.PutBack(path, kept);
    ShowFileError(m_ctx.prompter, msg::kFailedToWriteSettingsFile, ToStdString(path), file->ErrorText());
    return false;
  }
  return WriteCharts(path, charts);
}

void MonitorSettings::OnFileOpen() {
  const QString path = m_prompter.GetOpenFileName(ToQString(text::kLoadSettingsTitle), PathFromStore(VelmoraRoot()),
                                                  ToQString(text::kLoadSettingsFilter));
  if (path.isEmpty()) return;
  OnFileClose();
  m_szSettingsPath = path;
  m_szSettingsName = QFileInfo(path).fileName();
  LoadSettingsFile(true);
  WriteMonitorPath();
}

void MonitorSettings::OnFileClose() {
  for (CChildFrame* frame : m_kind.Frames()) {
    // The frames go after the command: Open makes its windows while these still exist.
    if (MonitorTemplate::MonitorViewOf(*frame)) QMetaObject::invokeMethod(frame, &QWidget::close, Qt::QueuedConnection);
  }
  SetDocumentName(GetProductVersion());
  m_szSettingsPath.clear();
  m_szSettingsName.clear();
}

bool MonitorSettings::ChooseSaveFile() {
  const QString initial = PathFromStore(JoinPath(VelmoraRoot(), text::kDefaultSettingsName));
  const QString path =
      m_prompter.GetSaveFileName(ToQString(text::kSaveSettingsTitle), initial, ToQString(text::kSaveSettingsFilter));
  if (path.isEmpty()) return false;
  // A new name typed without an extension gets the one Open lists; a file chosen as it is
  // keeps its name.
  const QFileInfo chosen(path);
  m_szSettingsPath = chosen.suffix().isEmpty() && !chosen.exists() ? path + ToQString(text::kSettingsExtension) : path;
  m_szSettingsName = QFileInfo(m_szSettingsPath).fileName();
  return true;
}

void MonitorSettings::OnFileSaveAs() {
  if (!ChooseSaveFile()) return;
  WriteSettingsFile(m_szSettingsPath);
  SetDocumentName(VersionAndFileName());
}

void MonitorSettings::OnFileSave() {
  if (m_szSettingsName.isEmpty() && !ChooseSaveFile()) return;
  WriteSettingsFile(m_szSettingsPath);
  SetDocumentName(VersionAndFileName());
}

void MonitorSettings::ReopenLastSettingsFile() {
  const std::string path = Profile(m_ctx.store).GetProfileString(reg::kSettings, reg::kMonitor, "");
  if (path.empty()) return;
  m_szSettingsPath = PathFromStore(path);
  m_szSettingsName = QFileInfo(m_szSettingsPath).fileName();
  LoadSettingsFile(false);
}

}  // namespace lcu::gui
