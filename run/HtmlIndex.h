#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kelvara::run {

// One call made to the index, with its arguments as text, so that another process can build the
// same page from a record of it.
struct IndexEvent {
  enum class Kind { FolderEntered, FileBegins, FileConverted, FileFailed, FolderDone };
  Kind kind = Kind::FileBegins;
  std::vector<std::string> args;
  bool operator==(const IndexEvent&) const = default;
};

// The HTML page that lists, folder by folder as nested lists, every document a run tried to
// convert, with links to the input and (when converted) the output. Built in memory during the
// run and written in one piece at its end. The nesting state survives from one run to the next
// (Start does not reset it), so that a single-file run continues the last folder run's page form.
class HtmlIndex {
 public:
  // A new list holding the page header.
  void Start();
  // A folder is entered. outsideOutputTree: the output path differs from the input path and the
  // folder does not lie inside the output tree. Both cases get the same folder item.
  void FolderEntered(const std::string& curOutputDir, bool outsideOutputTree);
  // A document passed the filters and is about to be converted.
  void FileBegins();
  void FileConverted(const std::string& inpFileName, const std::string& docName,
                     const std::string& outputFileName, const std::string& outName);
  void FileFailed(const std::string& inpFileName, const std::string& docName,
                  const std::string& outName);
  void FolderDone();
  // Adds the closing item and replaces the file at indexPath with the list, each item followed
  // by "\r\n"; the list is then released. False when the file could not be written (errno then
  // holds the reason).
  bool End(const std::string& indexPath);

  // Receives every call from FolderEntered to FolderDone.
  void setRecorder(std::function<void(const IndexEvent&)> recorder) {
    recorder_ = std::move(recorder);
  }
  // Makes the call an event records; an event with too few arguments is ignored.
  void Replay(const IndexEvent& event);

  const std::vector<std::string>& items() const { return items_; }
  // 0 after a folder item, 2 while a folder's file list is open, 1 after a folder was closed.
  int level() const { return level_; }

 private:
  void append(std::string item);

  void record(IndexEvent::Kind kind, std::vector<std::string> args);

  std::vector<std::string> items_;
  int level_ = 0;
  std::function<void(const IndexEvent&)> recorder_;
};

// Text with &, <, > and " replaced by their HTML character references.
std::string EscapeHtml(const std::string& text);

}  // namespace kelvara::run
