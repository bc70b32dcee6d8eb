#pragma once

#include <functional>

#include "config/ui/SettingsPage.h"
#include "platform/DateTime.h"
#include "platform/Locale.h"

class QCheckBox;
class QDateEdit;
class QRadioButton;
class QTimeEdit;

namespace kelvara::config::ui {

class ChoiceGroup;

// The local date and time now; tests pin it.
using LocalNow = std::function<platform::DateTime()>;

// "Dates": which date outputs receive and how their two times are kept coherent.
class DatesPage : public SettingsPage {
  Q_OBJECT

 public:
  DatesPage(const platform::Locale& locale, QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

  void setClock(LocalNow clock) { clock_ = std::move(clock); }

 private:
  void applyMode();

  LocalNow clock_ = [] { return platform::now(); };
  ChoiceGroup* mode_ = nullptr;
  QDateEdit* date_ = nullptr;
  QCheckBox* timeCheck_ = nullptr;
  QTimeEdit* time_ = nullptr;
  QRadioButton* useCreation_ = nullptr;
  QRadioButton* useLastWrite_ = nullptr;
  QCheckBox* copyBoth_ = nullptr;
};

}  // namespace kelvara::config::ui
