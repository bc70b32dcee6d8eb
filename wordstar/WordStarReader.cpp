#include "wordstar/WordStarReader.h"

#include <filesystem>

#include "platform/AtomicFile.h"

#include "wordstar/Decoder.h"
#include "wordstar/RtfWriter.h"

namespace kelvara::wordstar {

std::optional<std::string> readInputFile(const std::string& path, std::string* error,
                                         std::error_code* code) {
  namespace fs = std::filesystem;
  auto fail = [&](std::errc kind, std::string text) {
    *error = std::move(text);
    if (code) {
      *code = std::make_error_code(kind);
    }
    return std::nullopt;
  };
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (!fs::exists(status)) {
    return fail(std::errc::no_such_file_or_directory, "File not found: " + path);
  }
  if (!fs::is_regular_file(status)) {
    return fail(std::errc::is_a_directory, "Not a file: " + path);
  }
  const auto size = fs::file_size(path, ec);
  if (!ec && size > kMaxFileSize) {
    return fail(std::errc::file_too_large, "File too large (" + std::to_string(size) +
                                               " bytes, at most 256 MB are read): " + path);
  }
  std::error_code readError;
  auto bytes = platform::readWholeFile(path, readError);
  if (!bytes) {
    *error = "Cannot read " + path + ": " + readError.message();
    if (code) {
      *code = readError;
    }
    return std::nullopt;
  }
  return bytes;
}

RtfConversion wordStarToRtf(std::string_view bytes) {
  DecodeResult decoded = decodeWordStar(bytes);
  if (!decoded.document) {
    return {std::nullopt, decoded.error};
  }
  return {toRtf(*decoded.document), {}};
}

RtfConversion wordStarFileToRtf(const std::string& path) {
  std::string error;
  const auto bytes = readInputFile(path, &error);
  if (!bytes) {
    return {std::nullopt, error};
  }
  return wordStarToRtf(*bytes);
}

}  // namespace kelvara::wordstar
