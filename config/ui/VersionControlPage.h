#pragma once

#include "config/ui/SettingsPage.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kelvara::config::ui {

// "Version ctrl": what happens to an output file that already exists.
class VersionControlPage : public SettingsPage {
  Q_OBJECT

 public:
  explicit VersionControlPage(QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

 private:
  void applyChoice();

  QRadioButton* none_ = nullptr;
  QRadioButton* rename_ = nullptr;
  QRadioButton* addVersion_ = nullptr;
  QLabel* prefixLabel_ = nullptr;
  QLineEdit* prefix_ = nullptr;
  QLabel* suffixLabel_ = nullptr;
  QLineEdit* suffix_ = nullptr;
};

}  // namespace kelvara::config::ui
