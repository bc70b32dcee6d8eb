#include "config/ui/ProgramOptionsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kelvara::config::ui {

namespace {

QCheckBox* box(QWidget* parent, QVBoxLayout* layout, const char* caption, const char* name) {
  auto* b = new QCheckBox(QString::fromUtf8(caption), parent);
  b->setObjectName(name);
  layout->addWidget(b);
  return b;
}

}  // namespace

ProgramOptionsPage::ProgramOptionsPage(QWidget* parent) : SettingsPage(parent) {
  setObjectName("ProgramOptionsPage");
  auto* options = new QGroupBox("Options", this);
  options->setObjectName("OptionsGB");
  auto* optionsLayout = new QVBoxLayout(options);
  showHints_ = box(options, optionsLayout, "Show Hints", "ShowHintsCkB");
  debug_ = box(options, optionsLayout, "Debug", "DebugCkB");
  newLogFile_ = box(options, optionsLayout, "New log files", "NewLogFileCkB");
  overwriteLogs_ = box(options, optionsLayout, "Overwrite existing Logs", "OverwriteLogsCkB");
  stopOnErrors_ = box(options, optionsLayout, "Stop on errors", "StopOnErrorsCkB");
  optionsLayout->addStretch();

  auto* tray = new QGroupBox("Tray Appearance ", this);
  tray->setObjectName("TrayGB");
  auto* trayLayout = new QVBoxLayout(tray);
  trayShowHint_ = box(tray, trayLayout, "&Show hint", "TrayShowHintCkB");
  trayLeftPopup_ = box(tray, trayLayout, "&Left popup", "TrayLeftPopupCkB");
  trayEnabled_ = box(tray, trayLayout, "&Enabled", "TrayEnabledCkB");
  closeToTray_ = box(tray, trayLayout, "&Close to tray", "CloseToTrayCkB");
  trayAlwaysOn_ = box(tray, trayLayout, "&Tray icon always on", "TrayAlwaysOnCkB");
  trayPopupMenu_ = box(tray, trayLayout, "&Popup menu", "TrayPopupMenuCkB");
  trayLayout->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(options);
  layout->addWidget(tray);

  // New numbered logs and overwriting the old ones exclude each other.
  connect(newLogFile_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) {
      overwriteLogs_->setChecked(false);
    }
  });
  connect(overwriteLogs_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) {
      newLogFile_->setChecked(false);
    }
  });
  connect(closeToTray_, &QCheckBox::clicked, this, &ProgramOptionsPage::closeToTrayClicked);
}

void ProgramOptionsPage::load(const Settings& s) {
  showHints_->setChecked(s.ShowHint);
  debug_->setChecked(s.Debug);
  // Both may be on in a hand-edited file; the interlock then keeps the later one, as a click
  // would.
  newLogFile_->setChecked(s.NewLogFile);
  overwriteLogs_->setChecked(s.OverwriteLogs);
  stopOnErrors_->setChecked(s.StopOnErrors);
  trayShowHint_->setChecked(s.TrayShowHint);
  trayLeftPopup_->setChecked(s.TrayLeftPopup);
  trayEnabled_->setChecked(s.TrayIconEnabled);
  closeToTray_->setChecked(s.CloseToTray);
  trayAlwaysOn_->setChecked(s.TrayIconAlwaysOn);
  // The popup menu is a choice for this session only: the box always opens ticked.
  trayPopupMenu_->setChecked(true);
}

void ProgramOptionsPage::store(Settings& s) const {
  s.ShowHint = showHints_->isChecked();
  s.Debug = debug_->isChecked();
  s.NewLogFile = newLogFile_->isChecked();
  s.OverwriteLogs = overwriteLogs_->isChecked();
  s.StopOnErrors = stopOnErrors_->isChecked();
  s.TrayShowHint = trayShowHint_->isChecked();
  s.TrayLeftPopup = trayLeftPopup_->isChecked();
  s.TrayIconEnabled = trayEnabled_->isChecked();
  s.CloseToTray = closeToTray_->isChecked();
  s.TrayIconAlwaysOn = trayAlwaysOn_->isChecked();
  s.TrayPopupMenu = trayPopupMenu_->isChecked();
}

void ProgramOptionsPage::closeToTrayClicked(bool on) {
  if (on && closeToTrayGuard_ && !closeToTrayGuard_()) {
    const QSignalBlocker block(closeToTray_);
    closeToTray_->setChecked(false);
  }
}

}  // namespace kelvara::config::ui
