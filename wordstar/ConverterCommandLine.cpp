#include "wordstar/ConverterCommandLine.h"

#include <array>
#include <cctype>

namespace kelvara::wordstar {
namespace {

constexpr std::array<const char*, 4> kKeys = {"sfrm=", "in=", "dfrm=", "out="};
constexpr size_t kDosBaseLength = 8;
constexpr size_t kDosExtensionLength = 3;

bool matchesAt(const std::string& line, size_t pos, const char* key) {
  for (size_t i = 0; key[i] != '\0'; ++i) {
    if (pos + i >= line.size() ||
        std::tolower(static_cast<unsigned char>(line[pos + i])) != key[i]) {
      return false;
    }
  }
  return true;
}

// The key starting at pos (at the line's start or after a blank), or -1.
int keyAt(const std::string& line, size_t pos) {
  if (pos > 0 && line[pos - 1] != ' ') {
    return -1;
  }
  for (size_t k = 0; k < kKeys.size(); ++k) {
    if (matchesAt(line, pos, kKeys[k])) {
      return static_cast<int>(k);
    }
  }
  return -1;
}

std::string cleanValue(std::string value) {
  while (!value.empty() && value.front() == ' ') {
    value.erase(value.begin());
  }
  while (!value.empty() && value.back() == ' ') {
    value.pop_back();
  }
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

bool startsWithWs(const std::string& format) {
  return format.size() >= 2 && std::toupper(static_cast<unsigned char>(format[0])) == 'W' &&
         std::toupper(static_cast<unsigned char>(format[1])) == 'S';
}

}  // namespace

ParsedConverterCommandLine parseConverterCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (const auto& a : arguments) {
    if (!line.empty()) {
      line += ' ';
    }
    line += a;
  }
  std::array<std::optional<std::string>, kKeys.size()> values;
  int current = -1;
  size_t valueStart = 0;
  auto close = [&](size_t end) {
    if (current >= 0) {
      values[current] = cleanValue(line.substr(valueStart, end - valueStart));
    }
  };
  for (size_t pos = 0; pos < line.size(); ++pos) {
    const int key = keyAt(line, pos);
    if (key < 0) {
      continue;
    }
    close(pos);
    current = key;
    valueStart = pos + std::char_traits<char>::length(kKeys[key]);
    pos = valueStart - 1;
  }
  close(line.size());

  ParsedConverterCommandLine parsed;
  if (!values[1] || values[1]->empty()) {
    parsed.error = "no input file: in=<file> is missing";
    return parsed;
  }
  if (!values[3] || values[3]->empty()) {
    parsed.error = "no output name: out=<folder>/<name> is missing";
    return parsed;
  }
  ConverterRequest request;
  request.sourceFormat = values[0].value_or("");
  request.input = *values[1];
  request.targetFormat = values[2].value_or("");
  request.output = *values[3];
  if (!request.sourceFormat.empty() && !startsWithWs(request.sourceFormat)) {
    parsed.error = "source format " + request.sourceFormat +
                   " is not WordStar: this converter reads sfrm=WS (WordStar 3 to 7)";
    return parsed;
  }
  if (converterOutputPath(request.output).empty()) {
    parsed.error = "out=" + request.output + " names no file";
    return parsed;
  }
  parsed.request = std::move(request);
  return parsed;
}

std::string converterOutputPath(const std::string& out) {
  const size_t slash = out.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : out.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? out : out.substr(slash + 1);
  const size_t dot = name.find('.');
  std::string base = name.substr(0, dot).substr(0, kDosBaseLength);
  std::string extension = dot == std::string::npos
                              ? std::string()
                              : name.substr(dot + 1).substr(0, kDosExtensionLength);
  if (base.empty()) {
    return {};
  }
  if (extension.empty()) {
    extension = "rtf";
  }
  return folder + base + "." + extension;
}

}  // namespace kelvara::wordstar
