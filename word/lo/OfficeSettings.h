#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "word/DocumentEngine.h"

namespace kelvara::word::lo {

class OfficeSupervisor;

// The office-wide switches the engine sets for its documents: the user data written into the
// profile, and whether saving removes personal data. Each is written once per office launched,
// and again only when it changes.
class OfficeSettings {
 public:
  explicit OfficeSettings(OfficeSupervisor& office) : office_(office) {}

  // Keeps the user data for every office this engine launches; written at once when one answers.
  void setUserData(const UserData& data);
  std::optional<std::string> userName() const { return userData_ ? userData_->name : std::nullopt; }
  // Writes the user data into the answering office unless it already has it.
  void applyUserData();
  // Writes the switch unless the office already has this value; an office failure propagates.
  void setRemovePersonalInfoOnSaving(bool on);

 private:
  OfficeSupervisor& office_;
  std::optional<UserData> userData_;
  uint64_t userDataLaunch_ = 0;  // the launch that has it; 0: none
  std::optional<bool> removePersonalInfo_;
  uint64_t removePersonalInfoLaunch_ = 0;
};

}  // namespace kelvara::word::lo
