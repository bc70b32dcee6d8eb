#include "word/lo/FilterMap.h"

namespace kelvara::word::lo {
namespace {

constexpr const char* kEncodedTextFilter = "Text (encoded)";
constexpr const char* kHtmlFilter = "HTML (StarWriter)";

// FNV-1a: small, and fixed by definition, so the codes do not depend on the standard library.
uint32_t stableHash(const std::string& text) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

OpenFilter openFilterFor(int32_t code) {
  switch (code) {
    case 4:  // "Normal text": read with the file's own character set and line ends (the plain
             // filter keeps a DOS line's carriage return as a character)
      return {kEncodedTextFilter, true, true};
    case 5:  // "Unicode Text" and "Encoded Text"
      return {kEncodedTextFilter, true, true};
    case 7:  // web pages: only the Writer HTML filter lays them out in pages
      return {kHtmlFilter, false, false};
    default:
      // Auto, Word documents and templates, RTF, XML: the office's type detection tells the
      // real format, as the word processor does for a file whose extension misleads.
      return {};
  }
}

std::optional<SaveFilter> saveFilterFor(int32_t code) {
  switch (code) {
    case 0:
      return SaveFilter{"MS Word 97", "Word 97-2003 Document"};
    case 1:
      return SaveFilter{"MS Word 97 Vorlage", "Word 97-2003 Template"};
    case 2:
      return SaveFilter{kEncodedTextFilter, "Normal text", true};
    case 6:
      return SaveFilter{"Rich Text Format", "Rich Text Format"};
    case 8:
      return SaveFilter{kHtmlFilter, "Formatted HTML"};
    case 9:
      return SaveFilter{kHtmlFilter, "Web Page HTML"};
    case 10:
      // The leanest markup the office writes: XHTML with a style sheet, no office extensions.
      return SaveFilter{"XHTML Writer File", "Minimum Tag HTML"};
    case 11:
      return SaveFilter{"MS Word 2003 XML", "Word 2003 XML Document"};
    case 12:
    case 16:
      return SaveFilter{"MS Word 2007 XML", "Word Document"};
    case 13:
      return SaveFilter{"MS Word 2007 XML VBA", "Word Document Macro Enabled"};
    case 14:
      return SaveFilter{"MS Word 2007 XML Template", "Word Template"};
    case 15:
      return SaveFilter{"", "Word Macro Enabled Template"};
    case 17:
      return SaveFilter{"writer_pdf_Export", "PDF"};
    case 18:
      return SaveFilter{"", "XPS Document"};
    case 19:
      return SaveFilter{"", "Word Flat XML Document"};
    case 20:
      return SaveFilter{"", "Word Flat XML Document Macro Enabled"};
    case 21:
      return SaveFilter{"", "Word Flat XML Template"};
    case 22:
      return SaveFilter{"", "Word Flat XML Template Macro Enabled"};
    default:
      return std::nullopt;
  }
}

int32_t converterCode(const std::string& filterName, const std::set<int32_t>& taken) {
  int32_t offset = static_cast<int32_t>(stableHash(filterName) % kConverterCodeSpan);
  for (int32_t tries = 0; tries < kConverterCodeSpan; ++tries) {
    const int32_t code = kFirstConverterCode + (offset + tries) % kConverterCodeSpan;
    if (!taken.count(code)) {
      return code;
    }
  }
  return -1;
}

std::string textExportOptions(const TextSaveOptions& options) {
  // UTF-8 stands in for the system's 8-bit code page; every character survives, so the
  // substitution switch has nothing to do. Line breaks inside paragraphs are not inserted: the
  // office's text export writes one line per paragraph.
  const char* lineEnd = options.lineEnding == 1 ? "CR" : "CRLF";
  return std::string("UTF8,") + lineEnd + ",,,false";
}

std::vector<std::string> ignoredTextOptions(const TextSaveOptions& options) {
  std::vector<std::string> ignored;
  if (options.insertLineBreaks) {
    ignored.push_back(
        "Warning - InsLineBreaks is not supported: LibreOffice writes each paragraph of a text "
        "output as one line");
  }
  if (options.allowSubstitutions) {
    ignored.push_back(
        "Warning - AllowSubst has no effect: text outputs are written in UTF-8, which holds "
        "every character");
  }
  return ignored;
}

std::string cannotWriteMessage(const std::string& formatName) {
  return "LibreOffice cannot write the output format " + formatName;
}

}  // namespace kelvara::word::lo
