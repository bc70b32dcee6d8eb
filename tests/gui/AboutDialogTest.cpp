#include "app/about/AboutDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace kelvara::about {
namespace {

app::AboutFacts sampleFacts() {
  app::AboutFacts facts;
  facts.version = "Version 1.0.2 (Build 11)";
  facts.engineVersion = "LibreOffice Version: 7.4.7.2";
  facts.osName = "Debian GNU/Linux 12 (bookworm)";
  facts.osVersion = "Linux 6.1.0-18-amd64";
  facts.processor = "Processor: AMD EPYC 7B13";
  facts.freeDiskSpace = "Free Disk Space: 123456789012 bytes on /srv/out";
  facts.systemInfo = "Operating system: Debian GNU/Linux 12 (bookworm)\nProcessors online: 2";
  return facts;
}

QStringList labelTexts(const QWidget* parent) {
  QStringList texts;
  for (const QLabel* label : parent->findChildren<QLabel*>()) {
    texts << label->text();
  }
  return texts;
}

TEST(AboutDialogTest, OpensWithTitleVersionAndTheSystemGroupHidden) {
  TAboutDlg dlg(nullptr, sampleFacts(), {});
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), "About Kelvara");
  EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
  const QStringList texts = labelTexts(&dlg);
  EXPECT_TRUE(texts.contains("Kelvara"));
  EXPECT_TRUE(texts.contains("Version 1.0.2 (Build 11)"));
  EXPECT_TRUE(texts.contains("LibreOffice Version: 7.4.7.2"));
  EXPECT_TRUE(texts.contains("Processor: AMD EPYC 7B13"));
  EXPECT_FALSE(dlg.systemGroup()->isVisible());
  EXPECT_TRUE(dlg.shortSysInfoButton()->isVisible());
  EXPECT_TRUE(dlg.systemInfoButton()->isVisible());
  // Not opened from the main window, and no guide to open.
  EXPECT_FALSE(dlg.closeButton()->isVisible());
  EXPECT_FALSE(dlg.linkLabel()->isVisible());
}

TEST(AboutDialogTest, ShortSysInfoShowsTheGroupAndAClickOnItHidesItAgain) {
  TAboutDlg dlg(nullptr, sampleFacts(), {});
  dlg.show();
  QTest::mouseClick(dlg.shortSysInfoButton(), Qt::LeftButton);
  EXPECT_TRUE(dlg.systemGroup()->isVisible());
  EXPECT_FALSE(dlg.shortSysInfoButton()->isVisible());

  QTest::mouseClick(dlg.systemGroup(), Qt::LeftButton);
  EXPECT_FALSE(dlg.systemGroup()->isVisible());
  EXPECT_TRUE(dlg.shortSysInfoButton()->isVisible());

  // A click on one of the group's labels does the same.
  QTest::mouseClick(dlg.shortSysInfoButton(), Qt::LeftButton);
  QLabel* label = dlg.systemGroup()->findChildren<QLabel*>().first();
  QTest::mouseClick(label, Qt::LeftButton);
  EXPECT_FALSE(dlg.systemGroup()->isVisible());
  EXPECT_TRUE(dlg.shortSysInfoButton()->isVisible());
}

TEST(AboutDialogTest, ApostropheClosesAndEscapeDoesNot) {
  TAboutDlg dlg(nullptr, sampleFacts(), {});
  dlg.show();
  QTest::keyClick(&dlg, Qt::Key_Escape);
  EXPECT_TRUE(dlg.isVisible());
  // Also when a button has the focus: the box sees the key first.
  dlg.systemInfoButton()->setFocus();
  QTest::keyClick(dlg.systemInfoButton(), Qt::Key_Escape);
  EXPECT_TRUE(dlg.isVisible());
  QTest::keyClick(dlg.systemInfoButton(), '\'');
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(AboutDialogTest, FromTheMainWindowCloseAndTheLinkAreShown) {
  QWidget window;
  window.resize(500, 520);
  window.show();
  int guideOpened = 0;
  bool linkHiddenWhileOpening = false;
  TAboutDlg::Options options;
  options.showClose = true;
  TAboutDlg* dlgPtr = nullptr;
  options.openUserGuide = [&] {
    ++guideOpened;
    linkHiddenWhileOpening = !dlgPtr->linkLabel()->isVisible();
  };
  TAboutDlg dlg(&window, sampleFacts(), options);
  dlgPtr = &dlg;
  dlg.show();
  EXPECT_TRUE(dlg.closeButton()->isVisible());
  EXPECT_TRUE(dlg.linkLabel()->isVisible());
  EXPECT_TRUE(dlg.linkLabel()->text().contains("User Guide"));

  emit dlg.linkLabel()->linkActivated("guide");
  EXPECT_EQ(guideOpened, 1);
  EXPECT_TRUE(linkHiddenWhileOpening);
  EXPECT_TRUE(dlg.linkLabel()->isVisible());

  // Centred on the main window.
  const QPoint windowCentre = window.mapToGlobal(window.rect().center());
  EXPECT_LE((dlg.geometry().center() - windowCentre).manhattanLength(), 2);

  QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
  EXPECT_FALSE(dlg.isVisible());
}

TEST(AboutDialogTest, SizeFollowsTheMainWindowWithinReason) {
  QWidget window;
  window.resize(2000, 1500);
  window.show();
  TAboutDlg dlg(&window, sampleFacts(), {});
  dlg.show();
  // Never cut below what the contents need, never a screen-sized box for a maximised window.
  EXPECT_GE(dlg.width(), dlg.sizeHint().width());
  EXPECT_GE(dlg.height(), dlg.sizeHint().height());
  EXPECT_LE(dlg.width(), dlg.sizeHint().width() * 3 / 2);
  EXPECT_LE(dlg.height(), dlg.sizeHint().height() * 3 / 2);
}

TEST(AboutDialogTest, TheTimerClosesTheBoxAfterTwentySeconds) {
  TAboutDlg dlg(nullptr, sampleFacts(), {});
  EXPECT_TRUE(dlg.closeTimer()->isActive());
  EXPECT_EQ(dlg.closeTimer()->interval(), 20000);
  dlg.show();
  dlg.onCloseTimer();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_FALSE(dlg.closeTimer()->isActive());
}

TEST(AboutDialogTest, TheTimerEndsTheModalLoop) {
  TAboutDlg::Options options;
  options.closeAfter = std::chrono::milliseconds(1);
  TAboutDlg dlg(nullptr, sampleFacts(), options);
  // Returns only when the timer has closed the box.
  EXPECT_EQ(dlg.exec(), QDialog::Accepted);
}

TEST(AboutDialogTest, SystemInfoShowsTheFullerSummary) {
  TAboutDlg dlg(nullptr, sampleFacts(), {});
  dlg.show();
  QString shown;
  QTimer::singleShot(0, [&shown] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  dlg.showSystemInfo();
  EXPECT_EQ(shown, "Operating system: Debian GNU/Linux 12 (bookworm)\nProcessors online: 2");
}

}  // namespace
}  // namespace kelvara::about
