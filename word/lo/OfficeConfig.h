#pragma once

#include <string>
#include <utility>
#include <vector>

#include "word/lo/OfficeConnection.h"

namespace kelvara::word::lo {

// Reads one value of the office's configuration ("/org.openoffice.Setup/Product", "ooName").
css::uno::Any readOfficeSetting(const OfficeConnection& connection, const std::string& nodePath,
                                const std::string& name);

// Writes values below one node of the office's configuration and commits them to the profile.
void writeOfficeSettings(const OfficeConnection& connection, const std::string& nodePath,
                         const std::vector<std::pair<std::string, css::uno::Any>>& values);

}  // namespace kelvara::word::lo
