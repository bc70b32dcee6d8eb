#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "word/lo/StatisticsReader.h"

namespace kelvara::word::lo {
class OfficeSupervisor;
}

namespace kelvara::word::testing {

// What a made document holds.
struct MadeDocument {
  std::vector<std::string> paragraphs;
  // Text added with change tracking on, so that the document carries a tracked insertion.
  std::string trackedInsertion;
  // Encrypts the file when not empty.
  std::string password;
};

// An office of the tests' own, apart from the engine under test: it writes documents in every
// format the office exports, and reads packages and compound files with the office's storage
// readers, which share nothing with the import filters the engine relies on.
class TestOffice {
 public:
  explicit TestOffice(const std::string& stateDir);
  ~TestOffice();
  TestOffice(const TestOffice&) = delete;
  TestOffice& operator=(const TestOffice&) = delete;

  // Writes the document with the office's export filter (its internal name, e.g. "MS Word 97").
  void write(const std::string& path, const std::string& filter, const MadeDocument& document);

  // One entry of a ZIP package, inflated; nullopt when the file has no such entry or is no
  // readable ZIP.
  std::optional<std::string> zipEntry(const std::string& path, const std::string& name);
  // The names of a ZIP package's entries, empty when the file is no readable ZIP.
  std::vector<std::string> zipEntryNames(const std::string& path);
  // The package with some entries replaced, added or (given nullopt) left out, written anew
  // with stored entries.
  std::string zipWith(
      const std::string& path,
      const std::vector<std::pair<std::string, std::optional<std::string>>>& changes);
  // The engine's line walk over the document, opened here, with the given bounds: step by step
  // from here, or by the office's own script (nullopt when the office cannot run it).
  int32_t countLinesStepByStep(const std::string& path, lo::LineWalkBounds bounds);
  std::optional<int32_t> countLinesInOffice(const std::string& path, lo::LineWalkBounds bounds);
  // The engine's sections of the document as "first element+element count:page style" each,
  // read step by step from here, or by the office's own script (nullopt when it cannot run it).
  std::vector<std::string> sectionsStepByStep(const std::string& path);
  std::optional<std::vector<std::string>> sectionsInOffice(const std::string& path);
  // One stream at the top of a compound (OLE) file; nullopt when there is none.
  std::optional<std::string> oleStream(const std::string& path, const std::string& name);

 private:
  // Runs walk(model) over the document opened hidden and read-only, then closes it.
  template <typename Walk>
  auto withOpened(const std::string& path, Walk walk);

  std::unique_ptr<lo::OfficeSupervisor> office_;
};

// Files of formats the office reads but cannot write, built byte by byte: the smallest forms
// that the office's readers take, with the paragraphs as their text.
std::string wordPerfect5File(const std::vector<std::string>& paragraphs);
std::string windowsWriteFile(const std::vector<std::string>& paragraphs);

}  // namespace kelvara::word::testing
