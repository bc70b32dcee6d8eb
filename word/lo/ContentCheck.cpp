#include "word/lo/ContentCheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <set>
#include <vector>

namespace kelvara::word::lo {
namespace {

// Control characters that ordinary text files carry: tab, line feed, vertical tab, form feed,
// carriage return, and the SUB padding that old DOS and CP/M editors leave at the end.
bool isTextControl(unsigned char c) {
  return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A;
}

bool hasUtf16Bom(const std::string& head) {
  return head.size() >= 2 && ((static_cast<unsigned char>(head[0]) == 0xFF &&
                               static_cast<unsigned char>(head[1]) == 0xFE) ||
                              (static_cast<unsigned char>(head[0]) == 0xFE &&
                               static_cast<unsigned char>(head[1]) == 0xFF));
}

// A character code that is no blank or control character.
bool isVisibleCode(long code) {
  return code > 0x20 && code != 0x7F && code != 0xA0;
}

}  // namespace

bool isValidUtf8(const std::string& text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= n) {
      return true;  // a sequence cut by the end of the sample is not the file's fault
    }
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char cc = static_cast<unsigned char>(text[i + k]);
      if ((cc & 0xC0) != 0x80) {
        return false;
      }
      cp = (cp << 6) | (cc & 0x3F);
    }
    const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

ContentKind classifyContent(const std::string& head) {
  ContentKind kind;
  kind.utf16 = hasUtf16Bom(head);
  size_t nul = 0;
  size_t controls = 0;
  for (unsigned char c : head) {
    if (c == 0) {
      ++nul;
    } else if (c < 0x20 && !isTextControl(c)) {
      ++controls;
    }
  }
  if (kind.utf16) {
    return kind;  // NUL bytes are part of UTF-16 text
  }
  // Word-processor text (WordStar and the like) carries a few print-control characters; data
  // files have NUL bytes, or control characters in more than one byte of ten.
  kind.binary = nul > 0 || controls * 10 > head.size();
  kind.plainText = !kind.binary && controls == 0 && isValidUtf8(head);
  return kind;
}

std::optional<std::string> refusePlainTextLoad(const std::string& head) {
  // Any bytes load as text; only what reads as text is taken for it. Plain text behind a word
  // processor's extension is common in DOS and CP/M archives and converts as the text it is.
  if (classifyContent(head).binary) {
    return "File format not recognised (binary data)";
  }
  return std::nullopt;
}

bool rtfHasBodyText(const std::string& rtf) {
  // Destinations whose text is not body text; "{\\*" groups are skipped as well. The list and
  // paragraph-numbering texts repeat numbers that the reader makes from the list definitions.
  static const std::set<std::string> kSkipped = {"fonttbl",
                                                 "colortbl",
                                                 "stylesheet",
                                                 "info",
                                                 "pict",
                                                 "object",
                                                 "header",
                                                 "headerl",
                                                 "headerr",
                                                 "headerf",
                                                 "footer",
                                                 "footerl",
                                                 "footerr",
                                                 "footerf",
                                                 "footnote",
                                                 "listtable",
                                                 "listoverridetable",
                                                 "rsidtbl",
                                                 "generator",
                                                 "xmlnstbl",
                                                 "themedata",
                                                 "colorschememapping",
                                                 "datastore",
                                                 "latentstyles",
                                                 "fldinst",
                                                 "shp",
                                                 "shpinst",
                                                 "sp",
                                                 "pgdsctbl",
                                                 "revtbl",
                                                 "filetbl",
                                                 "nonshppict",
                                                 "userprops",
                                                 "docvar",
                                                 "template",
                                                 "xe",
                                                 "tc",
                                                 "txe",
                                                 "bkmkstart",
                                                 "bkmkend",
                                                 "listtext",
                                                 "pntext",
                                                 "pntxta",
                                                 "pntxtb",
                                                 "falt",
                                                 "leveltext",
                                                 "levelnumbers",
                                                 "listname"};
  // Control words that stand for a visible character.
  static const std::set<std::string> kCharacters = {"bullet", "emdash",    "endash",   "lquote",
                                                    "rquote", "ldblquote", "rdblquote"};
  const size_t n = rtf.size();
  // Readers start at the first group and stop where it closes: bytes around it (a byte-order
  // mark, CP/M padding, junk after the end) are no part of the document.
  size_t i = rtf.find('{');
  if (i == std::string::npos) {
    return false;
  }
  std::vector<bool> skipping;  // one entry per open group
  while (i < n) {
    const char c = rtf[i];
    if (c == '{') {
      const bool starred = i + 2 < n && rtf[i + 1] == '\\' && rtf[i + 2] == '*';
      skipping.push_back((!skipping.empty() && skipping.back()) || starred);
      ++i;
    } else if (c == '}') {
      skipping.pop_back();
      if (skipping.empty()) {
        return false;
      }
      ++i;
    } else if (c == '\\') {
      ++i;
      if (i >= n) {
        break;
      }
      if (!std::isalpha(static_cast<unsigned char>(rtf[i]))) {
        // A control symbol: \' introduces a character in hex, \- is an optional hyphen, \~ a
        // non-breaking space, a line end a paragraph end; the others (\\, \{, \}, \_ ...)
        // are characters a reader sees.
        const char symbol = rtf[i];
        if (symbol == '\'') {
          const std::string hex = rtf.substr(i + 1, 2);
          const bool valid = hex.size() == 2 && std::isxdigit(static_cast<unsigned char>(hex[0])) &&
                             std::isxdigit(static_cast<unsigned char>(hex[1]));
          if (!skipping.back() && valid && isVisibleCode(std::stol(hex, nullptr, 16))) {
            return true;
          }
          i += 3;
          continue;
        }
        if (!skipping.back() && symbol != '*' && symbol != '-' && symbol != '~' && symbol != '\r' &&
            symbol != '\n') {
          return true;
        }
        ++i;
        continue;
      }
      std::string word;
      while (i < n && std::isalpha(static_cast<unsigned char>(rtf[i]))) {
        word += rtf[i++];
      }
      std::string number;
      if (i < n && (rtf[i] == '-' || std::isdigit(static_cast<unsigned char>(rtf[i])))) {
        number += rtf[i++];
        while (i < n && std::isdigit(static_cast<unsigned char>(rtf[i]))) {
          number += rtf[i++];
        }
      }
      if (i < n && rtf[i] == ' ') {
        ++i;
      }
      if (word == "bin" && !number.empty() && number[0] != '-') {
        i += static_cast<size_t>(std::stoul(number.substr(0, 9)));
      } else if (word == "u" && !skipping.back()) {
        // The value is a signed 16-bit number; characters above U+7FFF come out negative.
        if (number.empty() || number[0] == '-' || isVisibleCode(std::stol(number.substr(0, 9)))) {
          return true;
        }
        if (i < n && rtf[i] != '\\' && rtf[i] != '{' && rtf[i] != '}') {
          ++i;  // the stand-in for readers without Unicode
        }
      } else if (kCharacters.count(word) && !skipping.back()) {
        return true;
      } else if (kSkipped.count(word)) {
        skipping.back() = true;
      }
    } else {
      // Line ends, blanks and other control bytes are no text of the document.
      if (!skipping.back() && static_cast<unsigned char>(c) > 0x20) {
        return true;
      }
      ++i;
    }
  }
  return false;
}

