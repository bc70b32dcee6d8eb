#pragma once

#include <cctype>
#include <set>
#include <string>

namespace kelvara::testing {

// Facts of a PDF as the office writes it (object dictionaries uncompressed; no object streams).

// Page objects: "/Type /Page", never "/Type /Pages".
inline int PdfPageCount(const std::string& pdf) {
  int pages = 0;
  for (size_t at = pdf.find("/Type"); at != std::string::npos; at = pdf.find("/Type", at + 1)) {
    size_t p = at + 5;
    while (p < pdf.size() && std::isspace(static_cast<unsigned char>(pdf[p]))) {
      ++p;
    }
    if (pdf.compare(p, 5, "/Page") == 0 &&
        (p + 5 == pdf.size() || !std::isalnum(static_cast<unsigned char>(pdf[p + 5])))) {
      ++pages;
    }
  }
  return pages;
}

// Names of the embedded fonts without their subset tags: "/BaseFont/BAAAAA+Carlito" is "Carlito".
inline std::set<std::string> PdfFontNames(const std::string& pdf) {
  std::set<std::string> names;
  const std::string key = "/BaseFont/";
  for (size_t at = pdf.find(key); at != std::string::npos; at = pdf.find(key, at + 1)) {
    size_t end = at + key.size();
    while (end < pdf.size() && pdf[end] != '/' && pdf[end] != '>' &&
           !std::isspace(static_cast<unsigned char>(pdf[end]))) {
      ++end;
    }
    std::string name = pdf.substr(at + key.size(), end - at - key.size());
    const auto plus = name.find('+');
    names.insert(plus == 6 ? name.substr(plus + 1) : name);
  }
  return names;
}

}  // namespace kelvara::testing
