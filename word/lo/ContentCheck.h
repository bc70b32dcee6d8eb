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

// The reason a file that the office loaded as plain text must be refused (it holds binary data,
// which any bytes are taken for when nothing else fits), or nullopt when it is text.
std::optional<std::string> refusePlainTextLoad(const std::string& head);

bool isValidUtf8(const std::string& text);

// True when RTF source holds text of the document body that a reader shows: characters outside
// control words and outside destinations that never reach the body (font, style and list
// tables, document info, pictures, fields' instructions, headers, footers, notes, list
// numbers), within the document's group only. Groups left open skip to the end, as they do in
// readers.
bool rtfHasBodyText(const std::string& rtf);

// True when AbiWord markup has a section, the element every document body consists of.
bool abiwordHasBody(const std::string& awml);

// Up to maxBytes from the start of the file; nullopt when it cannot be read.
std::optional<std::string> readFileHead(const std::string& path, size_t maxBytes);

// FilterOptions of the encoded-text import for a file that starts with these bytes: its
// character set and its line ending ("MS_1252,CRLF"). The office's text import otherwise takes
// line feeds alone for line ends and keeps the carriage return of DOS and Windows lines as a
// character.
std::string textImportOptions(const std::string& head);

// True when text that is not UTF-8 reads better in the DOS code page 437 than in the Windows
// code page 1252.
bool looksLikeDosCodePage(const std::string& head);

// "CRLF", "CR" or "LF": how the first line of the text ends.
std::string lineEndOf(const std::string& head);

}  // namespace kelvara::word::lo
