#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/AppendFile.h"
#include "word/DocumentEngine.h"

namespace kelvara::word::lo {

// Milliseconds one document spent in each stage of its conversion in one office.
struct StageTimes {
  std::string path;
  double launchMs = 0;  // launching or relaunching the office before it
  double openMs = 0;
  double statisticsMs = 0;  // every count of the document together
  double saveMs = 0;
  double closeMs = 0;
  double formatMs = 0;    // every formatting operation together
  double spellingMs = 0;  // counting the spelling errors
};

// "<instance>\t<path>\t<launch>\t<open>\t<statistics>\t<save>\t<close>\t<format>\t<spelling>\n",
// in milliseconds.
std::string stageTimesLine(const std::string& instanceName, const StageTimes& times);

// Adds the time a step takes to a total, whether the step returns or throws.
class StageClock {
 public:
  explicit StageClock(double& total) : total_(total), start_(std::chrono::steady_clock::now()) {}
  ~StageClock() {
    total_ += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_)
                  .count();
  }
  StageClock(const StageClock&) = delete;
  StageClock& operator=(const StageClock&) = delete;

 private:
  double& total_;
  std::chrono::steady_clock::time_point start_;
};

// What one office spends its time on, document by document: one line per document appended to
// a file that several offices, and several runs, may share.
class StageTimer {
 public:
  // The variable that names the file; without it nothing is measured.
  static constexpr const char* kVariable = "KELVARA_STAGE_TIMES";
  // Null unless the variable names a file.
  static std::unique_ptr<StageTimer> fromEnvironment(const std::string& instanceName);

  StageTimer(std::string instanceName, const std::string& filePath);

  // A document starts; launchMs is what preparing the office for it took when that meant a
  // launch, else 0.
  void beginDocument(double launchMs);
  // The open of the current document; its time goes in while the clock lives.
  [[nodiscard]] StageClock openClock(const std::string& path);
  // The document with its statistics, save and close timed into the current document's line.
  std::unique_ptr<Document> timed(std::unique_ptr<Document> document);
  // Appends the current document's line.
  void endDocument();

 private:
  std::string instanceName_;
  platform::AppendFile file_;
  std::shared_ptr<StageTimes> current_;  // shared with the documents it timed
};

}  // namespace kelvara::word::lo
