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

bool isWordProcessingExtension(const std::string& extension) {
  static const std::array<const char*, 26> kExtensions = {
      "doc",  "docx", "docm", "dot", "dotx", "dotm",  "rtf", "odt", "ott",
      "fodt", "sxw",  "stw",  "sdw", "vor",  "wpd",   "wpt", "wps", "wri",
      "abw",  "awt",  "zabw", "lwp", "hwp",  "pages", "cwk", "602"};
  std::string lower = extension;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::find_if(kExtensions.begin(), kExtensions.end(),
                      [&lower](const char* e) { return lower == e; }) != kExtensions.end();
}

std::optional<std::string> refusePlainTextLoad(const std::string& head,
                                               const std::string& extension) {
  const ContentKind kind = classifyContent(head);
  if (kind.binary) {
    return "File format not recognised (binary data)";
  }
  if (kind.plainText && isWordProcessingExtension(extension)) {
    return "File format not recognised (plain text in a ." + extension + " file)";
  }
  return std::nullopt;
}

bool rtfHasBodyText(const std::string& rtf) {
  // Destinations whose text is not body text; "{\\*" groups are skipped as well.
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
                                                 "bkmkend"};
  std::vector<bool> skipping{false};
  size_t i = 0;
  const size_t n = rtf.size();
  while (i < n) {
    const char c = rtf[i];
    if (c == '{') {
      const bool starred = i + 2 < n && rtf[i + 1] == '\\' && rtf[i + 2] == '*';
      skipping.push_back(skipping.back() || starred);
      ++i;
    } else if (c == '}') {
      if (skipping.size() > 1) {
        skipping.pop_back();
      }
      ++i;
    } else if (c == '\\') {
      ++i;
      if (i >= n) {
        break;
      }
      if (!std::isalpha(static_cast<unsigned char>(rtf[i]))) {
        // A control symbol; \' introduces a character in hex.
        if (rtf[i] == '\'' && !skipping.back()) {
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
        return true;
      } else if (kSkipped.count(word)) {
        skipping.back() = true;
      }
    } else {
      if (!skipping.back() && !std::isspace(static_cast<unsigned char>(c))) {
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
  if (hasUtf16Bom(head)) {
    return "UNICODE";  // the byte order comes from the mark
  }
  // Without a mark: UTF-8 when the bytes are valid UTF-8, else the Windows code page that such
  // files usually come from.
  return isValidUtf8(head) ? "UTF8" : "MS_1252";
}

}  // namespace kelvara::word::lo
