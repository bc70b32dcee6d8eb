#include "app/help/DebugLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace kelvara::app {
namespace {

constexpr int kRuleLength = 80;

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

std::string vformat(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0) {
    return format;
  }
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return std::string(buffer.data(), static_cast<size_t>(length));
}

std::string joined(const std::vector<std::string>& words, const std::string& separator) {
  std::string text;
  for (size_t i = 0; i < words.size(); ++i) {
    text += (i == 0 ? "" : separator) + words[i];
  }
  return text;
}

}  // namespace

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformat(format, args);
  va_end(args);
  return text;
}

bool FolderAcceptsNewFile(const std::string& folder) {
  const std::string probe = folder + "/$_Temp_$.$$$";
  const int fd = ::open(probe.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    return false;
  }
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

std::string TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = tmp != nullptr ? tmp : "";
  while (folder.size() > 1 && folder.back() == '/') {
    folder.pop_back();
  }
  return !folder.empty() && isFolder(folder) ? folder : "/tmp";
}

DebugLog::DebugLog(const std::string& fileName, bool append, bool header, bool timeStamp,
                   bool debugMode, const DiagnosticFacts& facts, const std::string& tempDir,
                   platform::Locale locale, MessageBox messageBox)
    : fileName_(fileName),
      debugMode_(debugMode),
      timeStamp_(timeStamp),
      locale_(std::move(locale)),
      messageBox_(std::move(messageBox)) {
  const std::string folder = folderOf(fileName);
  if (!isFolder(folder) || !FolderAcceptsNewFile(folder)) {
    std::string folderPath = tempDir;
    while (folderPath.size() > 1 && folderPath.back() == '/') {
      folderPath.pop_back();
    }
    fileName_ = folderPath + "/" + nameOf(fileName);
  }
  struct stat st {};
  if (::stat(fileName_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    // A log left read-only must not stop this run's lines.
    ::chmod(fileName_.c_str(), (st.st_mode & 07777) | S_IWUSR);
    if (!append) {
      ::unlink(fileName_.c_str());
    }
  }
  if (debugMode_ && header) {
    writeHeader(facts);
  }
}

void DebugLog::WriteDebugLine(const std::string& text) const {
  if (!debugMode_) {
    return;
  }
  std::string line = text == "-"   ? std::string(kRuleLength, '-')
                     : text == "=" ? std::string(kRuleLength, '=')
                                   : text;
  if (!line.empty() && (line[0] == '!' || line[0] == '-' || line[0] == '=')) {
    line.erase(0, 1);
  } else if (timeStamp_) {
    line = locale_.formatLongTime(platform::now()) + "   " + line;
  }
  std::FILE* file = std::fopen(fileName_.c_str(), "a");
  if (file == nullptr) {
    return;
  }
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), file);
  std::fflush(file);
  std::fclose(file);
}

void DebugLog::WriteDebugLineF(const char* format, ...) const {
  if (!debugMode_) {
    return;
  }
  va_list args;
  va_start(args, format);
  const std::string text = vformat(format, args);
  va_end(args);
  WriteDebugLine(text);
}

void DebugLog::ShowDebugMessage(const std::string& text) const {
  if (messageBox_) {
    messageBox_(text);
  }
  WriteDebugLine(text);
}

void DebugLog::writeHeader(const DiagnosticFacts& f) const {
  const platform::DateTime now = platform::now();
  const auto yesNo = [](bool yes) { return std::string(yes ? "YES" : "NO"); };
  const std::pair<const char*, std::string> lines[] = {
      {"=", ""},
      {"!Log File:             ", fileName_},
      {"!Date:                 ", locale_.formatShortDate(now) + " " + locale_.formatLongTime(now)},
      {"!Operating System:     ", f.operatingSystem},
      {"!Locale LC_CTYPE:      ", f.localeCtype},
      {"!Locale LC_TIME:       ", f.localeTime},
      {"!Locale LC_NUMERIC:    ", f.localeNumeric},
      {"!DecimalSeparator:     ", std::string(1, locale_.decimalSeparator)},
      {"-", ""},
      {"!EXE Path =          ", f.exePath},
      {"!EXE Version =       ", f.version},
      {"!Cmdline Param(s) =  ", joined(f.params, " | ")},
      {"!Actual CmdLine =  ", f.actualCmdLine},
      {"!_RunDir =           ", f.runDir},
      {"!_ModuleName =       ", f.moduleName},
      {"!_ModuleDir =        ", f.moduleDir},
      {"!_ModulePath =        ", f.modulePath},
      {"!Module Version =       ", f.version},
      {"-", ""},
      {"!_helpInstalled =      ", yesNo(!f.helpFolder.empty())},
      {"!_helpFolder =         ", f.helpFolder},
      {"-", ""},
      {"!_browserInstalled =      ", yesNo(!f.browserCommand.empty())},
      {"!_browserCommand =        ", f.browserCommand},
      {"=", ""},
  };
  for (const auto& [label, value] : lines) {
    const std::string text = label;
    WriteDebugLine(text == "-" || text == "=" ? text : text + "\t" + value);
  }
}

}  // namespace kelvara::app
