// Cascade keeps the child windows' sizes where they fit, and the Window menu tells monitor
// windows of the same name apart by their first channels.
#include <QMenu>

#include "gui/app/window_cascade.h"
#include "gui/app/window_list_menu.h"
#include "gui_fixture.h"

namespace lcu::test {
namespace {

TEST(CascadeRects, WindowsKeepTheirSizesWhereTheyFitAndStartAgainAtTheTopLeft) {
  const QRect area(0, 0, 600, 400);
  const struct {
    const char* what;
    std::vector<QSize> sizes;
    std::vector<QRect> rects;
  } cases[] = {
      {"all fit", {{300, 200}, {200, 100}, {380, 260}}, {{0, 0, 300, 200}, {20, 20, 200, 100}, {40, 40, 380, 260}}},
      {"the third would reach past the bottom: back to the top left",
       {{300, 200}, {300, 200}, {300, 370}},
       {{0, 0, 300, 200}, {20, 20, 300, 200}, {0, 0, 300, 370}}},
      {"larger than the area: made to fit it", {{800, 300}}, {{0, 0, 600, 300}}},
  };
  for (const auto& c : cases) EXPECT_EQ(gui::CascadeRects(c.sizes, area, 20), c.rects) << c.what;
  EXPECT_EQ(gui::CascadeRects({{100, 100}}, QRect(10, 30, 600, 400), 20), std::vector<QRect>{QRect(10, 30, 100, 100)});
}

class WindowArrangeTest : public OnLineGuiFixture {
 protected:
  QStringList WindowMenuList() {
    auto* menu = qobject_cast<QMenu*>(Menu().Action(gui::cmd::kWindowArrange)->parent());
    emit menu->aboutToShow();
    QStringList listed;
    bool afterArrange = false;
    for (QAction* item : menu->actions()) {
      if (afterArrange && !item->isSeparator()) listed << item->text();
      if (item == Menu().Action(gui::cmd::kWindowArrange)) afterArrange = true;
    }
    return listed;
  }
};

TEST_F(WindowArrangeTest, CascadeKeepsTheWindowsSizes) {
  Frame().resize(900, 700);
  std::vector<gui::CChildFrame*> frames = {&NewWindow(), &NewWindow(), &NewWindow()};
  frames[0]->resize(300, 180);
  frames[1]->resize(420, 320);
  std::vector<QSize> sizes;
  for (const gui::CChildFrame* frame : frames) sizes.push_back(frame->size());
  Choose(gui::cmd::kWindowCascade);
  QPoint previous(-1, -1);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i]->size(), sizes[i]) << i;
    EXPECT_NE(frames[i]->pos(), previous);
    previous = frames[i]->pos();
  }
  EXPECT_EQ(Frame().MdiArea().currentSubWindow(), frames[2]) << "the window in front stays in front";
}

TEST_F(WindowArrangeTest, WindowsOfTheSameNameAreListedWithTheirFirstChannels) {
  ViewOf(NewWindow()).Document().SetChannels(Range(0, 5));
  ViewOf(NewWindow()).Document().SetChannels(Range(64, 2));
  NewWindow();
  gui::CChildFrame& named = NewWindow();
  named.SetWindowName("Engine");
  named.OnUpdateFrameTitle();
  const AppState& state = app->State();
  const auto name = [&state](int channel) {
    return QString::fromStdString(state.m_channelTable[std::size_t(channel)].NameText());
  };
  EXPECT_EQ(
      WindowMenuList(),
      (QStringList{"&1 Monitor \u2014 " + name(0) + ", " + name(1) + ", " + name(2) + ", \u2026",
                   "&2 Monitor \u2014 " + name(64) + ", " + name(65), "&3 Monitor \u2014 no channels", "&4 Engine"}));
}

}  // namespace
}  // namespace lcu::test
