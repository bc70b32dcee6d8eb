#pragma once

#include <optional>
#include <string>

namespace kelvara::word::lo {

// What the first bytes of a file say about it. Type detection takes any bytes for plain text,
// so a file the office read as text is checked here before it counts as a document.
struct ContentKind {
  bool binary = false;     // NUL bytes (outside UTF-16 text) or many control characters
  bool plainText = false;  // valid UTF-8 without control characters beyond white space
  bool utf16 = false;      // starts with a UTF-16 byte-order mark
};

ContentKind classifyContent(const std::string& head);

// True when the extension (without the dot, any case) names a word-processing format whose
// files are never plain text.
bool isWordProcessingExtension(const std::string& extension);

// The reason a file that the office loaded as plain text must be refused, or nullopt when the
// text is acceptable.
std::optional<std::string> refusePlainTextLoad(const std::string& head,
                                               const std::string& extension);

bool isValidUtf8(const std::string& text);

// True when RTF source holds text of the document body: characters outside control words and
// outside destinations that never reach the body (font and style tables, document info,
// pictures, fields' instructions, headers, footers, notes).
bool rtfHasBodyText(const std::string& rtf);

// True when AbiWord markup has a section, the element every document body consists of.
bool abiwordHasBody(const std::string& awml);

// Up to maxBytes from the start of the file; nullopt when it cannot be read.
std::optional<std::string> readFileHead(const std::string& path, size_t maxBytes);

// FilterOptions of the encoded-text import for a file that starts with these bytes.
std::string textImportOptions(const std::string& head);

}  // namespace kelvara::word::lo
