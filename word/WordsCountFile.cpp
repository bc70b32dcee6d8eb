#include "word/WordsCountFile.h"

#include <cstdio>

#include "word/RtfText.h"
#include "wordstar/Decoder.h"
#include "wordstar/Detection.h"
#include "wordstar/WordStarReader.h"

namespace kelvara::word {
namespace {

// The office's text import lays text out in a fixed-pitch font of ten points on its default
// page: about 80 characters to a line. The WordStar reader's pages hold 65.
constexpr int kTextLineWidth = 80;
constexpr int kWordStarLineWidth = 65;

bool hasBom(std::string_view bytes, std::string_view bom) {
  return bytes.substr(0, bom.size()) == bom;
}

// Strict UTF-8 decoding; nullopt at the first malformed sequence.
std::optional<std::u32string> decodeUtf8(std::string_view bytes) {
  std::u32string out;
  for (size_t i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    size_t extra = 0;
    char32_t cp = c;
    char32_t min = 0;
    if (c < 0x80) {
      out.push_back(c);
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, cp = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, cp = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, cp = c & 0x07, min = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + extra >= bytes.size()) {
      return std::nullopt;
    }
    for (size_t k = 1; k <= extra; ++k) {
      const auto n = static_cast<unsigned char>(bytes[i + k]);
      if ((n & 0xC0) != 0x80) {
        return std::nullopt;
      }
      cp = (cp << 6) | (n & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      return std::nullopt;
    }
    out.push_back(cp);
    i += extra + 1;
  }
  return out;
}

std::u32string decodeUtf16(std::string_view bytes, bool littleEndian) {
  std::u32string out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    char32_t unit = littleEndian ? (a | (b << 8)) : ((a << 8) | b);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      const auto c = static_cast<unsigned char>(bytes[i + 2]);
      const auto d = static_cast<unsigned char>(bytes[i + 3]);
      const char32_t low = littleEndian ? (c | (d << 8)) : ((c << 8) | d);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    out.push_back(unit);
  }
  return out;
}

// 8-bit text: which code page hardly matters for counting, except that 0xA0 is a no-break
// space in the Windows one.
std::u32string decodeEightBit(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    out.push_back(static_cast<unsigned char>(c));
  }
  return out;
}

// Binary data, which the engine does not take for text: NUL bytes, or more than one byte in
// ten a control character other than white space and the DOS end-of-file mark.
bool looksBinary(std::string_view bytes) {
  size_t controls = 0;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0) {
      return true;
    }
    if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != '\v' && b != 0x1A &&
        b != 0x1B) {
      ++controls;
    }
  }
  return controls * 10 > bytes.size();
}

std::vector<CountedParagraph> textParagraphs(const std::u32string& text) {
  std::vector<CountedParagraph> paragraphs;
  std::u32string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t ch = text[i];
    if (ch == U'\r' || ch == U'\n') {
      if (ch == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
        ++i;
      }
      paragraphs.push_back({std::move(line), kTextLineWidth, kTextLineWidth, true});
      line.clear();
      continue;
    }
    line.push_back(ch);
  }
  while (!line.empty() && line.back() == 0x1A) {
    line.pop_back();
  }
  if (!line.empty()) {
    paragraphs.push_back({std::move(line), kTextLineWidth, kTextLineWidth, true});
  }
  return paragraphs;
}

std::u32string wordStarText(const wordstar::Paragraph& paragraph) {
  std::u32string text;
  for (const wordstar::Cell& c : paragraph.cells) {
    // The page-number field shows the number of the page: one digit on the first pages.
    text.push_back(c.ch == wordstar::kPageNumber ? U'1' : c.ch);
  }
  return text;
}

