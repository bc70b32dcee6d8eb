#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "wordstar/WordStarDocument.h"

namespace kelvara::wordstar {

// A WordStar file turned into RTF, or the reason it could not be, in words for a log.
struct RtfConversion {
  std::optional<std::string> rtf;
  std::string error;
};

RtfConversion wordStarToRtf(std::string_view bytes);

// Reads the file first; a file that cannot be read, or is larger than any WordStar document
// (kMaxFileSize), gives an error too.
RtfConversion wordStarFileToRtf(const std::string& path);

constexpr size_t kMaxFileSize = 256u * 1024 * 1024;

// The whole file, or nullopt with *error set (missing, unreadable, a folder, too large) and,
// when given, *code to the system error behind it.
std::optional<std::string> readInputFile(const std::string& path, std::string* error,
                                         std::error_code* code = nullptr);

}  // namespace kelvara::wordstar
