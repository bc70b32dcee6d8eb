#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kelvara::platform {

// The whole content of a file. nullopt when it cannot be read; ec then tells why
// (std::errc::no_such_file_or_directory when it does not exist).
std::optional<std::string> readWholeFile(const std::string& path, std::error_code& ec);

// Replaces the content of a file as a whole: a temporary file in the same folder is written,
// flushed to disk and renamed over the target, so that readers and a crash see either the old or
// the new content, never a mix. A symbolic link is followed and its target replaced. An existing
// file keeps its permission bits; a new one gets the usual creation mode. Returns the failure.
std::error_code replaceFileAtomically(const std::string& path, std::string_view content);

}  // namespace kelvara::platform