FileCount countWordStar(std::string_view bytes) {
  const wordstar::DecodeResult decoded = wordstar::decodeWordStar(bytes);
  if (!decoded.document) {
    return {std::nullopt, "WordStar", decoded.error};
  }
  const wordstar::Document& document = *decoded.document;
  std::vector<CountedParagraph> paragraphs;
  for (const wordstar::Section& section : document.sections) {
    if (section.body.empty() && &section != &document.sections.front()) {
      continue;  // headers set after the last text head no page, and the RTF has no such section
    }
    for (const auto* lines : {&section.header, &section.footer}) {
      for (const wordstar::Paragraph& line : *lines) {
        paragraphs.push_back({wordStarText(line), kWordStarLineWidth, kWordStarLineWidth, false});
      }
    }
    for (const wordstar::Paragraph& p : section.body) {
      const int width = kWordStarLineWidth - p.indent;
      paragraphs.push_back({wordStarText(p), width - p.firstLineOffset, width, true});
    }
  }
  const char* name =
      document.generation == wordstar::Generation::Extended ? "WordStar 5-7" : "WordStar 3.x/4.x";
  return {countParagraphs(paragraphs), name, {}};
}

FileCount countRtf(std::string_view bytes) {
  const auto text = rtfText(bytes);
  std::vector<CountedParagraph> paragraphs;
  for (const auto& p : text->body) {
    paragraphs.push_back({p.text, text->firstLineWidth(p), text->lineWidth(p), true});
  }
  for (const auto& h : text->headings) {
    paragraphs.push_back({h, 1, 1, false});
  }
  return {countParagraphs(paragraphs), "RTF", {}};
}

std::string field6(int64_t n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%6lld", static_cast<long long>(n));
  return buf;
}

}  // namespace

FileCount countBytes(std::string_view bytes) {
  using namespace std::string_view_literals;
  if (hasBom(bytes, "\xFF\xFE"sv) || hasBom(bytes, "\xFE\xFF"sv)) {
    return {countParagraphs(textParagraphs(decodeUtf16(bytes.substr(2), bytes[0] == '\xFF'))),
            "Text (UTF-16)",
            {}};
  }
  if (bytes.substr(0, 5) == "{\\rtf") {
    return countRtf(bytes);
  }
  if (wordstar::detectWordStar(bytes).wordStar) {
    return countWordStar(bytes);
  }
  if (const auto other = wordstar::notWordStarReason(bytes); other && !bytes.empty()) {
    if (other->rfind("it is ", 0) == 0) {
      return {std::nullopt, {}, "cannot count the words of " + other->substr(6)};
    }
  }
  if (looksBinary(bytes)) {
    return {std::nullopt, {}, "cannot count the words of binary data"};
  }
  if (auto utf8 = decodeUtf8(hasBom(bytes, "\xEF\xBB\xBF"sv) ? bytes.substr(3) : bytes)) {
    return {countParagraphs(textParagraphs(*utf8)), "Text (UTF-8)", {}};
  }
  return {countParagraphs(textParagraphs(decodeEightBit(bytes))), "Text (8-bit)", {}};
}

FileCount countFile(const std::string& path) {
  std::string error;
  const auto bytes = wordstar::readInputFile(path, &error);
  if (!bytes) {
    return {std::nullopt, {}, error};
  }
  return countBytes(*bytes);
}

CountCommand parseCountArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const auto& a : arguments) {
    line += (line.empty() ? "" : " ") + a;
  }
  CountCommand command;
  const size_t redirect = line.rfind(" > ");
  if (redirect != std::string::npos && redirect + 3 < line.size()) {
    command.outputFile = line.substr(redirect + 3);
    line.resize(redirect);
  }
  command.input = line;
  return command;
}

std::string countLine(const TextCounts& counts, std::vector<std::string>* leftOut) {
  std::string line;
  auto field = [&](const char* label, const char* name, int64_t n) {
    if (n > kMaxCountField) {
      if (leftOut) {
        leftOut->push_back(std::string(name) + " " + std::to_string(n));
      }
      return;
    }
    if (!line.empty()) {
      line += "  ";
    }
    line += std::string(label) + " " + field6(n);
  };
  field("Words:", "words", counts.words);
  field("Lines:", "lines", counts.lines);
  field("Chars:", "characters", counts.characters);
  return line;
}

std::string countReport(const std::string& path, const FileCount& count,
                        std::vector<std::string>* leftOut) {
  std::string report = std::string("kelvara-wc ") + KELVARA_VERSION + "\n";
  report += "File: " + path + "\n";
  report += "Read as: " + count.format + "\n";
  report += countLine(count.counts.value_or(TextCounts{}), leftOut) + "\n";
  return report;
}

}  // namespace kelvara::word
