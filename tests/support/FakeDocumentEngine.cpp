#include "support/FakeDocumentEngine.h"

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
  int32_t spellingErrorCount() override { return 0; }
  void setTrackRevisions(bool) override {}
  void setPrintRevisions(bool) override {}
  void setShowRevisions(bool) override {}
  void setRemovePersonalInformation(bool) override {}
  int32_t sectionCount() override { return 1; }
  int32_t sectionOrientation(int32_t) override { return 0; }
  void applyPageSetup(int32_t, const word::PageSetupValues&) override {}
  void applyParagraphFormat(const word::ParagraphFormatValues&) override {}
  void applyFont(const word::FontFormatValues&) override {}
  void addCentredPageNumbers(int32_t, bool) override {}
  std::u32string sectionText(int32_t) override { return U"text"; }
  void deleteSectionCharacters(int32_t, int32_t) override {}

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
