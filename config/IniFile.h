#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Locale.h"

namespace kelvara::config {

// A write to the configuration file that the system refused.
class IniWriteError : public std::runtime_error {
 public:
  explicit IniWriteError(const std::string& path)
      : std::runtime_error("Unable to write to " + path) {}
};

// Full name of the configuration file.
std::string configFilePath();

// Integer text as the file holds it: optional sign, decimal digits or "0x" and hex digits.
std::optional<int32_t> parseIniInteger(std::string_view text);
std::optional<int64_t> parseIniInt64(std::string_view text);

// An INI file read and written key by key. Every read looks at the file as it is on disk, so
// writes made through another object on the same file are seen at once. Section and key names
// match without regard to case or surrounding blanks. Every write rewrites the whole file
// atomically and keeps all other lines as they were.
class IniFile {
 public:
  // Longest value returned by a read, in bytes.
  static constexpr size_t kMaxValueLength = 2047;

  explicit IniFile(std::string path);

  const std::string& path() const { return path_; }

  // The value, trimmed of blanks, enclosing double quotes removed; nullopt when the file, the
  // section or the key is absent.
  std::optional<std::string> read(const std::string& section, const std::string& key) const;
  std::string readString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  // Text that is not an integer yields the default.
  int32_t readInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool readBool(const std::string& section, const std::string& key, bool def) const;
  // Empty or unparsable text yields the default.
  double readFloat(const std::string& section, const std::string& key, double def,
                   const platform::Locale& locale) const;

  // Each write creates the file, the section and the key as needed; an existing key keeps its
  // place. Throws IniWriteError when the file cannot be written.
  void writeString(const std::string& section, const std::string& key, const std::string& value);
  void writeInteger(const std::string& section, const std::string& key, int64_t value);
  void writeBool(const std::string& section, const std::string& key, bool value);
  void writeFloat(const std::string& section, const std::string& key, double value,
                  const platform::Locale& locale);

  // Deletes the file; true when it is gone afterwards (also when it never existed).
  bool remove();

 private:
  std::string path_;
};

}  // namespace kelvara::config
