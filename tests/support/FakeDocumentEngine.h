#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "word/DocumentEngine.h"

namespace kelvara::testing {

// A scriptable engine: opens any file, "saves" by writing a small file, records every call, and
// fails on demand per input file name (the part after the last "/").
class FakeDocumentEngine : public word::DocumentEngine {
 public:
  struct Script {
    bool refuseOpen = false;  // open() returns null
    std::string openError = "[Error:2] File format error";
    bool failStatistics = false;
    bool failSave = false;
    bool loseEngineOnSave = false;  // the engine dies while saving
    word::DocumentStatistics statistics{1, 3, 10, 50, 300, 250};
    std::vector<std::string> loadWarnings;  // what the engine "repaired" while loading
    int openMilliseconds = 0;  // how long opening takes (documents finish out of order)

    // The document's sections; formatting edits this copy, document by document.
    struct Section {
      int32_t orientation = 0;
      std::u32string text = U"text\r";
      int32_t paperSize = 7;
    };
    std::vector<Section> sections{Section{}};
    int32_t lineSpacingRule = 0;
    int32_t failPageSetupOfSection = 0;  // applyPageSetup() of this section fails
    word::SpellingErrors spelling;
  };

  // Every formatting call of every document, in order, with its values.
  struct FormattingCalls {
    std::vector<std::pair<int32_t, word::PageSetupValues>> pageSetups;
    std::vector<word::ParagraphFormatValues> paragraphFormats;
    std::vector<word::FontFormatValues> fonts;
    std::vector<std::pair<int32_t, bool>> pageNumbers;   // section, first page
    std::vector<std::pair<int32_t, int32_t>> deletions;  // section, count
    std::vector<std::string> switches;     // "track 0", "print 0", "show 0", "personal 1"
    std::vector<word::UserData> userData;  // of each setUserData()
  };

  std::map<std::string, Script> scripts;
  std::vector<std::string> calls;
  std::vector<word::SaveRequest> saves;
  FormattingCalls formatting;
  std::string version_ = "12.0";
  std::string refusedSaveReason;  // cannotSaveReason() answer for every format
  // ignoredTextOptions() answer when line breaks are asked for.
  std::vector<std::string> ignoredLineBreaks{"Warning - line breaks are not inserted"};
  bool connected_ = false;
  int openDocuments = 0;
  int beginCount = 0;
  int endCount = 0;
  // Called inside open(), e.g. to press Stop or Pause while a document converts.
  std::function<void(const std::string&)> onOpen;

  void connect() override;
  void disconnect() override;
  bool connected() const override { return connected_; }
  void quit() override;
  std::string version() const override { return version_; }
  std::string productName() const override { return "Fake engine 1.0"; }
  std::vector<word::FileConverter> fileConverters() override;
  std::string cannotSaveReason(int32_t) override { return refusedSaveReason; }
  std::vector<std::string> ignoredTextOptions(const word::TextSaveOptions& options) const override {
    return options.insertLineBreaks ? ignoredLineBreaks : std::vector<std::string>{};
  }
  void beginDocument(bool debug) override;
  void endDocument() override;
  std::unique_ptr<word::Document> open(const word::OpenRequest& request) override;
  std::string lastErrorText() const override { return lastError_; }
  int32_t openDocumentCount() override { return openDocuments; }
  void closeAllDocuments() override { openDocuments = 0; }
  void setUserData(const word::UserData& data) override { formatting.userData.push_back(data); }

  const Script& scriptFor(const std::string& path) const;

 private:
  std::string lastError_;
  Script default_;
};

}  // namespace kelvara::testing
