#include "word/lo/ConverterCatalog.h"

#include <algorithm>

#include "word/lo/FilterMap.h"
#include "word/lo/OfficeSupervisor.h"

namespace kelvara::word::lo {
namespace {

// Filters behind the fixed format codes, and their template variants: they are not offered
// again as converters.
const std::set<std::string>& fixedFilters() {
  static const std::set<std::string> names = {"MS Word 97",
                                              "MS Word 97 Vorlage",
                                              "MS Word 95",
                                              "MS Word 95 Vorlage",
                                              "MS WinWord 6.0",
                                              "MS WinWord 5",
                                              "MS Word 2007 XML",
                                              "MS Word 2007 XML Template",
                                              "MS Word 2007 XML VBA",
                                              "Office Open XML Text",
                                              "Office Open XML Text Template",
                                              "MS Word 2003 XML",
                                              "Rich Text Format",
                                              "Text",
                                              "Text (encoded)",
                                              "HTML (StarWriter)",
                                              "XHTML Writer File",
                                              "writer_pdf_Export"};
  return names;
}

// Exports that describe a document (its layout, words for a search index) rather than
// convert it.
bool isDiagnosticFilter(const std::string& name) {
  return name == "writer_layout_dump" || name == "writer_indexing_export";
}

std::string join(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (const auto& p : parts) {
    if (!out.empty()) {
      out += separator;
    }
    out += p;
  }
  return out;
}

}  // namespace

const std::vector<ConverterEntry>& ConverterCatalog::converters() {
  if (!converters_) {
    loadFilters();
  }
  return *converters_;
}

void ConverterCatalog::loadFilters() {
  office_.connect();
  std::vector<FilterInfo> filters;
  try {
    filters = readWriterFilters(office_.connection());
  } catch (...) {
    office_.fail("reading the installed filters");
  }
  std::set<std::string> names;
  std::vector<FilterInfo> offered;
  const int32_t hidden =
      filterflag::kInternal | filterflag::kNotInFileDialog | filterflag::kNotInstalled;
  for (const auto& f : filters) {
    names.insert(f.name);
    if ((f.flags & (filterflag::kImport | filterflag::kExport)) == 0 || (f.flags & hidden) != 0 ||
        fixedFilters().count(f.name) || isDiagnosticFilter(f.name)) {
      continue;
    }
    offered.push_back(f);
  }
  // Codes are handed out in the order of the filters' own names, which no translation
  // changes, so a clash always resolves the same way.
  std::sort(offered.begin(), offered.end(),
            [](const FilterInfo& a, const FilterInfo& b) { return a.name < b.name; });
  std::vector<ConverterEntry> entries;
  std::set<int32_t> taken;
  for (const auto& f : offered) {
    const int32_t code = converterCode(f.name, taken);
    taken.insert(code);
    entries.push_back({f, code});
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const ConverterEntry& a, const ConverterEntry& b) {
                     return a.filter.uiName < b.filter.uiName;
                   });
  filterNames_ = std::move(names);
  converters_ = std::move(entries);
}

std::vector<FileConverter> ConverterCatalog::fileConverters() {
  std::vector<FileConverter> result;
  for (const auto& c : converters()) {
    FileConverter fc;
    fc.formatName = c.filter.uiName;
    fc.extensions = join(c.filter.extensions, " ");
    fc.canOpen = (c.filter.flags & filterflag::kImport) != 0;
    fc.openFormat = c.code;
    fc.canSave = (c.filter.flags & filterflag::kExport) != 0;
    fc.saveFormat = c.code;
    result.push_back(fc);
  }
  FileConverter wordStar;
  wordStar.formatName = kWordStarName;
  wordStar.extensions = kWordStarExtensions;
  wordStar.canOpen = true;
  wordStar.openFormat = kWordStarCode;
  result.push_back(wordStar);
  return result;
}

std::string ConverterCatalog::converterImportFilter(int32_t openFormat) {
  for (const auto& c : converters()) {
    if (c.code == openFormat && (c.filter.flags & filterflag::kImport)) {
      return c.filter.name;
    }
  }
  return {};
}

std::string ConverterCatalog::cannotSaveReason(int32_t saveFormat) {
  if (saveFormat >= kFirstConverterCode) {
    for (const auto& c : converters()) {
      if (c.code == saveFormat && (c.filter.flags & filterflag::kExport)) {
        return {};
      }
    }
    return "LibreOffice cannot write the output format with code " + std::to_string(saveFormat);
  }
  const auto fixed = saveFilterFor(saveFormat);
  if (!fixed) {
    return "LibreOffice cannot write the output format with code " + std::to_string(saveFormat);
  }
  if (fixed->filterName.empty()) {
    return cannotWriteMessage(fixed->formatName);
  }
  if (!filterNames_) {
    loadFilters();
  }
  if (!filterNames_->count(fixed->filterName)) {
    return cannotWriteMessage(fixed->formatName);
  }
  return {};
}

std::string ConverterCatalog::saveFilterName(int32_t saveFormat, bool* plainText) {
  const std::string reason = cannotSaveReason(saveFormat);
  if (!reason.empty()) {
    throw EngineError(EngineError::Kind::Failed, reason);
  }
  *plainText = false;
  if (saveFormat >= kFirstConverterCode) {
    for (const auto& c : converters()) {
      if (c.code == saveFormat) {
        return c.filter.name;
      }
    }
  }
  const auto fixed = saveFilterFor(saveFormat);
  *plainText = fixed->plainText;
  return fixed->filterName;
}

}  // namespace kelvara::word::lo
