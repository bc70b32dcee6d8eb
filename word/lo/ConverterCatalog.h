#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "word/DocumentEngine.h"
#include "word/lo/FilterCatalog.h"

namespace kelvara::word::lo {

class OfficeSupervisor;

// An installed filter offered as a converter, with its stable code.
struct ConverterEntry {
  FilterInfo filter;
  int32_t code = 0;
};

// What one office can read and write beyond the fixed formats, and which filter each format
// code stands for. The filters are read from the office once, on the first question.
class ConverterCatalog {
 public:
  explicit ConverterCatalog(OfficeSupervisor& office) : office_(office) {}

  std::vector<FileConverter> fileConverters();
  // Empty when the office can write the save format, else why it cannot.
  std::string cannotSaveReason(int32_t saveFormat);
  // The filter a save format code writes with; throws EngineError(Failed) when there is none.
  std::string saveFilterName(int32_t saveFormat, bool* plainText);
  // The import filter of a converter's open code; empty when no converter reads with that code.
  std::string converterImportFilter(int32_t openFormat);

 private:
  const std::vector<ConverterEntry>& converters();
  void loadFilters();

  OfficeSupervisor& office_;
  std::optional<std::vector<ConverterEntry>> converters_;
  std::optional<std::set<std::string>> filterNames_;
};

}  // namespace kelvara::word::lo
