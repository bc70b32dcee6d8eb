#include "run/RunLogs.h"

#include <algorithm>
#include <cerrno>

#include "platform/FileSystem.h"

namespace kelvara::run {
namespace {

struct KindInfo {
  const char* prefix;
  const char* title;
};

constexpr std::array<KindInfo, 4> kKinds = {{
    {"Conv", "Conversion"},
    {"Error", "Error"},
    {"Warns", "Warning"},
    {"Skips", "Skip"},
}};

constexpr const char* kLineEnd = "\r\n";
constexpr size_t kNumberedLogs = 100;

const KindInfo& info(LogKind kind) {
  return kKinds[static_cast<size_t>(kind)];
}

std::string threeDigits(size_t n) {
  std::string s = std::to_string(n);
  return std::string(3 - std::min<size_t>(3, s.size()), '0') + s;
}

// Runs a writer's body; the writers never throw.
template <typename F>
void guarded(F&& body) {
  try {
    body();
  } catch (...) {
  }
}

}  // namespace

RunLogs::RunLogs(const config::Settings& settings, RunView& view, const platform::Locale& locale,
                 std::function<platform::DateTime()> clock)
    : settings_(settings), view_(view), locale_(locale), clock_(std::move(clock)) {}

RunLogs::~RunLogs() {
  for (Log& log : logs_) {
    if (log.file) {
      std::fclose(log.file);
      log.file = nullptr;
    }
  }
}

void RunLogs::setLogDir(std::string dir) {
  if (!dir.empty() && dir.back() != '/') {
    dir.push_back('/');
  }
  logDir_ = std::move(dir);
}

bool RunLogs::switchedOn(LogKind kind) const {
  switch (kind) {
    case LogKind::Main:
      return true;
    case LogKind::Error:
      return settings_.LogErrors;
    case LogKind::Warnings:
      return settings_.LogWarnings;
    case LogKind::Skipped:
      return settings_.LogSlippedFiles;
  }
  return false;
}

std::string RunLogs::titleLine() const {
  const platform::DateTime now = clock_ ? clock_() : platform::now();
  return " Log started on day: " + locale_.formatShortDate(now) + " at " +
         locale_.formatLongTime(now);
}

bool RunLogs::OpenRunLog(LogKind kind) {
  Log& log = at(kind);
  log.openFailed = true;
  log.writeFailed = false;
  log.without = false;
  if (!switchedOn(kind)) {
    return true;
  }
  if (log.file) {
    Close(kind);
  }
  const std::string prefix = logDir_ + info(kind).prefix;
  const std::string underscores(68, '_');
  std::string header = kLineEnd;

  if (settings_.NewLogFile) {
    log.name = prefix + "Log_000.txt";
    for (size_t n = 0; n < kNumberedLogs; ++n) {
      const std::string candidate = prefix + "Log_" + threeDigits(n) + ".txt";
      if (!platform::exists(candidate)) {
        log.name = candidate;
        break;
      }
    }
    log.file = std::fopen(log.name.c_str(), "wb");
    if (!log.file) {
      ReportIOError(log.name, IOOperation::Open, 0, errno);
      return false;
    }
  } else {
    log.name = prefix + "Log.txt";
    const bool append = platform::exists(log.name) && !settings_.OverwriteLogs;
    log.file = std::fopen(log.name.c_str(), append ? "ab" : "wb");
    if (!log.file) {
      // The logs already open stay open: the run may go on without this one.
      ReportIOError(log.name, IOOperation::Open, 0, errno);
      return false;
    }
    if (append) {
      std::string separator;
      for (int i = 0; i < 34; ++i) {
        separator += ":..";
      }
      header += separator + kLineEnd + kLineEnd;
    }
    header += kLineEnd;
  }
  // Unbuffered: each line reaches the file (and shows its failure) when it is written.
  std::setvbuf(log.file, nullptr, _IONBF, 0);
  header +=
      std::string(info(kind).title) + titleLine() + kLineEnd + underscores + kLineEnd + kLineEnd;
  writeRaw(kind, header);
  log.openFailed = false;
  return true;
}

void RunLogs::Close(LogKind kind) {
  guarded([&] {
    Log& log = at(kind);
    if (!log.file) {
      return;
    }
    std::FILE* file = log.file;
    log.file = nullptr;
    if (std::fclose(file) != 0) {
      ReportIOError(log.name, IOOperation::Close, 0, errno);
    }
  });
}

void RunLogs::writeRaw(LogKind kind, std::string_view bytes) {
  Log& log = at(kind);
  if (!log.file || bytes.empty()) {
    return;
  }
  if (tap_) {
    tap_(kind, bytes);
  }
  errno = 0;
  const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), log.file);
  if (written != bytes.size() || std::ferror(log.file)) {
    const int code = errno != 0 ? errno : EIO;
    std::clearerr(log.file);
    log.writeFailed = true;
    ReportIOError(log.name, IOOperation::Write, 0, code);
  }
}

