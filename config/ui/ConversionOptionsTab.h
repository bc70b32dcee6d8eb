#pragma once

#include <string>

#include "config/ui/DatesPage.h"
#include "config/ui/SecurityPage.h"
#include "config/ui/SettingsPage.h"
#include "platform/Locale.h"

class QTabWidget;

namespace kelvara::config::ui {

class GeneralOptionsPage;
class AttributesPage;
class FiltersPage;
class VersionControlPage;
class LogOptionsPage;

// "Conversion Options": the inner tabs "General", "Dates", "Attributes", "Security", "Filters",
// "Version ctrl" and "Log", loaded and taken together.
class ConversionOptionsTab : public SettingsPage {
  Q_OBJECT

 public:
  // Index of the "Security" inner tab.
  static constexpr int kSecurityTab = 3;

  ConversionOptionsTab(const std::string& wordVersion, const platform::Locale& locale,
                       QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

  int currentInnerTab() const;
  void setCurrentInnerTab(int index);

  // "Diff. Parms.Vert./Horiz Pag." as it stands now, which the parameter dialogs follow.
  bool diffVertHorizPagParms() const;
  // After the selection dialog cleared it.
  void setDiffVertHorizPagParms(bool on);

  // The security page is shown only when both drives keep security; without administrator rights
  // it says on showing that its settings have no effect.
  void setSecurityAvailable(bool available, bool administrator);
  bool securityShown() const;

  QTabWidget* innerTabs() const { return tabs_; }

  // Tests pin the clock that gives the time of day of a fixed date without a picked time.
  void setClock(LocalNow clock);
  void setSecurityNotice(SecurityPage::Notice notice);

 private:
  QTabWidget* tabs_ = nullptr;
  GeneralOptionsPage* general_ = nullptr;
  DatesPage* dates_ = nullptr;
  AttributesPage* attributes_ = nullptr;
  SecurityPage* security_ = nullptr;
  FiltersPage* filters_ = nullptr;
  VersionControlPage* version_ = nullptr;
  LogOptionsPage* log_ = nullptr;
  bool securityAvailable_ = false;
};

}  // namespace kelvara::config::ui
