// Monitor settings files through the File menu and start-up: what a save brings back, the
// file's fixed length, hand-made and old files, the failures, and the save at the end.
#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include "core/messages/messages.h"
#if !defined(_WIN32)
#include "support/file_size_limit.h"
#include "support/peak_memory.h"
#endif
#include "core/monitor/settings_image.h"
#include "core/util/little_endian.h"
#include "gui/app/product_version.h"
#include "gui/monitor/monitor_pane.h"
#include "gui_fixture.h"
#include "support/host_reasons.h"
#include "support/temp_folder.h"

namespace lcu::test {
namespace {

using gui::CMonitorView;

class MonitorSettingsTest : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    Start();
  }
  static std::vector<std::uint8_t> Contents(const QString& path) { return ReadBytes(path.toStdString()); }
  static void Write(const QString& path, std::span<const std::uint8_t> bytes) { WriteBytes(path.toStdString(), bytes); }
  static std::int32_t WindowCount(const std::vector<std::uint8_t>& file) { return le::S32(file, 37); }
  // The message of a damaged settings file.
  static std::string Damaged(const QString& path, const std::string& reason, const char* kept = nullptr) {
    const std::string keptName = kept ? kept : QFileInfo(path).fileName().toStdString() + ".damaged";
    return "Settings file is damaged.\n" + path.toStdString() + ": " + reason + "\nIt is kept as " + keptName +
           " before it is saved over.";
  }
  QString CaptionWith(const QString& name) {
    return QStringLiteral("Corvalent - ") + gui::GetProductVersion() + (name.isEmpty() ? QString() : " - " + name);
  }
  // Adds a child window that is no monitor window, as the memory window is.
  void AddOtherWindow() {
    auto* other = new gui::CChildFrame(*prompter);
    other->setWidget(new QLabel);
    Frame().MdiArea().addSubWindow(other);
    other->show();
  }
};

// What a monitor list holds at the moment it is first shown.
class FirstShowRecorder : public QObject {
 public:
  struct Shown {
    LogFont font;
    std::array<std::uint16_t, 5> widths{};
    int rows = 0;
  };
  std::map<const CMonitorView*, Shown> shown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (auto* view = qobject_cast<CMonitorView*>(watched); view && event->type() == QEvent::Show && !shown.count(view))
      shown[view] = {view->GetListFont(), view->GetColumnWidths(), view->Model().rowCount()};
    return QObject::eventFilter(watched, event);
  }
};

