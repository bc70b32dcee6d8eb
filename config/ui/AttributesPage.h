#pragma once

#include "config/ui/SettingsPage.h"

class QRadioButton;

namespace kelvara::config::ui {

class ChoiceGroup;

// "Attributes": copy the sources' attributes to the outputs, or set each of four to a choice.
class AttributesPage : public SettingsPage {
  Q_OBJECT

 public:
  explicit AttributesPage(QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

 private:
  void applyMode();

  QRadioButton* copy_ = nullptr;
  QRadioButton* adjust_ = nullptr;
  ChoiceGroup* readOnly_ = nullptr;
  ChoiceGroup* hidden_ = nullptr;
  ChoiceGroup* archive_ = nullptr;
  ChoiceGroup* system_ = nullptr;
};

}  // namespace kelvara::config::ui
