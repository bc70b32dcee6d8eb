#include "word/CountInput.h"

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"
#include "word/ConvError.h"
#include "word/RunProgram.h"

namespace kelvara::word {
namespace {

constexpr size_t kFieldOffset = 7;  // from the label's first character
constexpr size_t kFieldWidth = 6;

std::string fileNamePart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string trimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<int32_t> parseCount(const std::string& field) {
  const std::string text = trimBlanks(field);
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (begin != end && *begin == '+') {
    ++begin;
  }
  int32_t value = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (begin == end || ec != std::errc() || ptr != end) {
    return std::nullopt;
  }
  return value;
}

// Documents with the same file name share one count file name, in a pool and in other runs of
// this user alike; they take turns. A few lock files serve all names.
std::string lockFileFor(const std::string& folder, const std::string& countFileName) {
  constexpr uint32_t kLocks = 16;
  uint32_t hash = 2166136261u;  // FNV-1a: the same in every process
  for (unsigned char c : countFileName) {
    hash = (hash ^ c) * 16777619u;
  }
  return folder + ".count-" + std::to_string(hash % kLocks) + ".lock";
}

class CountFile {
 public:
  explicit CountFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "rb")) {
    if (!file_) {
      throw EConvError("Count file " + path +
                       " cannot be opened: " + platform::systemErrorText(errno));
    }
  }
  ~CountFile() {
    if (file_) {
      std::fclose(file_);
    }
  }
  CountFile(const CountFile&) = delete;
  CountFile& operator=(const CountFile&) = delete;

  // The next line without its line end; nullopt at the end of the file.
  std::optional<std::string> readLine() {
    std::string line;
    for (;;) {
      const int c = std::fgetc(file_);
      if (c == EOF) {
        if (std::ferror(file_)) {
          throw EConvError("Count file " + path_ +
                           " cannot be read: " + platform::systemErrorText(errno));
        }
        if (line.empty()) {
          return std::nullopt;
        }
        break;
      }
      if (c == '\n') {
        break;
      }
      line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    return line;
  }

  // 0, or the errno of a failed close.
  int close() {
    const int rc = std::fclose(file_);
    file_ = nullptr;
    return rc == 0 ? 0 : errno;
  }

 private:
  std::string path_;
  std::FILE* file_;
};

}  // namespace

std::string CountFileName(const std::string& inputPath) {
  const std::string name = fileNamePart(inputPath);
  const auto dot = name.find('.');
  return (dot == std::string::npos ? std::string() : name.substr(0, dot + 1)) + "txt";
}

InputCounts ParseCountLine(const std::string& line, bool* garbage) {
  InputCounts counts;
  if (garbage) {
    *garbage = false;
  }
  const std::pair<const char*, int32_t*> labels[] = {
      {"Words:", &counts.words}, {"Lines:", &counts.lines}, {"Chars:", &counts.characters}};
  for (const auto& [label, count] : labels) {
    const size_t at = line.find(label);
    if (at == std::string::npos) {
      continue;
    }
    const std::string field =
        at + kFieldOffset < line.size() ? line.substr(at + kFieldOffset, kFieldWidth) : "";
    const std::optional<int32_t> value = parseCount(field);
    if (!value) {
      if (garbage) {
        *garbage = true;
      }
      break;
    }
    *count = *value;
  }
  return counts;
}

InputCounts CountInput(const config::Settings& settings, const std::string& inputPath,
                       const std::string& tempFolder, const std::function<void()>& checkpoint,
                       PendingLog& log) {
  std::string folder = tempFolder;
  if (!folder.empty() && folder.back() != '/') {
    folder += '/';
  }
  const std::string countFile = folder + CountFileName(inputPath);
  const platform::FileLock turn(lockFileFor(folder, CountFileName(inputPath)));

  ProgramCall call;
  call.program = settings.WordsCountProgram;
  call.arguments = {inputPath};
  call.outputFile = countFile;
  call.timeoutSeconds = settings.DocTimeout;
  call.scratchFolder = tempFolder;
  if (RunProgram(call, checkpoint, log) != 0) {
    // No counts. What the program left is of no use to anyone.
    platform::removeFile(countFile);
    return InputCounts{};
  }

  InputCounts counts;
  try {
    CountFile file(countFile);
    std::optional<std::string> line;
    for (int i = 0; i < 4; ++i) {
      line = file.readLine();
      if (!line) {
        break;
      }
    }
    if (!line) {
      log.ioError(countFile, PendingLog::kRead, ENODATA);
    } else {
      bool garbage = false;
      counts = ParseCountLine(*line, &garbage);
      if (garbage) {
        log.ioError(countFile, PendingLog::kRead, EINVAL);
      }
    }
    if (const int code = file.close()) {
      log.ioError(countFile, PendingLog::kClose, code);
    }
  } catch (const EConvError&) {
    platform::removeFile(countFile);
    throw;
  }
  if (const int code = platform::removeFile(countFile); code == 0) {
    log.deletion("File " + countFile + " deleted");
  } else {
    log.ioError(countFile, PendingLog::kDelete, code);
  }
  return counts;
}

}  // namespace kelvara::word
