#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "word/DocumentEngine.h"
#include "word/lo/DocumentHost.h"
#include "word/lo/PageStyleWriter.h"
#include "word/lo/Sections.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// A text document loaded in our office.
class LibreOfficeDocument : public Document {
 public:
  // storedStatistics: the file brought statistics that the office took over unchecked. The
  // document keeps its host alive so that it answers, with a clean error, after the engine ended.
  LibreOfficeDocument(std::shared_ptr<DocumentHost> host, uint64_t generation,
                      css::uno::Reference<css::frame::XModel> model, std::string path,
                      bool storedStatistics, std::vector<std::string> loadWarnings = {});
  ~LibreOfficeDocument() override;

  std::string path() const override;
  std::string name() const override;

  std::vector<std::string> loadWarnings() const override { return loadWarnings_; }
  DocumentStatistics computeStatistics() override;
  int32_t revisionCount() override;
  SpellingErrors spellingErrorCount() override;

  void setTrackRevisions(bool on) override;
  void setPrintRevisions(bool on) override;
  void setShowRevisions(bool on) override;
  void setRemovePersonalInformation(bool on) override;

  int32_t sectionCount() override;
  int32_t sectionOrientation(int32_t section) override;
  int32_t sectionPaperSize(int32_t section) override;
  void applyPageSetup(int32_t section, const PageSetupValues& values) override;
  void applyParagraphFormat(const ParagraphFormatValues& values) override;
  int32_t lineSpacingRule() override;
  void applyFont(const FontFormatValues& values) override;
  void addCentredPageNumbers(int32_t section, bool firstPage) override;
  using Document::sectionText;
  std::u32string sectionText(int32_t section, SectionEdge from, int32_t characters) override;
  void deleteSectionCharacters(int32_t section, int32_t count) override;

  void saveAs(const SaveRequest& request) override;
  void close() override;

 private:
  // Runs one step against the office, turning its failures into EngineErrors.
  template <class F>
  auto guarded(const char* operation, F&& step);
  const std::vector<SectionRun>& sections();
  const SectionRun& section(int32_t number);
  // After an edit the counts must be read afresh; after one that adds or removes paragraphs the
  // sections too.
  void edited(bool paragraphsChanged = false) {
    statistics_.reset();
    if (paragraphsChanged) {
      sections_.reset();
    }
  }

  std::shared_ptr<DocumentHost> host_;
  uint64_t generation_;
  css::uno::Reference<css::frame::XModel> model_;
  std::string path_;
  bool closed_ = false;
  bool removePersonalInfo_ = false;
  bool storedStatistics_ = false;
  std::vector<std::string> loadWarnings_;
  std::optional<DocumentStatistics> statistics_;  // valid until the document is edited
  std::optional<std::vector<SectionRun>> sections_;
  PendingLayouts pendingLayouts_;  // header and footer layout waiting for a header or footer
};

}  // namespace kelvara::word::lo