// The saved windows come back at the next start with their names, channels, fonts, widths and
// the active one, each drawn once as the file describes it: the list has the stored font,
// widths and rows before it is first shown.
TEST_F(MonitorSettingsTest, SavedWindowsComeBackAtTheNextStartAsTheyWereShownUpToThirtyTwo) {
  struct Window {
    const char* name;
    std::vector<std::uint16_t> channels;
    std::array<std::uint16_t, 5> widths;
    int pixels;
    bool bold;
  };
  const Window windows[] = {
      {"Engine", Range(0, 20), {40, 120, 70, 50, 45}, 11, false},
      {"Chassis", {70, 5, 130}, {60, 100, 80, 40, 55}, 15, true},
      {"Empty", {}, {50, 115, 60, 60, 50}, 13, false},
  };
  for (const Window& w : windows) {
    gui::CChildFrame& frame = NewWindow();
    frame.SetWindowName(QString::fromUtf8(w.name));
    CMonitorView& view = ViewOf(frame);
    if (!w.channels.empty()) view.Document().SetChannels(w.channels);
    LogFont font = view.GetListFont();
    font.height = -w.pixels;
    font.weight = w.bold ? kFontWeightBold : kFontWeightNormal;
    view.Document().SetFont(font);
    view.Document().SetColumnWidths(w.widths);
  }
  AddOtherWindow();
  Frame().MdiArea().setActiveSubWindow(Frames()[1]);

  SaveAs(FilePath("three"));  // a name typed without an extension is saved as .nsb
  const QString path = FilePath("three.nsb");
  EXPECT_TRUE(prompter->messages.empty());
  EXPECT_FALSE(QFile::exists(FilePath("three")));
  const std::vector<std::uint8_t> file = Contents(path);
  ASSERT_EQ(file.size(), 42172u);
  EXPECT_EQ(WindowCount(file), 3) << "the other window takes no record";
  EXPECT_EQ(Frame().windowTitle(), CaptionWith("three.nsb"));
  EXPECT_EQ(Value(reg::kSettings, reg::kMonitor), path.toStdString());
  ASSERT_EQ(prompter->saveDialogs.size(), 1u);
  EXPECT_EQ(prompter->saveDialogs[0].title, "Save Settings");
  EXPECT_EQ(prompter->saveDialogs[0].filter, "Settings Files (*.nsb)");
  EXPECT_EQ(QFileInfo(prompter->saveDialogs[0].folder).fileName(), "Settings.nsb");

  Stop();
  FirstShowRecorder recorder;
  qApp->installEventFilter(&recorder);
  Start();
  qApp->removeEventFilter(&recorder);
  EXPECT_EQ(Frame().windowTitle(), CaptionWith("three.nsb"));
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 3u);
  for (std::size_t k = 0; k < frames.size(); ++k) {
    const Window& w = windows[k];
    SCOPED_TRACE(w.name);
    EXPECT_EQ(frames[k]->windowTitle(), w.name);
    CMonitorView& view = ViewOf(*frames[k]);
    for (std::size_t i = 0; i < w.channels.size(); ++i)
      EXPECT_EQ(view.Model().Channel(static_cast<int>(i)), w.channels[i]);
    EXPECT_EQ(view.Document().IsStarted(), !w.channels.empty());
    const auto shown = recorder.shown.find(&view);
    ASSERT_NE(shown, recorder.shown.end());
    EXPECT_EQ(shown->second.rows, static_cast<int>(w.channels.size()));
    EXPECT_EQ(shown->second.widths, w.widths);
    EXPECT_EQ(shown->second.font.height, -w.pixels);
    EXPECT_EQ(shown->second.font.weight, w.bold ? kFontWeightBold : kFontWeightNormal);
  }
  EXPECT_EQ(Frame().MdiArea().currentSubWindow(), frames[1]) << "the active window is active again";
  EXPECT_TRUE(prompter->messages.empty());

  // The file has the same length with 33 windows, of which it holds 32.
  while (Frames().size() < 33) NewWindow();
  SaveAs(path);
  EXPECT_EQ(Contents(path).size(), 42172u);
  EXPECT_EQ(WindowCount(Contents(path)), 32);
}

TEST_F(MonitorSettingsTest, OpenClosesTheOldWindowsAndOpensTheStoredOnes) {
  std::vector<std::uint8_t> handMade(42172);
  handMade[37] = 2;
  const QString path = FilePath("hand.nsb");
  Write(path, handMade);
  NewWindow();
  AddOtherWindow();

  Open(path);
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 3u) << "two new monitor windows and the other window";
  EXPECT_EQ(gui::MonitorTemplate::MonitorViewOf(*frames[0]), nullptr);
  for (std::size_t k = 1; k < 3; ++k) {
    EXPECT_EQ(frames[k]->windowTitle(), "");
    EXPECT_EQ(ViewOf(*frames[k]).Model().rowCount(), 0);
  }
  EXPECT_EQ(Frame().windowTitle(), CaptionWith("hand.nsb"));
  EXPECT_EQ(Value(reg::kSettings, reg::kMonitor), path.toStdString());
  ASSERT_EQ(prompter->fileDialogs.size(), 1u);
  EXPECT_EQ(prompter->fileDialogs[0].title, "Load Settings");
  EXPECT_EQ(prompter->fileDialogs[0].filter, "Setting Files (*.nsb)");

  // A file that ends inside the reserved bytes opens no window, and none of the previous file's.
  const QString cut = FilePath("short.nsb");
  Write(cut, std::vector<std::uint8_t>(20));
  Open(cut);
  EXPECT_EQ(Frames().size(), 1u);
  EXPECT_EQ(prompter->messages, std::vector<std::string>{Damaged(cut, "the file ends after 20 of its 42172 bytes")});
}

