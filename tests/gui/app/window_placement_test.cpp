// Windows within reach: restored rectangles fitted into the screen and the MDI area, new
// monitor windows cascading, and the Window menu's list of open windows.
#include <climits>

#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QStyle>

#include "core/monitor/settings_image.h"
#include "gui_fixture.h"
#include "support/temp_folder.h"

namespace lcu::test {
namespace {

using WindowPlacementTest = GuiFixture;

TEST_F(WindowPlacementTest, AbsurdStoredRectanglesAreFittedIntoTheirArea) {
  const std::pair<std::string_view, int> edges[] = {
      {reg::kLeft, 300}, {reg::kTop, -900}, {reg::kRight, INT_MAX}, {reg::kBottom, INT_MAX}};
  for (const auto& [name, value] : edges) SetValue(reg::kSettings, name, value);
  Start();
  const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(workArea.contains(Frame().frameGeometry())) << "from the registry";

  // The same numbers from a settings file, for the main window and a child window.
  Frame().PlaceFrame(10, 10, 300, 200);
  NewWindow();
  const QString path = FilePath("huge.nsb");
  SaveAs(path);
  std::vector<std::uint8_t> bytes = ReadBytes(path.toStdString());
  ASSERT_EQ(bytes.size(), kSettingsImageSize);
  const std::span<std::uint8_t, kSettingsImageSize> whole(bytes.data(), kSettingsImageSize);
  SettingsImage image = SettingsImage::Read(whole);
  for (WindowPlacement* placement : {&image.mainPlacement, &image.records[0].placement}) {
    placement->left = 300;
    placement->top = -900;
    placement->right = INT_MAX;
    placement->bottom = INT_MAX - 1000;
  }
  image.Write(whole);
  WriteBytes(path.toStdString(), bytes);
  Open(path);
  EXPECT_TRUE(workArea.contains(Frame().frameGeometry())) << "from a settings file";
  ASSERT_EQ(Frames().size(), 1u);
  EXPECT_TRUE(Frame().MdiArea().viewport()->rect().contains(Frames()[0]->geometry()));
}

TEST_F(WindowPlacementTest, NewWindowsCascadeAndWrapAndTheWindowMenuListsAndActivatesThem) {
  Start();
  gui::CChildFrame& first = NewWindow();
  NewWindow();
  NewWindow();
  first.SetWindowName(QStringLiteral("Oil & Water"));
  first.OnUpdateFrameTitle();
  QMenu& windowMenu = *qobject_cast<QMenu*>(Menu().Action(gui::cmd::kWindowArrange)->parent());
  for (int shown = 0; shown < 2; ++shown) emit windowMenu.aboutToShow();  // made again, never added to
  std::vector<QString> labels;
  std::vector<bool> checks;
  const QList<QAction*> actions = windowMenu.actions();
  const auto listed = actions.mid(actions.indexOf(Menu().Action(gui::cmd::kWindowArrange)) + 2);
  for (const QAction* action : listed) {
    labels.push_back(action->text());
    checks.push_back(action->isChecked());
  }
  // The two windows of one name are told apart by their channels (here none).
  EXPECT_EQ(labels, (std::vector<QString>{"&1 Oil && Water", "&2 Monitor \u2014 no channels",
                                          "&3 Monitor \u2014 no channels"}));
  EXPECT_EQ(checks, (std::vector<bool>{false, false, true}));
  listed[0]->trigger();
  EXPECT_EQ(Frame().MdiArea().currentSubWindow(), &first);

  // Each new window steps down by a title bar, and the steps wrap inside the area.
  while (Frames().size() < 40) NewWindow();
  const int step = first.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &first);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Frames()[static_cast<std::size_t>(i)]->pos(), QPoint(i * step, i * step)) << i;
  int wraps = 0;
  for (gui::CChildFrame* frame : Frames()) {
    EXPECT_TRUE(Frame().MdiArea().viewport()->rect().contains(frame->geometry()));
    wraps += frame->pos() == QPoint(0, 0) ? 1 : 0;
  }
  EXPECT_GT(wraps, 1);
}

}  // namespace
}  // namespace lcu::test
