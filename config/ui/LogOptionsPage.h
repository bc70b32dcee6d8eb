#pragma once

#include <vector>

#include "config/ui/SettingsPage.h"

class QCheckBox;

namespace kelvara::config::ui {

// "Log": which kinds of events the run logs record.
class LogOptionsPage : public SettingsPage {
  Q_OBJECT

 public:
  explicit LogOptionsPage(QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

 private:
  // Each box with the option it edits.
  std::vector<std::pair<QCheckBox*, bool Settings::*>> boxes_;
};

}  // namespace kelvara::config::ui