// A file cut short inside its third window: said once at start-up with the file and why, the
// two whole windows open as they were saved, and the save at the end keeps the cut file beside
// before it writes the windows, so that nothing the file held is lost.
TEST_F(MonitorSettingsTest, ACutShortFileOpensItsWholeWindowsAndIsKeptBeforeTheEndSavesOverIt) {
  for (std::uint16_t k = 0; k < 3; ++k) {
    gui::CChildFrame& frame = NewWindow();
    frame.SetWindowName(QStringLiteral("Window %1").arg(k + 1));
    ViewOf(frame).Document().SetChannels(Range(static_cast<std::uint16_t>(10 * k), 4));
  }
  const QString path = FilePath("cut.nsb");
  SaveAs(path);
  const std::vector<std::uint8_t> whole = Contents(path);
  const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + 188 + 2 * 1312 + 700);
  Write(path, cut);

  Stop();
  Start();
  EXPECT_EQ(prompter->messages, std::vector<std::string>{Damaged(path, "the file ends after 3512 of its 42172 bytes")});
  ASSERT_EQ(Frames().size(), 2u);
  for (std::size_t k = 0; k < 2; ++k) {
    EXPECT_EQ(Frames()[k]->windowTitle(), QStringLiteral("Window %1").arg(k + 1));
    EXPECT_EQ(ViewOf(*Frames()[k]).Model().Channel(3), static_cast<int>(10 * k + 3));
  }

  Frame().close();
  EXPECT_EQ(Contents(path + ".damaged"), cut);
  EXPECT_EQ(Contents(path).size(), 42172u);
  EXPECT_EQ(WindowCount(Contents(path)), 2);
  EXPECT_EQ(prompter->messages.size(), 1u) << "said once";

  // The file saved now is sound: the next start says nothing, and its saves keep nothing more.
  Stop();
  Start();
  EXPECT_TRUE(prompter->messages.empty());
  EXPECT_EQ(Frames().size(), 2u);
  Frame().close();
  EXPECT_EQ(QFileInfo(path).dir().entryList(QDir::Files), (QStringList{"cut.nsb", "cut.nsb.chart", "cut.nsb.damaged"}));
}

// Bytes that are no settings file open no window and lend nothing to the next save; a kept
// name already taken is never replaced; a save that fails, or that cannot keep the damaged
// file, leaves it in place.
TEST_F(MonitorSettingsTest, RandomBytesOpenNoWindowAndAreKeptUnderAFreeName) {
  std::mt19937 random(6);
  std::vector<std::uint8_t> noise(42172);
  for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
  le::PutU32(noise, 0, 0x01020304);
  const QString path = FilePath("noise.nsb");
  Write(path, noise);
  const std::vector<std::uint8_t> earlier{'e', 'a', 'r', 'l', 'i', 'e', 'r'};
  Write(path + ".damaged", earlier);

  Open(path);
  EXPECT_TRUE(Frames().empty());
  EXPECT_EQ(prompter->messages,
            std::vector<std::string>{
                Damaged(path, "not a settings file this program knows (version 16909060)", "noise.nsb.damaged.2")});
  WindowWith(Range(0, 2));

#if !defined(_WIN32)
  {
    const FileSizeLimit limit(8192);
    Choose(gui::cmd::kFileSave);
  }
  EXPECT_EQ(prompter->messages.size(), 2u) << "the failed save is reported";
  EXPECT_EQ(Contents(path), noise);
  EXPECT_FALSE(QFile::exists(path + ".damaged.2"));
#endif

  // With every kept name taken the damaged file cannot be kept, and so is not replaced.
  QStringList taken;
  for (int n = 2; n <= 1000; ++n) {
    taken.append(path + ".damaged." + QString::number(n));
    Write(taken.back(), earlier);
  }
  Choose(gui::cmd::kFileSave);
  ASSERT_FALSE(prompter->messages.empty());
  EXPECT_TRUE(
      prompter->messages.back().starts_with(std::string(msg::kDamagedFileNotKept) + "\n" + path.toStdString() + ": "))
      << prompter->messages.back();
  EXPECT_EQ(Contents(path), noise);
  for (const QString& name : taken) QFile::remove(name);

  Choose(gui::cmd::kFileSave);
  EXPECT_EQ(Contents(path + ".damaged.2"), noise);
  EXPECT_EQ(Contents(path + ".damaged"), earlier);
  const std::vector<std::uint8_t> saved = Contents(path);
  EXPECT_EQ(WindowCount(saved), 1);
  std::vector<std::uint8_t> fresh(42172);
  SettingsImage{}.Write(std::span<std::uint8_t, kSettingsImageSize>(fresh.data(), kSettingsImageSize));
  EXPECT_TRUE(std::equal(saved.begin() + 188 + 1312, saved.end(), fresh.begin() + 188 + 1312))
      << "nothing of the noise is carried";
}

