#pragma once

#include <optional>
#include <string>

namespace kelvara::testing {

// One entry of a ZIP file (stored or deflated), read without the office: enough for tests to look
// at a package part such as docProps/app.xml. Nullopt when the file or the entry cannot be read.
std::optional<std::string> ReadZipEntry(const std::string& zipPath, const std::string& entryName);

}  // namespace kelvara::testing
