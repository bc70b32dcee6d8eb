#include "wordstar/RtfWriter.h"

#include <gtest/gtest.h>

namespace kelvara::wordstar {
namespace {

Paragraph paragraph(const std::u32string& text, uint16_t attrs = 0) {
  Paragraph p;
  for (char32_t c : text) {
    p.cells.push_back(Cell{c, attrs});
  }
  return p;
}

Paragraph concat(const Paragraph& a, const Paragraph& b) {
  Paragraph p = a;
  p.cells.insert(p.cells.end(), b.cells.begin(), b.cells.end());
  return p;
}

Document oneSection(std::vector<Paragraph> body) {
  Document d;
  d.sections.push_back(Section{{}, {}, std::move(body)});
  return d;
}

// The RTF of the body only: from the section's start to the closing brace.
std::string body(const Document& d) {
  const std::string rtf = toRtf(d);
  const size_t start = rtf.find("\\sectd\n") + 7;
  return rtf.substr(start, rtf.size() - start - 2);
}

TEST(WordStarRtfWriter, WritesAFixedPitchPageOfSixtyFiveCharacters) {
  const std::string rtf = toRtf(oneSection({paragraph(U"x")}));
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n", 0), 0u);
  EXPECT_NE(rtf.find("{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}"), std::string::npos);
  // 12240 twips of paper less two inches: 9360 twips, 65 characters of 144.
  EXPECT_NE(rtf.find("\\paperw12240\\paperh15840\\margl1440\\margr1440"), std::string::npos);
  EXPECT_EQ(rtf.substr(rtf.size() - 2), "}\n");
}

TEST(WordStarRtfWriter, EscapesSpecialCharactersAndWritesUnicodeAsSigned16Bit) {
  EXPECT_EQ(body(oneSection({paragraph(U"a\\b{c}d\te\u00A0f")})),
            "\\pard\\plain\\f0\\fs24 a\\\\b\\{c\\}d\\tab e\\~f\\par\n");
  EXPECT_EQ(body(oneSection({paragraph(U"\u00E9\u263A\uFFFD")})),
            "\\pard\\plain\\f0\\fs24 \\u233?\\u9786?\\u-3?\\par\n");
}

TEST(WordStarRtfWriter, WritesEachRunOfFormattingAsAGroup) {
  Paragraph p = concat(paragraph(U"ab", attr::kBold), paragraph(U"c"));
  p = concat(p, paragraph(U"d", attr::kBold | attr::kItalic | attr::kUnderline));
  p = concat(p, paragraph(U"e", attr::kStrikeOut | attr::kSubscript));
  // Superscript and subscript at once cannot be shown: superscript wins.
  p = concat(p, paragraph(U"f", attr::kSuperscript | attr::kSubscript));
  EXPECT_EQ(body(oneSection({p})),
            "\\pard\\plain\\f0\\fs24 {\\b ab}c{\\b\\i\\ul d}{\\strike\\sub e}{\\super f}\\par\n");
}

TEST(WordStarRtfWriter, WritesPageBreaksCentringAndIndentsInCharacters) {
  Paragraph first = paragraph(U"first");
  first.pageBreakBefore = true;  // nothing before it: no empty page
  Paragraph second = paragraph(U"second");
  second.pageBreakBefore = true;
  second.centred = true;
  second.indent = 5;
  second.firstLineOffset = -1;
  EXPECT_EQ(body(oneSection({first, second})),
            "\\pard\\plain\\f0\\fs24 first\\par\n"
            "\\pard\\plain\\f0\\fs24 \\pagebb \\qc \\li720 \\fi-144 second\\par\n");
}

TEST(WordStarRtfWriter, GivesEachSectionItsHeaderAndFooter) {
  Document d;
  Section one;
  one.header.push_back(concat(paragraph(U"Page "), paragraph(std::u32string(1, kPageNumber))));
  one.body.push_back(paragraph(U"one"));
  Section two;
  two.footer.push_back(paragraph(U"foot"));
  two.body.push_back(paragraph(U"two"));
  two.body.front().pageBreakBefore = true;
  Section three;
  three.body.push_back(paragraph(U"three"));
  Section empty;  // headers set after the last text
  empty.header.push_back(paragraph(U"unused"));
  d.sections = {one, two, three, empty};
  EXPECT_EQ(body(d),
            "{\\header\n"
            "\\pard\\plain\\f0\\fs24 Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par\n"
            "}\n"
            "\\pard\\plain\\f0\\fs24 one\\par\n"
            // A page break before a section's first paragraph starts the section on a new page.
            "\\sect\\sectd\\sbkpage\n"
            "{\\footer\n"
            "\\pard\\plain\\f0\\fs24 foot\\par\n"
            "}\n"
            "\\pard\\plain\\f0\\fs24 two\\par\n"
            "\\sect\\sectd\\sbknone\n"
            "\\pard\\plain\\f0\\fs24 three\\par\n");
}

}  // namespace
}  // namespace kelvara::wordstar