void RunLogs::WriteRaw(LogKind kind, std::string_view bytes) {
  guarded([&] { writeRaw(kind, bytes); });
}

void RunLogs::writeLine(LogKind kind, std::string_view text) {
  std::string line(text);
  line += kLineEnd;
  writeRaw(kind, line);
}

void RunLogs::WriteLog(std::string_view text) {
  guarded([&] {
    if (settings_.LogErrors) {
      writeRaw(LogKind::Main, text);
      if (std::FILE* f = at(LogKind::Main).file) {
        std::fflush(f);
      }
    }
  });
}

void RunLogs::WriteLogLn(std::string_view text) {
  guarded([&] {
    if (settings_.LogErrors) {
      writeLine(LogKind::Main, text);
    }
  });
}

void RunLogs::WriteDateLogLn(std::string_view text) {
  if (settings_.LogDateChanges) {
    WriteLogLn(text);
  }
}

void RunLogs::WriteFolderLogLn(std::string_view text) {
  guarded([&] {
    view_.setProgress(std::string(text));
    if (settings_.LogFoldersOperation) {
      writeLine(LogKind::Main, text);
    }
  });
}

void RunLogs::WriteErrLogLn(std::string_view text) {
  guarded([&] {
    if (settings_.LogErrors && !at(LogKind::Error).without) {
      writeLine(LogKind::Error, text);
    } else if (settings_.StopOnErrors) {
      // The run waits until the operator has seen the error; the answer is not used.
      view_.askYesNo(std::string(text), "Error");
    } else {
      view_.setProgress(std::string(text));
    }
  });
}

void RunLogs::WriteWrnLogLn(std::string_view text) {
  guarded([&] {
    if (settings_.LogWarnings) {
      writeLine(LogKind::Warnings, text);
    }
  });
}

void RunLogs::WriteDelLogLn(std::string_view text) {
  guarded([&] {
    if (settings_.LogDeletions) {
      writeLine(LogKind::Warnings, text);
    }
  });
}

void RunLogs::WriteSkpLogLn(std::string_view text) {
  guarded([&] {
    view_.setProgress(std::string(text));
    if (settings_.LogSlippedFiles) {
      writeLine(LogKind::Skipped, text);
    }
  });
}

void RunLogs::showErrorBox(const std::string& text, const std::string& title) {
  view_.showError(CutToChars(text, 255), CutToChars(title, 63));
}

void RunLogs::ReportIOError(const std::string& path, IOOperation operation, int route, int code) {
  // A failure while reporting (the error log itself cannot be written) is not reported again:
  // that would never end.
  if (reporting_) {
    return;
  }
  reporting_ = true;
  guarded([&] {
    const std::string text = FormatIOError(path, static_cast<int>(operation), code);
    if (route == 0) {
      view_.setProgress(text);
      WriteErrLogLn(text);
    } else if (route == 1) {
      showErrorBox(text, "Error");
    } else {
      view_.setProgress(text);
    }
  });
  reporting_ = false;
}

}  // namespace kelvara::run
