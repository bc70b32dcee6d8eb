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

void OfficeSettings::setUserData(const std::string& name, const std::string& initials,
                                 const std::string& address) {
  std::vector<std::string> wanted{name, initials, address};
  if (userData_ != wanted) {
    userData_ = std::move(wanted);
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
    // The office keeps one name; the word processor's full user name goes into its first part.
    writeOfficeSettings(office_.connection(), "/org.openoffice.UserProfile/Data",
                        {{"givenname", Any(toOU((*userData_)[0]))},
                         {"sn", Any(OUString())},
                         {"initials", Any(toOU((*userData_)[1]))},
                         {"street", Any(toOU((*userData_)[2]))}});
    userDataLaunch_ = office_.launchCount();
  } catch (...) {
    office_.fail("setting the user data");
  }
}

}  // namespace kelvara::word::lo
