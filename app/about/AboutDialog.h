#pragma once

#include <QDialog>
#include <chrono>
#include <functional>

#include "app/AboutFacts.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace kelvara::about {

// The about box: product, version, logo and, on request, a summary of the machine. It closes by
// itself after a while, on "Close" and on the apostrophe key.
class TAboutDlg : public QDialog {
  Q_OBJECT
 public:
  struct Options {
    bool showClose = false;               // opened from the main window
    std::function<void()> openUserGuide;  // the link; no link when empty
    std::chrono::milliseconds closeAfter{20000};
  };

  TAboutDlg(QWidget* parent, app::AboutFacts facts, Options options);

  QGroupBox* systemGroup() const { return systemGroup_; }
  QPushButton* shortSysInfoButton() const { return shortSysInfoBtn_; }
  QPushButton* systemInfoButton() const { return systemInfoBtn_; }
  QPushButton* closeButton() const { return closeBtn_; }
  QLabel* linkLabel() const { return linkLabel_; }
  QTimer* closeTimer() const { return timer_; }

 public slots:
  void onCloseTimer();
  void showShortSysInfo();
  void hideShortSysInfo();
  void showSystemInfo();
  void openLink();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void placeOnParent();

  app::AboutFacts facts_;
  Options options_;
  QGroupBox* systemGroup_ = nullptr;
  QPushButton* shortSysInfoBtn_ = nullptr;
  QPushButton* systemInfoBtn_ = nullptr;
  QPushButton* closeBtn_ = nullptr;
  QLabel* linkLabel_ = nullptr;
  QTimer* timer_ = nullptr;
};

// Opens the about box modally over the main window; openUserGuide is what the link opens.
void showAboutBox(QWidget* parent, const app::AboutFacts& facts,
                  std::function<void()> openUserGuide);

}  // namespace kelvara::about
