#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include "app/window/HintSwitch.h"
#include "app/window/Tray.h"

namespace kelvara::window {
namespace {

void click(Tray& tray, QSystemTrayIcon::ActivationReason reason) {
  auto* icon = tray.findChild<QSystemTrayIcon*>();
  ASSERT_NE(icon, nullptr);
  emit icon->activated(reason);
}

TEST(TrayOptionsTest, TheMouseOptionsDecideWhatAClickDoesAndWhetherTheMenuIsOffered) {
  QMenu menu;
  menu.addAction("Show &Window");
  Tray tray(true, &menu);
  int shown = 0;
  tray.onActivated([&] { ++shown; });
  EXPECT_EQ(tray.contextMenu(), &menu);

  click(tray, QSystemTrayIcon::Trigger);
  EXPECT_EQ(shown, 1);

  // Left popup: the left button opens the menu instead of showing the window.
  tray.setLeftPopup(true);
  click(tray, QSystemTrayIcon::Trigger);
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(menu.isVisible());
  menu.hide();
  click(tray, QSystemTrayIcon::DoubleClick);
  EXPECT_EQ(shown, 2);

  // Without the popup menu there is nothing to open: the left button shows the window again.
  tray.setPopupMenu(false);
  EXPECT_EQ(tray.contextMenu(), nullptr);
  click(tray, QSystemTrayIcon::Trigger);
  EXPECT_EQ(shown, 3);
  EXPECT_FALSE(menu.isVisible());

  // Not enabled: the icon ignores the mouse and offers no menu, whatever else is set.
  tray.setPopupMenu(true);
  tray.setMouseEnabled(false);
  EXPECT_EQ(tray.contextMenu(), nullptr);
  click(tray, QSystemTrayIcon::Trigger);
  click(tray, QSystemTrayIcon::DoubleClick);
  EXPECT_EQ(shown, 3);
  EXPECT_FALSE(menu.isVisible());
  tray.setMouseEnabled(true);
  EXPECT_EQ(tray.contextMenu(), &menu);
}

TEST(TrayOptionsTest, WithoutATrayTheOptionsAreKeptAndNothingFails) {
  QMenu menu;
  Tray tray(false, &menu);
  tray.setMouseEnabled(false);
  tray.setPopupMenu(false);
  tray.setLeftPopup(true);
  EXPECT_FALSE(tray.mouseEnabled());
  EXPECT_EQ(tray.contextMenu(), nullptr);
}

// Counts the hint requests that reach it.
class HintTarget : public QWidget {
 public:
  int hints = 0;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::ToolTip) {
      ++hints;
    }
    return QWidget::event(e);
  }
};

TEST(TrayOptionsTest, HintsOffSilencesEveryControlOfTheProgram) {
  HintTarget w;
  w.setToolTip("Input path/file name");
  auto ask = [&w] {
    QHelpEvent e(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
    QApplication::sendEvent(&w, &e);
  };
  setApplicationHints(false);
  ask();
  EXPECT_EQ(w.hints, 0);
  setApplicationHints(true);
  ask();
  EXPECT_EQ(w.hints, 1);
}

}  // namespace
}  // namespace kelvara::window
