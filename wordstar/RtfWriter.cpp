#include "wordstar/RtfWriter.h"

#include <cstdint>

namespace kelvara::wordstar {
namespace {

// Letter paper with one-inch margins leaves 6.5 inches: 65 characters of a ten-pitch font,
// the line WordStar wraps at by default.
constexpr const char* kPage =
    "\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt1440\\margb1440";
constexpr int kCharacterWidth = 144;  // twips: a tenth of an inch
constexpr const char* kParagraph = "\\pard\\plain\\f0\\fs24 ";

void appendCharacter(std::string& out, char32_t ch) {
  switch (ch) {
    case U'\\':
      out += "\\\\";
      return;
    case U'{':
      out += "\\{";
      return;
    case U'}':
      out += "\\}";
      return;
    case U'\t':
      out += "\\tab ";
      return;
    case U'\u00A0':
      out += "\\~";
      return;
    case kPageNumber:
      out += "{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}";
      return;
    default:
      break;
  }
  if (ch >= 0x20 && ch < 0x7F) {
    out += static_cast<char>(ch);
    return;
  }
  if (ch < 0x20 || ch > 0xFFFF) {
    return;  // no control character or character beyond the BMP reaches the model
  }
  // \uN takes a signed 16-bit number; one "?" follows for readers without Unicode (\uc1).
  out += "\\u" + std::to_string(static_cast<int16_t>(static_cast<uint16_t>(ch))) + "?";
}

std::string runStart(uint16_t attrs) {
  std::string codes;
  if (attrs & attr::kBold) {
    codes += "\\b";
  }
  if (attrs & attr::kItalic) {
    codes += "\\i";
  }
  if (attrs & attr::kUnderline) {
    codes += "\\ul";
  }
  if (attrs & attr::kStrikeOut) {
    codes += "\\strike";
  }
  if (attrs & attr::kSuperscript) {
    codes += "\\super";
  } else if (attrs & attr::kSubscript) {
    codes += "\\sub";
  }
  return codes;
}

void appendCells(std::string& out, const std::vector<Cell>& cells) {
  size_t i = 0;
  while (i < cells.size()) {
    const uint16_t attrs = cells[i].attrs;
    const std::string codes = runStart(attrs);
    if (!codes.empty()) {
      out += "{" + codes + " ";
    }
    for (; i < cells.size() && cells[i].attrs == attrs; ++i) {
      appendCharacter(out, cells[i].ch);
    }
    if (!codes.empty()) {
      out += "}";
    }
  }
}

void appendParagraph(std::string& out, const Paragraph& paragraph, bool pageBreak) {
  out += kParagraph;
  if (pageBreak) {
    out += "\\pagebb ";
  }
  if (paragraph.centred) {
    out += "\\qc ";
  }
  if (paragraph.indent != 0) {
    out += "\\li" + std::to_string(paragraph.indent * kCharacterWidth) + " ";
  }
  if (paragraph.firstLineOffset != 0) {
    out += "\\fi" + std::to_string(paragraph.firstLineOffset * kCharacterWidth) + " ";
  }
  appendCells(out, paragraph.cells);
  out += "\\par\n";
}

void appendHeading(std::string& out, const char* destination, const std::vector<Paragraph>& lines) {
  if (lines.empty()) {
    return;
  }
  out += std::string("{\\") + destination + "\n";
  for (const Paragraph& line : lines) {
    appendParagraph(out, line, false);
  }
  out += "}\n";
}

}  // namespace

std::string toRtf(const Document& document) {
  std::string out =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
      "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\n";
  out += kPage;
  out += "\n";
  bool first = true;
  for (const Section& section : document.sections) {
    if (!first && section.body.empty()) {
      continue;  // headers set after the last text head no page
    }
    // A page break before the very first paragraph would only leave an empty page.
    bool breakTaken = first;
    if (!first) {
      // A section whose first paragraph starts a page takes that break as its own start.
      const bool newPage = !section.body.empty() && section.body.front().pageBreakBefore;
      out += newPage ? "\\sect\\sectd\\sbkpage\n" : "\\sect\\sectd\\sbknone\n";
      breakTaken = newPage;
    } else {
      out += "\\sectd\n";
    }
    appendHeading(out, "header", section.header);
    appendHeading(out, "footer", section.footer);
    for (size_t i = 0; i < section.body.size(); ++i) {
      const Paragraph& paragraph = section.body[i];
      appendParagraph(out, paragraph, paragraph.pageBreakBefore && !(i == 0 && breakTaken));
    }
    first = false;
  }
  out += "}\n";
  return out;
}

}  // namespace kelvara::wordstar
