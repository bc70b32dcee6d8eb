#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kelvara::word {

// Lines for the run's logs and boxes from the steps around a conversion (the outside programs,
// the WordStar check). A conversion may run on any thread, so it hands its lines over and the
// run writes them, in walk order, through its own writers.
class PendingLog {
 public:
  enum class Target {
    Main,       // WriteLogLn
    Error,      // WriteErrLogLn
    Warnings,   // WriteWrnLogLn
    Deletion,   // WriteDelLogLn
    IOError,    // ReportIOError to the progress box and the error log
    Progress,   // the progress box
    StateHint,  // the conversion-state box's hint
  };
  // The operations of an I/O error, numbered as the run's error texts number them.
  enum IOOperation { kOpen = 1, kRead = 2, kClose = 5, kDelete = 7 };

  struct Line {
    Target target;
    std::string text;  // for an I/O error: the file's path
    int operation = 0;
    int code = 0;  // for an I/O error: the errno
  };

  void main(std::string text) { add(Target::Main, std::move(text)); }
  void error(std::string text) { add(Target::Error, std::move(text)); }
  void warning(std::string text) { add(Target::Warnings, std::move(text)); }
  void deletion(std::string text) { add(Target::Deletion, std::move(text)); }
  void progress(std::string text) { add(Target::Progress, std::move(text)); }
  void stateHint(std::string text) { add(Target::StateHint, std::move(text)); }
  void ioError(std::string path, IOOperation operation, int code) {
    lines_.push_back(Line{Target::IOError, std::move(path), operation, code});
  }
  void append(const PendingLog& other) {
    lines_.insert(lines_.end(), other.lines_.begin(), other.lines_.end());
  }

  const std::vector<Line>& lines() const { return lines_; }
  bool empty() const { return lines_.empty(); }

 private:
  void add(Target target, std::string text) {
    lines_.push_back(Line{target, std::move(text), 0, 0});
  }

  std::vector<Line> lines_;
};

}  // namespace kelvara::word
