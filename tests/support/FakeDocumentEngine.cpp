#include "support/FakeDocumentEngine.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

namespace kelvara::testing {
namespace {

std::string baseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

class FakeDocument : public word::Document {
 public:
  FakeDocument(FakeDocumentEngine& engine, std::string path)
      : engine_(engine), path_(std::move(path)), script_(engine.scriptFor(path_)) {}

  std::string path() const override { return path_.substr(0, path_.find_last_of('/')); }
  std::string name() const override { return baseName(path_); }

  std::vector<std::string> loadWarnings() const override { return script_.loadWarnings; }
  word::DocumentStatistics computeStatistics() override {
    engine_.calls.push_back("statistics " + name());
    if (script_.failStatistics) {
      throw word::EngineError(word::EngineError::Kind::Failed, "Statistics failed");
    }
    return script_.statistics;
  }
  int32_t revisionCount() override { return 2; }
  word::SpellingErrors spellingErrorCount() override { return script_.spelling; }
  void setTrackRevisions(bool on) override { record("track", on); }
  void setPrintRevisions(bool on) override { record("print", on); }
  void setShowRevisions(bool on) override { record("show", on); }
  void setRemovePersonalInformation(bool on) override { record("personal", on); }

  int32_t sectionCount() override { return static_cast<int32_t>(script_.sections.size()); }
  int32_t sectionOrientation(int32_t section) override { return at(section).orientation; }
  int32_t sectionPaperSize(int32_t section) override { return at(section).paperSize; }
  void applyPageSetup(int32_t section, const word::PageSetupValues& values) override {
    engine_.formatting.pageSetups.emplace_back(section, values);
    if (section != 0 && section == script_.failPageSetupOfSection) {
      throw word::EngineError(word::EngineError::Kind::Failed, "The page style refused a value");
    }
    auto apply = [&values](FakeDocumentEngine::Script::Section& s) {
      if (values.paperSize) {
        s.paperSize = *values.paperSize;
      }
      if (values.orientation) {
        s.orientation = *values.orientation;
      }
    };
    if (section == 0) {
      for (auto& s : script_.sections) {
        apply(s);
      }
    } else {
      apply(at(section));
    }
  }
  void applyParagraphFormat(const word::ParagraphFormatValues& values) override {
    engine_.formatting.paragraphFormats.push_back(values);
    if (values.lineSpacingRule) {
      script_.lineSpacingRule = *values.lineSpacingRule;
    }
  }
  int32_t lineSpacingRule() override { return script_.lineSpacingRule; }
  void applyFont(const word::FontFormatValues& values) override {
    engine_.formatting.fonts.push_back(values);
  }
  void addCentredPageNumbers(int32_t section, bool firstPage) override {
    engine_.formatting.pageNumbers.emplace_back(section, firstPage);
  }
  using word::Document::sectionText;
  // Whole paragraphs from the asked end, as the real engine reads them.
  std::u32string sectionText(int32_t section, word::SectionEdge from, int32_t characters) override {
    const std::u32string& text = at(section).text;
    const size_t wanted = static_cast<size_t>(std::max(characters, 0));
    if (wanted >= text.size()) {
      return text;
    }
    if (from == word::SectionEdge::Start) {
      const size_t end = text.find(U'\r', wanted == 0 ? 0 : wanted - 1);
      return text.substr(0, end == std::u32string::npos ? text.size() : end + 1);
    }
    // The paragraph in which the reading starts is read whole.
    size_t start = text.size() - wanted;
    const size_t mark = start == 0 ? std::u32string::npos : text.rfind(U'\r', start - 1);
    start = mark == std::u32string::npos ? 0 : mark + 1;
    return text.substr(start);
  }
  void deleteSectionCharacters(int32_t section, int32_t count) override {
    engine_.formatting.deletions.emplace_back(section, count);
    std::u32string& text = at(section).text;
    if (count >= 0) {
      text.erase(0, std::min<size_t>(static_cast<size_t>(count), text.size()));
    } else if (!text.empty()) {
      const size_t n = std::min(static_cast<size_t>(-count), text.size() - 1);
      text.erase(text.size() - 1 - n, n);
    }
  }

  void saveAs(const word::SaveRequest& request) override {
    engine_.calls.push_back("save " + name() + " -> " + request.fileName);
    engine_.saves.push_back(request);
    if (script_.loseEngineOnSave) {
      engine_.openDocuments = 0;
      throw word::EngineError(word::EngineError::Kind::Lost, "Binary URP bridge disposed");
    }
    if (script_.failSave) {
      throw word::EngineError(word::EngineError::Kind::Failed, "Write error");
    }
    std::ofstream out(request.fileName, std::ios::binary);
    if (!out) {
      throw word::EngineError(word::EngineError::Kind::Failed, "Cannot write " + request.fileName);
    }
    out << "converted from " << path_ << "\n";
  }

  void close() override {
    engine_.calls.push_back("close " + name());
    if (engine_.openDocuments > 0) {
      --engine_.openDocuments;
    }
  }

 private:
  void record(const char* what, bool on) {
    engine_.formatting.switches.push_back(std::string(what) + (on ? " 1" : " 0"));
  }
  FakeDocumentEngine::Script::Section& at(int32_t section) {
    if (section < 1 || section > static_cast<int32_t>(script_.sections.size())) {
      throw word::EngineError(word::EngineError::Kind::Failed, "No such section");
    }
    return script_.sections[static_cast<size_t>(section - 1)];
  }

  FakeDocumentEngine& engine_;
  std::string path_;
  FakeDocumentEngine::Script script_;
};

}  // namespace

const FakeDocumentEngine::Script& FakeDocumentEngine::scriptFor(const std::string& path) const {
  const auto it = scripts.find(baseName(path));
  return it == scripts.end() ? default_ : it->second;
}

void FakeDocumentEngine::connect() {
  calls.push_back("connect");
  connected_ = true;
}

void FakeDocumentEngine::disconnect() {
  calls.push_back("disconnect");
  connected_ = false;
}

void FakeDocumentEngine::quit() {
  calls.push_back("quit");
  connected_ = false;
}

std::vector<word::FileConverter> FakeDocumentEngine::fileConverters() {
  return {{"WordPerfect Document", "wpd", true, 1001, false, 0},
          {"OpenDocument Text", "odt", true, 1002, true, 1002}};
}

void FakeDocumentEngine::beginDocument(bool) {
  ++beginCount;
  connected_ = true;
}

void FakeDocumentEngine::endDocument() {
  ++endCount;
}

std::unique_ptr<word::Document> FakeDocumentEngine::open(const word::OpenRequest& request) {
  calls.push_back("open " + baseName(request.fileName) + " format " +
                  std::to_string(request.format));
  if (onOpen) {
    onOpen(request.fileName);
  }
  const Script& script = scriptFor(request.fileName);
  if (script.openMilliseconds > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(script.openMilliseconds));
  }
  if (script.refuseOpen) {
    lastError_ = script.openError;
    return nullptr;
  }
  ++openDocuments;
  return std::make_unique<FakeDocument>(*this, request.fileName);
}

}  // namespace kelvara::testing
