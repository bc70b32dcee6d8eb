#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "word/DocumentEngine.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

class ConverterCatalog;
class OfficeSupervisor;

// A text document the office loaded and the engine accepted.
struct LoadedDocument {
  css::uno::Reference<css::frame::XModel> model;
  std::string path;               // absolute
  uint64_t generation = 0;        // the office session that holds it
  bool storedStatistics = false;  // the reader took the file's own statistics over unchecked
  std::vector<std::string> warnings;
};

// Loads documents into one office the cautious way (hidden, read-only, no macros, no links, a
// password no file has, every question answered No) and decides what to make of the result:
// the filter to read with, a second reading where the office's first choice serves badly, and
// the checks of what was loaded against the file's own bytes.
class DocumentLoader {
 public:
  DocumentLoader(OfficeSupervisor& office, ConverterCatalog& catalog)
      : office_(office), catalog_(catalog) {}

  // nullopt when the file is refused; lastError() then says why. Throws EngineError when the
  // office fails.
  std::optional<LoadedDocument> open(const OpenRequest& request);
  const std::string& lastError() const { return lastError_; }
  void clearLastError() { lastError_.clear(); }

 private:
  // A WordStar file read by our reader and handed to the office as RTF.
  std::optional<LoadedDocument> loadWordStar(const std::string& path);
  std::optional<LoadedDocument> load(const std::string& path, const std::string& filter,
                                     const std::string& filterOptions, bool textRequested,
                                     const std::string& head, int depth);
  // What the engine makes of a document the office did load (it reads broken files
  // leniently): the last-error text when it must still be refused, else the faults it passed
  // over, as warning lines of the document.
  struct LoadVerdict {
    std::optional<std::string> refusal;
    std::vector<std::string> warnings;
  };
  LoadVerdict checkLoadedContent(const std::string& path, const std::string& filter,
                                 const std::string& head,
                                 const css::uno::Reference<css::frame::XModel>& model);

  OfficeSupervisor& office_;
  ConverterCatalog& catalog_;
  std::string lastError_;
};

}  // namespace kelvara::word::lo