#if !defined(_WIN32)
// A settings file and a chart file of many gigabytes whose first bytes are sound: only the bytes
// a layout can hold are read (the process's peak memory stays far below the files' size), the
// windows open with their charts, and both files are kept, not copied, before the end's save.
TEST_F(MonitorSettingsTest, AHugeFileIsReadOnlyAsFarAsItsFormatGoes) {
  WindowWith(Range(0, 3));
  WindowWith(Range(5, 2));
  Choose(gui::cmd::kStripChart);
  const QString path = FilePath("huge.nsb");
  const QString chart = path + ".chart";
  SaveAs(path);
  ASSERT_TRUE(prompter->messages.empty());
  constexpr std::uintmax_t kHuge = std::uintmax_t{6} << 30;
  // Sparse: the files take no room on the disk.
  std::filesystem::resize_file(path.toStdString(), kHuge);
  std::filesystem::resize_file(chart.toStdString(), kHuge);

  const long before = PeakResidentKilobytes();
  Open(path);
  const long grown = PeakResidentKilobytes() - before;
  EXPECT_LT(grown, 256 * 1024) << "kilobytes";
  ASSERT_EQ(Frames().size(), 2u);
  EXPECT_EQ(ViewOf(*Frames()[0]).Model().rowCount(), 3);
  EXPECT_TRUE(gui::MonitorTemplate::PaneOf(*Frames()[1])->IsChartShown());
  EXPECT_EQ(prompter->messages,
            (std::vector<std::string>{Damaged(path, "the file is longer than a settings file"),
                                      "Strip chart file is damaged.\n" + chart.toStdString() +
                                          ": bytes after the last window\n"
                                          "It is kept as huge.nsb.chart.damaged before it is saved over."}));

  Frame().close();
  EXPECT_EQ(QFileInfo(path + ".damaged").size(), static_cast<qint64>(kHuge));
  EXPECT_EQ(QFileInfo(chart + ".damaged").size(), static_cast<qint64>(kHuge));
  EXPECT_EQ(QFileInfo(path).size(), 42172);
  EXPECT_LT(QFileInfo(chart).size(), 1024);
}
#endif

TEST_F(MonitorSettingsTest, AVersionOneFileKeepsTheDefaultFontAndWidths) {
  gui::CChildFrame& frame = NewWindow();
  frame.SetWindowName(QStringLiteral("Old"));
  ViewOf(frame).Document().SetChannels(std::vector<std::uint16_t>{3, 64});
  ViewOf(frame).Document().SetColumnWidths({10, 10, 10, 10, 10});
  const LogFont defaultFont = ViewOf(frame).GetListFont();
  LogFont big = defaultFont;
  big.height = -30;
  ViewOf(frame).Document().SetFont(big);
  const QString path = FilePath("old.nsb");
  SaveAs(path);
  std::vector<std::uint8_t> file = Contents(path);
  file[0] = 1;
  Write(path, file);

  Open(path);
  ASSERT_EQ(Frames().size(), 1u);
  CMonitorView& view = ViewOf(*Frames()[0]);
  EXPECT_EQ(Frames()[0]->windowTitle(), "Old");
  EXPECT_EQ(view.Model().rowCount(), 2);
  EXPECT_EQ(view.GetColumnWidths(), kDefaultColumnWidths);
  EXPECT_EQ(view.GetListFont(), defaultFont);
}

