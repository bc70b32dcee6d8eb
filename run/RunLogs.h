#pragma once

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "config/Settings.h"
#include "platform/DateTime.h"
#include "platform/Locale.h"
#include "run/IOError.h"
#include "run/RunView.h"

namespace kelvara::run {

enum class LogKind { Main = 0, Error = 1, Warnings = 2, Skipped = 3 };

// The four plain-text logs of a run (conversion, errors, warnings, skipped files) in the log
// folder. Every writer is gated by its switch in Settings, read at each call, and never throws;
// a line for a log that is not open is dropped. Lines end with "\r\n"; text is UTF-8. Each write
// goes to the file at once, so a failure (a full disk) is seen and reported with the line that
// caused it.
class RunLogs {
 public:
  RunLogs(const config::Settings& settings, RunView& view, const platform::Locale& locale,
          std::function<platform::DateTime()> clock = platform::now);
  ~RunLogs();
  RunLogs(const RunLogs&) = delete;
  RunLogs& operator=(const RunLogs&) = delete;

  // The folder of the logs (and of the index); a missing final "/" is added.
  void setLogDir(std::string dir);
  const std::string& logDir() const { return logDir_; }

  // Opens one log for a run and writes its header. True also when the log's switch is off (then
  // nothing is opened). On failure the error is reported and false returned; the other logs
  // stay as they are.
  bool OpenRunLog(LogKind kind);
  // The mark that the last opening did not complete; it is also left set when the opening was
  // skipped because the log's switch is off.
  bool openFailed(LogKind kind) const { return at(kind).openFailed; }
  bool isOpen(LogKind kind) const { return at(kind).file != nullptr; }
  // The run goes on without a log that failed to open. Error lines then take the way they take
  // with the error log switched off, so that LogErrors can stay on for the main log's lines.
  void continueWithout(LogKind kind) { at(kind).without = true; }
  // A write to the log failed since its last opening: the file lacks lines of the run.
  bool incomplete(LogKind kind) const { return at(kind).writeFailed; }
  // The full name used by the last opening (kept after the run, for viewing).
  const std::string& fileName(LogKind kind) const { return at(kind).name; }
  // Closes the log; a failure is reported (operation Close, route 0).
  void Close(LogKind kind);

  // Main log, no line end (LogErrors).
  void WriteLog(std::string_view text);
  // Main log (LogErrors).
  void WriteLogLn(std::string_view text);
  // Main log (LogDateChanges and LogErrors).
  void WriteDateLogLn(std::string_view text);
  // Progress box always; main log (LogFoldersOperation).
  void WriteFolderLogLn(std::string_view text);
  // Error log (LogErrors); with LogErrors off, or when the run goes on without the error log,
  // the text goes to a modal question when StopOnErrors is on, else to the progress box.
  void WriteErrLogLn(std::string_view text);
  // Warnings log (LogWarnings).
  void WriteWrnLogLn(std::string_view text);
  // Warnings log (LogDeletions).
  void WriteDelLogLn(std::string_view text);
  // Progress box always; skipped-files log (LogSlippedFiles).
  void WriteSkpLogLn(std::string_view text);

  // Every byte written to an open log from now on, as written (for a shard's record of its run).
  using Tap = std::function<void(LogKind, std::string_view)>;
  void setTap(Tap tap) { tap_ = std::move(tap); }
  // Writes text to an open log as it is, whatever the switches: what another run wrote.
  void WriteRaw(LogKind kind, std::string_view bytes);

  // Shows an I/O error: route 0 in the progress box and the error log, route 1 in an error
  // box, any other route in the progress box only. Failures while reporting are not reported
  // again.
  void ReportIOError(const std::string& path, IOOperation operation, int route, int code);

 private:
  struct Log {
    std::FILE* file = nullptr;
    std::string name;
    bool openFailed = false;
    bool writeFailed = false;
    bool without = false;
  };

  Log& at(LogKind kind) { return logs_[static_cast<size_t>(kind)]; }
  const Log& at(LogKind kind) const { return logs_[static_cast<size_t>(kind)]; }
  bool switchedOn(LogKind kind) const;
  std::string titleLine() const;
  void writeLine(LogKind kind, std::string_view text);
  void writeRaw(LogKind kind, std::string_view bytes);
  void showErrorBox(const std::string& text, const std::string& title);

  const config::Settings& settings_;
  RunView& view_;
  platform::Locale locale_;
  std::function<platform::DateTime()> clock_;
  std::string logDir_;
  std::array<Log, 4> logs_;
  Tap tap_;
  bool reporting_ = false;
};

}  // namespace kelvara::run
