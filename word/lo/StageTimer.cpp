#include "word/lo/StageTimer.h"

#include <charconv>
#include <cstdlib>

namespace kelvara::word::lo {
namespace {

// Always with a decimal point: the program runs in the user's locale, the file is for scripts.
std::string milliseconds(double ms) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, ms, std::chars_format::fixed, 1).ptr;
  return std::string(text, end);
}

// Passes every call on to the document, timing the stages the line reports.
class TimedDocument : public Document {
  template <class F>
  auto formatting(F&& step) -> decltype(step()) {
    StageClock clock(times_->formatMs);
    return step();
  }

 public:
  TimedDocument(std::unique_ptr<Document> inner, std::shared_ptr<StageTimes> times)
      : inner_(std::move(inner)), times_(std::move(times)) {}

  std::string path() const override { return inner_->path(); }
  std::string name() const override { return inner_->name(); }
  std::vector<std::string> loadWarnings() const override { return inner_->loadWarnings(); }

  DocumentStatistics computeStatistics() override {
    StageClock clock(times_->statisticsMs);
    return inner_->computeStatistics();
  }
  int32_t revisionCount() override { return inner_->revisionCount(); }
  SpellingErrors spellingErrorCount() override {
    StageClock clock(times_->spellingMs);
    return inner_->spellingErrorCount();
  }

  // Formatting is many small calls; each adds to the document's formatting time.
  void setTrackRevisions(bool on) override {
    formatting([&] { inner_->setTrackRevisions(on); });
  }
  void setPrintRevisions(bool on) override {
    formatting([&] { inner_->setPrintRevisions(on); });
  }
  void setShowRevisions(bool on) override {
    formatting([&] { inner_->setShowRevisions(on); });
  }
  void setRemovePersonalInformation(bool on) override {
    formatting([&] { inner_->setRemovePersonalInformation(on); });
  }

  int32_t sectionCount() override {
    return formatting([&] { return inner_->sectionCount(); });
  }
  int32_t sectionOrientation(int32_t section) override {
    return formatting([&] { return inner_->sectionOrientation(section); });
  }
  int32_t sectionPaperSize(int32_t section) override {
    return formatting([&] { return inner_->sectionPaperSize(section); });
  }
  void applyPageSetup(int32_t section, const PageSetupValues& values) override {
    formatting([&] { inner_->applyPageSetup(section, values); });
  }
  void applyParagraphFormat(const ParagraphFormatValues& values) override {
    formatting([&] { inner_->applyParagraphFormat(values); });
  }
  int32_t lineSpacingRule() override {
    return formatting([&] { return inner_->lineSpacingRule(); });
  }
  void applyFont(const FontFormatValues& values) override {
    formatting([&] { inner_->applyFont(values); });
  }
  void addCentredPageNumbers(int32_t section, bool firstPage) override {
    formatting([&] { inner_->addCentredPageNumbers(section, firstPage); });
  }
  using Document::sectionText;
  std::u32string sectionText(int32_t section, SectionEdge from, int32_t characters) override {
    return formatting([&] { return inner_->sectionText(section, from, characters); });
  }
  void deleteSectionCharacters(int32_t section, int32_t count) override {
    formatting([&] { inner_->deleteSectionCharacters(section, count); });
  }

  void saveAs(const SaveRequest& request) override {
    StageClock clock(times_->saveMs);
    inner_->saveAs(request);
  }
  void close() override {
    StageClock clock(times_->closeMs);
    inner_->close();
  }

 private:
  std::unique_ptr<Document> inner_;
  std::shared_ptr<StageTimes> times_;
};

}  // namespace

std::string stageTimesLine(const std::string& instanceName, const StageTimes& times) {
  return instanceName + "\t" + times.path + "\t" + milliseconds(times.launchMs) + "\t" +
         milliseconds(times.openMs) + "\t" + milliseconds(times.statisticsMs) + "\t" +
         milliseconds(times.saveMs) + "\t" + milliseconds(times.closeMs) + "\t" +
         milliseconds(times.formatMs) + "\t" + milliseconds(times.spellingMs) + "\n";
}

std::unique_ptr<StageTimer> StageTimer::fromEnvironment(const std::string& instanceName) {
  const char* path = std::getenv(kVariable);
  if (path == nullptr || *path == '\0') {
    return nullptr;
  }
  return std::make_unique<StageTimer>(instanceName, path);
}

StageTimer::StageTimer(std::string instanceName, const std::string& filePath)
    : instanceName_(std::move(instanceName)), file_(filePath) {}

void StageTimer::beginDocument(double launchMs) {
  current_ = std::make_shared<StageTimes>();
  current_->launchMs = launchMs;
}

StageClock StageTimer::openClock(const std::string& path) {
  if (!current_) {
    current_ = std::make_shared<StageTimes>();  // an open outside beginDocument
  }
  current_->path = path;
  return StageClock(current_->openMs);
}

std::unique_ptr<Document> StageTimer::timed(std::unique_ptr<Document> document) {
  if (!document || !current_) {
    return document;
  }
  return std::make_unique<TimedDocument>(std::move(document), current_);
}

void StageTimer::endDocument() {
  if (!current_) {
    return;
  }
  // A measurement that cannot be written is lost; the conversion goes on regardless.
  file_.append(stageTimesLine(instanceName_, *current_));
  current_.reset();
}

}  // namespace kelvara::word::lo