TEST_F(MonitorSettingsTest, FailuresAreReportedOnceAndLeaveTheRightState) {
  // A file that cannot be opened by Open: reported, old windows closed, still current.
  NewWindow();
  const QString missing = FilePath("missing.nsb");
  Open(missing);
  EXPECT_EQ(prompter->messages,
            std::vector<std::string>{FormatSystemError(msg::kFailedToOpenSettingsFile,
                                                       missing.toStdString() + ": " + std::string(kMissingFile))});
  EXPECT_TRUE(Frames().empty());
  EXPECT_EQ(Value(reg::kSettings, reg::kMonitor), missing.toStdString());
  // At the next start the missing file is passed over in silence.
  Stop();
  Start();
  EXPECT_TRUE(prompter->messages.empty());
  EXPECT_TRUE(Frames().empty());
  EXPECT_EQ(Frame().windowTitle(), CaptionWith(QString()));

  // A file that cannot be created: reported, nothing written, but current and in the caption.
  const QString nowhere = FilePath("no-folder/x.nsb");
  SaveAs(nowhere);
  EXPECT_EQ(prompter->messages,
            std::vector<std::string>{FormatSystemError(msg::kFailedToOpenAFile,
                                                       nowhere.toStdString() + ": " + std::string(kMissingFolder))});
  EXPECT_EQ(Value(reg::kSettings, reg::kMonitor), missing.toStdString()) << "registry unchanged";
  EXPECT_EQ(Frame().windowTitle(), CaptionWith("x.nsb"));

#if !defined(_WIN32)
  // A save over a file that the disk cannot take whole leaves the old layout as it was.
  const QString kept = FilePath("kept.nsb");
  SaveAs(kept);
  const std::vector<std::uint8_t> saved = Contents(kept);
  NewWindow();
  prompter->messages.clear();
  {
    const FileSizeLimit limit(8192);
    SaveAs(kept);
  }
  EXPECT_EQ(prompter->messages, std::vector<std::string>{FormatSystemError(msg::kFailedToWriteSettingsFile,
                                                                           kept.toStdString() + ": File too large")});
  EXPECT_TRUE(Contents(kept) == saved);
  EXPECT_EQ(QFileInfo(kept).dir().entryList(QDir::Files | QDir::Hidden), (QStringList{"kept.nsb", "kept.nsb.chart"}));
#endif

  // A file that opens but cannot be read: the first page of a process's memory is not mapped.
  const QString unreadable = QStringLiteral("/proc/self/mem");
  if (!QFileInfo::exists(unreadable)) return;
  prompter->messages.clear();
  Open(unreadable);
  EXPECT_TRUE(Frames().empty());
  EXPECT_EQ(Frame().windowTitle(), CaptionWith("mem")) << "the caption already names the file";
  ASSERT_EQ(prompter->messages.size(), 1u);
  const std::string& message = prompter->messages[0];
  EXPECT_TRUE(message.starts_with("Failed to read settings file.\n/proc/self/mem: ") && !message.ends_with(": "))
      << message;
}

TEST_F(MonitorSettingsTest, CloseEndsTheFileAndClosingTheMainWindowSavesIt) {
  WindowWith(Range(0, 2));
  AddOtherWindow();
  const QString path = FilePath("kept.nsb");
  SaveAs(path);
  Choose(gui::cmd::kFileClose);
  EXPECT_EQ(Frames().size(), 2u) << "the windows close after the command";
  RunPosted();
  ASSERT_EQ(Frames().size(), 1u);
  EXPECT_EQ(gui::MonitorTemplate::MonitorViewOf(*Frames()[0]), nullptr);
  EXPECT_EQ(Frame().windowTitle(), CaptionWith(QString()));
  EXPECT_EQ(Value(reg::kSettings, reg::kMonitor), path.toStdString());

  // No file is current: Save and closing the main window ask; Cancel writes nothing.
  prompter->saveFileAnswer.clear();
  Choose(gui::cmd::kFileSave);
  Frame().close();
  EXPECT_EQ(prompter->saveDialogs.size(), 3u);
  EXPECT_FALSE(Frame().isVisible());

  // At the next start the file is current again, and closing writes it without asking.
  Stop();
  Start();
  WindowWith(Range(0, 5));
  Frame().close();
  EXPECT_TRUE(prompter->saveDialogs.empty());
  EXPECT_EQ(WindowCount(Contents(path)), 2);
}

}  // namespace
}  // namespace lcu::test
