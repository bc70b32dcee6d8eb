#include "config/ui/ConversionOptionsTab.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "config/ui/AttributesPage.h"
#include "config/ui/FiltersPage.h"
#include "config/ui/GeneralOptionsPage.h"
#include "config/ui/LogOptionsPage.h"
#include "config/ui/VersionControlPage.h"

namespace kelvara::config::ui {

ConversionOptionsTab::ConversionOptionsTab(const std::string& wordVersion,
                                           const platform::Locale& locale, QWidget* parent)
    : SettingsPage(parent) {
  setObjectName("ConversionOptionsTab");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("ConversionOptionsTabs");
  general_ = new GeneralOptionsPage(wordVersion, tabs_);
  dates_ = new DatesPage(locale, tabs_);
  attributes_ = new AttributesPage(tabs_);
  security_ = new SecurityPage(tabs_);
  filters_ = new FiltersPage(locale, tabs_);
  version_ = new VersionControlPage(tabs_);
  log_ = new LogOptionsPage(tabs_);
  tabs_->addTab(general_, "General");
  tabs_->addTab(dates_, "Dates");
  tabs_->addTab(attributes_, "Attributes");
  tabs_->addTab(security_, "Security");
  tabs_->addTab(filters_, "Filters");
  tabs_->addTab(version_, "Version ctrl");
  tabs_->addTab(log_, "Log");
  tabs_->setTabVisible(kSecurityTab, false);
  layout->addWidget(tabs_);
}

void ConversionOptionsTab::load(const Settings& s) {
  general_->load(s);
  dates_->load(s);
  attributes_->load(s);
  // Loaded whether shown or not, so that OK gives back what the file holds when it is hidden.
  security_->load(s);
  filters_->load(s);
  version_->load(s);
  log_->load(s);
}

void ConversionOptionsTab::store(Settings& s) const {
  general_->store(s);
  dates_->store(s);
  attributes_->store(s);
  security_->store(s);
  filters_->store(s);
  version_->store(s);
  log_->store(s);
}

int ConversionOptionsTab::currentInnerTab() const {
  return tabs_->currentIndex();
}

void ConversionOptionsTab::setCurrentInnerTab(int index) {
  if (index < 0 || index >= tabs_->count() || !tabs_->isTabVisible(index)) {
    index = 0;
  }
  tabs_->setCurrentIndex(index);
}

bool ConversionOptionsTab::diffVertHorizPagParms() const {
  return general_->diffVertHorizPagParms();
}

void ConversionOptionsTab::setDiffVertHorizPagParms(bool on) {
  general_->setDiffVertHorizPagParms(on);
}

void ConversionOptionsTab::setSecurityAvailable(bool available, bool administrator) {
  securityAvailable_ = available;
  security_->setAdministrator(administrator);
  tabs_->setTabVisible(kSecurityTab, available);
  tabs_->setTabEnabled(kSecurityTab, available);
}

bool ConversionOptionsTab::securityShown() const {
  return securityAvailable_;
}

void ConversionOptionsTab::setClock(LocalNow clock) {
  dates_->setClock(std::move(clock));
}

void ConversionOptionsTab::setSecurityNotice(SecurityPage::Notice notice) {
  security_->setNotice(std::move(notice));
}

}  // namespace kelvara::config::ui
