#include "config/IniFile.h"

#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>
#include <type_traits>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

namespace kelvara::config {
namespace {

constexpr std::string_view kBlanks = " \t\r";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view trim(std::string_view s) {
  const size_t b = s.find_first_not_of(kBlanks);
  if (b == std::string_view::npos) {
    return {};
  }
  return s.substr(b, s.find_last_not_of(kBlanks) - b + 1);
}

bool sameName(std::string_view a, std::string_view b) {
  a = trim(a);
  b = trim(b);
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    };
    if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

// The file as lines, with what is needed to write it back unchanged around an edit.
struct Document {
  std::vector<std::string> lines;
  std::string eol = "\n";
  bool bom = false;

  static Document parse(std::string_view content) {
    Document d;
    if (content.substr(0, kBom.size()) == kBom) {
      d.bom = true;
      content.remove_prefix(kBom.size());
    }
    const size_t firstBreak = content.find('\n');
    if (firstBreak != std::string_view::npos && firstBreak > 0 && content[firstBreak - 1] == '\r') {
      d.eol = "\r\n";
    }
    while (!content.empty()) {
      const size_t nl = content.find('\n');
      std::string_view line = content.substr(0, nl);
      if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
      }
      d.lines.emplace_back(line);
      content = nl == std::string_view::npos ? std::string_view{} : content.substr(nl + 1);
    }
    return d;
  }

  std::string text() const {
    std::string out = bom ? std::string(kBom) : std::string();
    for (const std::string& l : lines) {
      out += l;
      out += eol;
    }
    return out;
  }

  // Name of a section header line, nullopt for other lines.
  static std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[') {
      return std::nullopt;
    }
    line.remove_prefix(1);
    const size_t close = line.rfind(']');
    return close == std::string_view::npos ? line : line.substr(0, close);
  }

  // Key name and raw value of a key line, nullopt for other lines.
  static std::optional<std::pair<std::string_view, std::string_view>> keyValue(
      std::string_view line) {
    const std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#' || t.front() == '[') {
      return std::nullopt;
    }
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
      return std::nullopt;
    }
    return std::make_pair(trim(t.substr(0, eq)), t.substr(eq + 1));
  }

  // Index of the first header of the section, or npos.
  size_t findSection(std::string_view section) const {
    for (size_t i = 0; i < lines.size(); ++i) {
      const auto name = sectionName(lines[i]);
      if (name && sameName(*name, section)) {
        return i;
      }
    }
    return std::string::npos;
  }

  // One past the last line of the section that starts at header.
  size_t sectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines.size() && !sectionName(lines[i])) {
      ++i;
    }
    return i;
  }

  size_t findKey(size_t header, std::string_view key) const {
    const size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
      const auto kv = keyValue(lines[i]);
      if (kv && sameName(kv->first, key)) {
        return i;
      }
    }
    return std::string::npos;
  }
};

std::string cleanValue(std::string_view raw) {
  std::string_view v = trim(raw);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') {
    v = v.substr(1, v.size() - 2);
  }
  if (v.size() > IniFile::kMaxValueLength) {
    size_t n = IniFile::kMaxValueLength;
    // Do not cut a UTF-8 sequence in two.
    while (n > 0 && (static_cast<unsigned char>(v[n]) & 0xC0) == 0x80) {
      --n;
    }
    v = v.substr(0, n);
  }
  return std::string(v);
}

template <class T>
std::optional<T> parseInteger(std::string_view text) {
  text = trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  using U = std::make_unsigned_t<T>;
  U magnitude = 0;
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.front() == '-' || text.front() == '+') {
    return std::nullopt;
  }
  const auto res = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  constexpr U kMax = static_cast<U>(std::numeric_limits<T>::max());
  if (base == 16 && !negative) {
    // Hexadecimal text is a bit pattern: 0xFFFFFFFF is -1.
    return static_cast<T>(magnitude);
  }
  if (negative) {
    if (magnitude > kMax + 1) {
      return std::nullopt;
    }
    return static_cast<T>(U{0} - magnitude);
  }
  if (magnitude > kMax) {
    return std::nullopt;
  }
  return static_cast<T>(magnitude);
}

}  // namespace

std::string configFilePath() {
  return platform::configDir() + "/Kelva.ini";
}

std::optional<int32_t> parseIniInteger(std::string_view text) {
  return parseInteger<int32_t>(text);
}

std::optional<int64_t> parseIniInt64(std::string_view text) {
  return parseInteger<int64_t>(text);
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::optional<std::string> IniFile::read(const std::string& section, const std::string& key) const {
  std::error_code ec;
  const std::optional<std::string> content = platform::readWholeFile(path_, ec);
  if (!content) {
    return std::nullopt;
  }
  const Document doc = Document::parse(*content);
  const size_t header = doc.findSection(section);
  if (header == std::string::npos) {
    return std::nullopt;
  }
  const size_t line = doc.findKey(header, key);
  if (line == std::string::npos) {
    return std::nullopt;
  }
  return cleanValue(Document::keyValue(doc.lines[line])->second);
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& def) const {
  return read(section, key).value_or(def);
}

int32_t IniFile::readInteger(const std::string& section, const std::string& key,
                             int32_t def) const {
  const std::optional<std::string> v = read(section, key);
  if (!v) {
    return def;
  }
  return parseIniInteger(*v).value_or(def);
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool def) const {
  return readInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::readFloat(const std::string& section, const std::string& key, double def,
                          const platform::Locale& locale) const {
  const std::optional<std::string> v = read(section, key);
  if (!v) {
    return def;
  }
  return locale.parseFloat(*v).value_or(def);
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
  std::error_code ec;
  const std::optional<std::string> content = platform::readWholeFile(path_, ec);
  if (!content && ec != std::errc::no_such_file_or_directory) {
    // Rewriting a file we cannot read would throw its other keys away.
    throw IniWriteError(path_);
  }
  Document doc = Document::parse(content.value_or(std::string()));

  // A line break in a value would start a new line of the file.
  std::string v = value;
  for (char& c : v) {
    if (c == '\r' || c == '\n') {
      c = ' ';
    }
  }

  const size_t header = doc.findSection(section);
  if (header == std::string::npos) {
    if (!doc.lines.empty() && !trim(doc.lines.back()).empty()) {
      doc.lines.emplace_back();
    }
    doc.lines.push_back("[" + section + "]");
    doc.lines.push_back(key + "=" + v);
  } else {
    const size_t line = doc.findKey(header, key);
    if (line != std::string::npos) {
      doc.lines[line] = std::string(Document::keyValue(doc.lines[line])->first) + "=" + v;
    } else {
      // After the section's last non-blank line, so that blank separators stay in place.
      size_t at = doc.sectionEnd(header);
      while (at > header + 1 && trim(doc.lines[at - 1]).empty()) {
        --at;
      }
      doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(at), key + "=" + v);
    }
  }

  const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
  if (!folder.empty() && !platform::ensureDir(folder.string())) {
    throw IniWriteError(path_);
  }
  if (platform::replaceFileAtomically(path_, doc.text())) {
    throw IniWriteError(path_);
  }
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int64_t value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

void IniFile::writeFloat(const std::string& section, const std::string& key, double value,
                         const platform::Locale& locale) {
  writeString(section, key, locale.formatFloat(value));
}

bool IniFile::remove() {
  std::error_code ec;
  std::filesystem::remove(path_, ec);
  return !ec && !std::filesystem::exists(std::filesystem::symlink_status(path_, ec));
}

}  // namespace kelvara::config
