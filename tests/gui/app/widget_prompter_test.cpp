// The program's questions all erase or replace data: a reflex Enter or Escape must keep it.
#include <gtest/gtest.h>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gui/app/widget_prompter.h"

namespace lcu::gui {
namespace {

TEST(WidgetPrompterTest, EnterAndEscapeAnswerNo) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    WidgetPrompter prompter;
    QMessageBox::StandardButton shownDefault = QMessageBox::NoButton;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      shownDefault = box->standardButton(box->defaultButton());
      QTest::keyClick(box, key);
    });
    EXPECT_FALSE(prompter.AskQuestion("LCU contains data. Do you want to continue ?")) << key;
    EXPECT_EQ(shownDefault, QMessageBox::No);
  }
}

}  // namespace
}  // namespace lcu::gui