bool abiwordHasBody(const std::string& awml) {
  return awml.find("<section") != std::string::npos;
}

std::optional<std::string> readFileHead(const std::string& path, size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string head(maxBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(maxBytes));
  if (in.bad()) {
    return std::nullopt;
  }
  head.resize(static_cast<size_t>(in.gcount()));
  return head;
}

std::string textImportOptions(const std::string& head) {
  std::string charset;
  if (hasUtf16Bom(head)) {
    charset = "UNICODE";  // the byte order comes from the mark
  } else if (isValidUtf8(head)) {
    charset = "UTF8";
  } else {
    charset = looksLikeDosCodePage(head) ? "IBM_437" : "MS_1252";
  }
  return charset + "," + lineEndOf(head);
}

bool looksLikeDosCodePage(const std::string& head) {
  // Code page 437 keeps accented letters in 0x80-0x9A and line drawing in 0xB0-0xDF; code page
  // 1252 keeps its small accented letters in 0xE0-0xFF and punctuation in 0x80-0x9F, some of
  // which is undefined or rare there. Bytes both read well in (quotes and dashes of one, letters
  // of the other) are letters when they sit inside a word, except the Windows apostrophe.
  auto isLetter = [](unsigned char c) { return std::isalpha(c) != 0 || c >= 0x80; };
  size_t dos = 0;
  size_t windows = 0;
  for (size_t i = 0; i < head.size(); ++i) {
    const auto c = static_cast<unsigned char>(head[i]);
    if (c < 0x80) {
      continue;
    }
    const bool shared = c == 0x84 || c == 0x85 || (c >= 0x91 && c <= 0x97);
    if (c == 0xE1) {
      continue;  // sharp s in the one, a with acute in the other
    }
    if (c == 0x92 || c >= 0xE0) {
      ++windows;
    } else if (shared) {
      const bool inWord = i > 0 && i + 1 < head.size() &&
                          isLetter(static_cast<unsigned char>(head[i - 1])) &&
                          isLetter(static_cast<unsigned char>(head[i + 1]));
      ++(inWord ? dos : windows);
    } else if (c <= 0x9F || (c >= 0xB0 && c <= 0xDF)) {
      ++dos;
    }
  }
  return dos > windows;
}

std::string lineEndOf(const std::string& head) {
  // NUL bytes are passed over, so that UTF-16 text is judged by its characters.
  for (size_t i = 0; i < head.size(); ++i) {
    if (head[i] == '\n') {
      return "LF";
    }
    if (head[i] == '\r') {
      size_t next = i + 1;
      while (next < head.size() && head[next] == '\0') {
        ++next;
      }
      return next < head.size() && head[next] == '\n' ? "CRLF" : "CR";
    }
  }
  return "CRLF";  // a single line: the ending does not matter
}

}  // namespace kelvara::word::lo
