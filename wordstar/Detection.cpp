#include "wordstar/Detection.h"

#include <cctype>
#include <cstddef>

namespace kelvara::wordstar {
namespace {

constexpr unsigned char kEndOfFile = 0x1A;
constexpr unsigned char kSoftReturn = 0x8D;
constexpr unsigned char kSoftSpace = 0xA0;
constexpr size_t kHeaderSize = 128;
// CP/M files end on a 128-byte record: after the end-of-file mark, the rest of the last record
// may hold anything. More than that means the mark was no end of file.
constexpr size_t kRecordSize = 128;

unsigned char at(std::string_view bytes, size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

bool startsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

bool isAsciiLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The formats someone may mistake for WordStar, by their first bytes.
std::optional<std::string> knownOtherFormat(std::string_view bytes) {
  using namespace std::string_view_literals;
  if (startsWith(bytes, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"sv)) {
    return "a compound (OLE) file, such as a Word 97-2003 document";
  }
  if (startsWith(bytes, "PK\x03\x04"sv)) {
    return "a ZIP package, such as a Word 2007 or OpenDocument file";
  }
  if (startsWith(bytes, "{\\rtf")) {
    return "an RTF document";
  }
  if (startsWith(bytes, "%PDF")) {
    return "a PDF document";
  }
  if (startsWith(bytes, "\xFFWPC"sv)) {
    return "a WordPerfect document";
  }
  if ((startsWith(bytes, "\x31\xBE\x00\x00"sv) || startsWith(bytes, "\x32\xBE\x00\x00"sv)) &&
      bytes.size() >= kHeaderSize) {
    return "a Windows Write or Word for DOS document";
  }
  if (startsWith(bytes, "\xDB\xA5"sv) && bytes.size() >= kHeaderSize) {
    return "a Word for Windows 2 document";
  }
  if (startsWith(bytes, "\xFF\xFE"sv) || startsWith(bytes, "\xFE\xFF"sv)) {
    return "UTF-16 text";
  }
  return std::nullopt;
}

// Strict UTF-8 with at least one character beyond ASCII.
bool isUtf8BeyondAscii(std::string_view bytes) {
  bool beyond = false;
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char c = at(bytes, i);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t extra = 0;
    char32_t min = 0;
    char32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, min = 0x80, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, min = 0x800, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, min = 0x10000, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= bytes.size()) {
      return false;
    }
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char n = at(bytes, i + k);
      if ((n & 0xC0) != 0x80) {
        return false;
      }
      cp = (cp << 6) | (n & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    beyond = true;
    i += extra + 1;
  }
  return beyond;
}

// The text part of a 3.x/4.x file: everything before the end-of-file mark.
std::string_view classicText(std::string_view bytes) {
  const size_t end = bytes.find(static_cast<char>(kEndOfFile));
  return end == std::string_view::npos ? bytes : bytes.substr(0, end);
}

struct ClassicMarks {
  size_t words = 0;
  size_t printControls = 0;  // bold, underline, italic and the like, as WordStar writes them
  size_t wordEnds = 0;       // printable characters with the high bit, followed by a word break
  size_t insideWords = 0;    // high-bit bytes followed by a letter, as code-page text has them
  size_t softReturns = 0;
};

ClassicMarks classicMarks(std::string_view text) {
  ClassicMarks marks;
  bool inWord = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = at(text, i);
    const unsigned char low = c & 0x7F;
    const bool blank = low <= 0x20;
    if (!blank && !inWord) {
      ++marks.words;
    }
    inWord = !blank;
    if (low == 0x02 || low == 0x04 || low == 0x13 || low == 0x14 || low == 0x16 || low == 0x18 ||
        low == 0x19) {
      ++marks.printControls;
    }
    if (c < 0x80) {
      continue;
    }
    const bool last = i + 1 == text.size();
    const unsigned char next = last ? 0 : at(text, i + 1);
    if (c == kSoftReturn) {
      if (!last && (next & 0x7F) == '\n') {
        ++marks.softReturns;
      }
      continue;
    }
    if (c == kSoftSpace) {
      continue;
    }
    if (!last && isAsciiLetter(next)) {
      ++marks.insideWords;
    } else if (low > 0x20 && low < 0x7F &&
               (last || next == ' ' || next == kSoftSpace || next == kSoftReturn || next < 0x20 ||
                (next >= 0x80 && next < 0xA0) || std::ispunct(next))) {
      ++marks.wordEnds;
    }
  }
  return marks;
}

}  // namespace

bool startsWithExtendedHeader(std::string_view bytes) {
  using namespace std::string_view_literals;
  return startsWith(bytes, "\x1D\x7D\x00"sv);
}

Detection detectWordStar(std::string_view bytes) {
  if (startsWithExtendedHeader(bytes)) {
    return {bytes.size() >= kHeaderSize && at(bytes, kHeaderSize - 1) == 0x1D,
            Generation::Extended};
  }
  if (notWordStarReason(bytes) || isUtf8BeyondAscii(bytes)) {
    return {};
  }
  const ClassicMarks marks = classicMarks(classicText(bytes));
  // Letters with the high bit inside words are code-page text; WordStar puts it on the last
  // character of a word (and on a few others). Soft returns are WordStar's own; without them,
  // a good share of the words must end in a marked character, print controls adding weight.
  if (marks.wordEnds == 0 || marks.insideWords * 3 > marks.wordEnds) {
    return {};
  }
  const bool pattern = marks.softReturns > 0 || (marks.wordEnds + marks.printControls >= 3 &&
                                                 marks.wordEnds * 4 >= marks.words);
  return {pattern, Generation::Classic};
}

std::optional<std::string> notWordStarReason(std::string_view bytes) {
  if (bytes.empty()) {
    return "the file is empty";
  }
  if (startsWithExtendedHeader(bytes)) {
    return std::nullopt;
  }
  if (auto other = knownOtherFormat(bytes)) {
    return "it is " + *other;
  }
  const std::string_view text = classicText(bytes);
  if (text.find('\0') != std::string_view::npos) {
    return "it holds binary data (NUL bytes)";
  }
  size_t afterEnd = 0;
  for (size_t i = text.size(); i < bytes.size(); ++i) {
    if (at(bytes, i) != kEndOfFile) {
      ++afterEnd;
    }
  }
  if (afterEnd >= kRecordSize) {
    return "it holds binary data (more data follows the end-of-file mark)";
  }
  return std::nullopt;
}

}  // namespace kelvara::wordstar
