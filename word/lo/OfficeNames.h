#pragma once

#include <string>

namespace kelvara::word::lo {

// The names one office of ours goes by. They carry "kelvara", by which operators and
// clearStaleOffices tell our offices from the user's, and keep the offices of one run, and of
// runs side by side, apart.
struct OfficeNames {
  std::string instance;      // the instance asked for, made safe for a file name
  std::string pipe;          // machine-wide, so unique to this process
  std::string profileDir;    // <stateDir>/office-<instance>
  bool ownsProfile = false;  // named after this process: no later run can use it
};

// An empty instance name means "kelvara-<pid>".
OfficeNames officeNames(const std::string& stateDir, const std::string& instanceName);

}  // namespace kelvara::word::lo
