#pragma once

#include <functional>

#include "config/ui/SettingsPage.h"

class QCheckBox;

namespace kelvara::config::ui {

// "Program Options": the program's switches and the tray icon's appearance.
class ProgramOptionsPage : public SettingsPage {
  Q_OBJECT

 public:
  explicit ProgramOptionsPage(QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

  // Asked when the user ticks "&Close to tray"; false takes the tick back. Closing to the tray
  // only works while minimising goes to the tray too.
  void setCloseToTrayGuard(std::function<bool()> guard) { closeToTrayGuard_ = std::move(guard); }

 private:
  void closeToTrayClicked(bool on);

  std::function<bool()> closeToTrayGuard_;
  QCheckBox* showHints_ = nullptr;
  QCheckBox* debug_ = nullptr;
  QCheckBox* newLogFile_ = nullptr;
  QCheckBox* overwriteLogs_ = nullptr;
  QCheckBox* stopOnErrors_ = nullptr;
  QCheckBox* trayShowHint_ = nullptr;
  QCheckBox* trayLeftPopup_ = nullptr;
  QCheckBox* trayEnabled_ = nullptr;
  QCheckBox* closeToTray_ = nullptr;
  QCheckBox* trayAlwaysOn_ = nullptr;
  QCheckBox* trayPopupMenu_ = nullptr;
};

}  // namespace kelvara::config::ui
