#include "word/lo/OfficeSettings.h"

#include "word/lo/OfficeConfig.h"
#include "word/lo/OfficeSupervisor.h"

namespace kelvara::word::lo {

using css::uno::Any;

void OfficeSettings::setRemovePersonalInfoOnSaving(bool on) {
  if (removePersonalInfoLaunch_ == office_.launchCount() && removePersonalInfo_ == on) {
    return;
  }
  writeOfficeSettings(office_.connection(), "/org.openoffice.Office.Common/Security/Scripting",
                      {{"RemovePersonalInfoOnSaving", Any(on)}});
  removePersonalInfo_ = on;
  removePersonalInfoLaunch_ = office_.launchCount();
}

void OfficeSettings::setUserData(const UserData& data) {
  if (userData_ != data) {
    userData_ = data;
    userDataLaunch_ = 0;
  }
  if (office_.answers()) {
    applyUserData();
  }
}

void OfficeSettings::applyUserData() {
  if (!userData_ || (userDataLaunch_ != 0 && userDataLaunch_ == office_.launchCount())) {
    return;
  }
  try {
    // The office keeps the name in two parts; the full user name goes into the first.
    std::vector<std::pair<std::string, Any>> values;
    if (userData_->name) {
      values.push_back({"givenname", Any(toOU(*userData_->name))});
      values.push_back({"sn", Any(OUString())});
    }
    if (userData_->initials) {
      values.push_back({"initials", Any(toOU(*userData_->initials))});
    }
    if (userData_->address) {
      values.push_back({"street", Any(toOU(*userData_->address))});
    }
    if (!values.empty()) {
      writeOfficeSettings(office_.connection(), "/org.openoffice.UserProfile/Data", values);
    }
    userDataLaunch_ = office_.launchCount();
  } catch (...) {
    office_.fail("setting the user data");
  }
}

}  // namespace kelvara::word::lo
