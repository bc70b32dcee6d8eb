#include "app/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace kelvara::app {
namespace {

bool isSwitch(const std::string& p) {
  return !p.empty() && (p[0] == '/' || p[0] == '-');
}

bool hasFlag(const std::vector<std::string>& params, const std::string& name) {
  return std::any_of(params.begin(), params.end(), [&](const std::string& p) {
    if (!isSwitch(p) || p.size() != name.size() + 1) {
      return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(p[i + 1])) != name[i]) {
        return false;
      }
    }
    return true;
  });
}

std::string lowerCase(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

bool mentions(const std::string& param, const std::string& name) {
  return param.find("/" + name) != std::string::npos || param.find("-" + name) != std::string::npos;
}

// The parameter after the first one that contains "/" or "-" followed by the switch name in
// lower case; empty when the switch comes last, or is written in upper case (recognised, but
// its value is not taken); nullopt when the switch is not there at all.
std::optional<std::string> switchValue(const std::vector<std::string>& params,
                                       const std::string& name) {
  for (size_t i = 0; i < params.size(); ++i) {
    if (mentions(params[i], name)) {
      return i + 1 < params.size() ? params[i + 1] : std::string();
    }
  }
  for (const std::string& p : params) {
    if (mentions(lowerCase(p), name)) {
      return std::string();
    }
  }
  return std::nullopt;
}

// The folder a value names; a bare name means the current folder, an empty value none.
std::string valueFolder(const std::string& value) {
  if (value.empty()) {
    return value;
  }
  const std::string folder = FolderPart(value);
  return folder.empty() ? "./" : folder;
}

std::optional<int> toInt(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::string FolderPart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNamePart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

CommandLine ReadCommandLine(const std::vector<std::string>& params, const PathProbe& probe,
                            bool autoRunImplied) {
  CommandLine cl;
  if (auto v = switchValue(params, "v:")) {
    // A value that is not a number is no version request.
    const int n = toInt(*v).value_or(0);
    cl.WordVersionRequest = (n >= 7 && n <= 12) ? n : 0;
  }
  if (!autoRunImplied && !hasFlag(params, "a")) {
    return cl;
  }
  cl.AutoRun = true;
  if (hasFlag(params, "m")) {
    cl.ShowAtStart = false;
  }
  cl.singleFileForm = hasFlag(params, "s");

  const auto input = switchValue(params, "i:");
  if (input) {
    const std::string folder = valueFolder(*input);
    if (folder.empty() || !probe.folderExists(folder)) {
      cl.error = "Path not found: " + folder;
      cl.AutoRun = false;
      return cl;
    }
    cl.InpPath = folder;
    if (cl.singleFileForm) {
      cl.InpFileName = *input;
      if (!probe.fileExists(*input)) {
        cl.error = "File not found: " + *input;
        cl.AutoRun = false;
        return cl;
      }
      cl.currentOutputFileName = *input;
    }
    cl.OutPath = cl.InpPath;
  }
  const auto output = switchValue(params, "o:");
  if (output) {
    cl.OutPath = valueFolder(*output);
    if (cl.singleFileForm) {
      cl.currentOutputFileName = FileNamePart(*output);
    }
  }
  if (auto v = switchValue(params, "if:"); v && !v->empty()) {
    cl.inputFormat = *v;
  }
  if (auto v = switchValue(params, "of:"); v && !v->empty()) {
    cl.outputFormat = *v;
  }
  return cl;
}

}  // namespace kelvara::app
