#pragma once

#include <optional>
#include <string>

#include "TestOffice.h"

namespace kelvara::word::testing {

// What a file's own bytes say about its text, found without the import filters that the
// engine converts with: the markup of a package's parts, the streams and counts of a compound
// file, the bytes themselves read as 8-bit and as UTF-16 text.
struct SourceText {
  std::string searchable;  // where the words of a faithful conversion can be found
  // Whether the document's body evidently holds text; nullopt when the bytes do not tell.
  std::optional<bool> hasBodyText;
};

SourceText sourceTextOf(TestOffice& office, const std::string& path);

// Why the text a conversion produced is not the file's real content: words the file does not
// hold (garbage), or no text at all from a file whose body has text. Empty when it is.
std::string contentProblem(const SourceText& source, const std::string& convertedText);

}  // namespace kelvara::word::testing
