// The WordStar reader on small files built byte by byte. Hex escapes are closed with a literal
// break ("\x02" "bold") wherever a letter a-f or a digit follows.

#include "wordstar/Decoder.h"

#include <gtest/gtest.h>

#include "WordStarTestText.h"

namespace kelvara::wordstar {
namespace {

using testing::attrsOf;
using testing::bodyTexts;
using testing::bytes;
using testing::onlyParagraph;
using testing::utf8;
using Texts = std::vector<std::string>;

constexpr uint16_t B = attr::kBold;
constexpr uint16_t I = attr::kItalic;
constexpr uint16_t U = attr::kUnderline;
constexpr uint16_t S = attr::kStrikeOut;
constexpr uint16_t Sup = attr::kSuperscript;
constexpr uint16_t Sub = attr::kSubscript;

// The 128-byte header of a 5-7 file: 0x1D, length 125, its body closed by 0x1D.
std::string extendedHeader() {
  std::string header("\x1d\x7d\x00", 3);
  header += std::string(124, '\0');
  header[4] = '\x50';
  header += '\x1d';
  return header;
}

TEST(WordStarDecoder, EachPrintControlTogglesItsFormatting) {
  const Paragraph p = onlyParagraph(
      "a\x02"
      "b\x02"
      "c\x13"
      "d\x13\x19"
      "e\x19\x18"
      "f\x18\x14g\x14\x16h\x16\x04i\x04j");
  EXPECT_EQ(utf8(plainText(p)), "abcdefghij");
  EXPECT_EQ(attrsOf(p), (std::vector<uint16_t>{0, B, 0, U, I, S, Sup, Sub, B, 0}));

  // Nested and closed in any order; bold and double strike make bold together or alone.
  const Paragraph nested = onlyParagraph("\x13\x02x\x13y\x02\x02\x04z\x02w\x04");
  EXPECT_EQ(attrsOf(nested), (std::vector<uint16_t>{B | U, B, B, B}));
}

TEST(WordStarDecoder, HighBitOnPrintControlsAndWordEndsIsCleared) {
  // CP/M and DOS files set the high bit on the last character of a word, codes included.
  const Paragraph p = onlyParagraph(
      "Thi\xf3 i\xf3 \x02"
      "bol\xe4\x82 tex\xf4\xae");
  EXPECT_EQ(utf8(plainText(p)), "This is bold text.");
  EXPECT_EQ(attrsOf(p)[8], B);
  EXPECT_EQ(attrsOf(p)[11], B);
  EXPECT_EQ(attrsOf(p)[12], 0);
}

TEST(WordStarDecoder, FormattingEndsWithItsParagraph) {
  // A forgotten closing code must not format the rest of the document.
  const auto result = decodeWordStar(
      "\x02open\r\n"
      "next\r\n");
  ASSERT_TRUE(result.document);
  const auto& body = result.document->sections[0].body;
  ASSERT_EQ(body.size(), 2u);
  EXPECT_EQ(attrsOf(body[0]), std::vector<uint16_t>(4, B));
  EXPECT_EQ(attrsOf(body[1]), std::vector<uint16_t>(4, 0));
}

TEST(WordStarDecoder, SoftReturnsJoinTheLinesOfAParagraph) {
  EXPECT_EQ(bodyTexts("first \x8d\nsecond \x8d\nthird\r\n"), Texts{"first second third"});
  // The typed blank taken into the wrap still separates the words.
  EXPECT_EQ(bodyTexts("installabl\xe5\x8d\nwith"), Texts{"installable with"});
  // Wrapped after a hyphen, or at a soft hyphen, the word stays whole.
  EXPECT_EQ(bodyTexts("well-\x8d\nknown"), Texts{"well-known"});
  EXPECT_EQ(bodyTexts("conver\x1f\x8d\nsion"), Texts{"conversion"});
  EXPECT_EQ(bodyTexts("hyphen\x1e"
                      "ation"),
            Texts{"hyphenation"});
  // CP/M writes the line feed of a soft return with the high bit too.
  EXPECT_EQ(bodyTexts("one \x8d\x8atwo"), Texts{"one two"});
}

TEST(WordStarDecoder, SoftSpacesAreTheEditorsAndKeepOnlyTheIndent) {
  EXPECT_EQ(bodyTexts("This \xa0is \xa0\xa0justified"), Texts{"This is justified"});
  // Justification may take the typed blank itself: the words stay apart.
  EXPECT_EQ(bodyTexts("Publi\xe3\xa0upload"), Texts{"Public upload"});

  // The soft spaces before a line's text are its margin: a left indent, and a hanging one when
  // the first line starts further left than the others.
  const Paragraph indented = onlyParagraph("\xa0\xa0\xa0indented \x8d\n\xa0\xa0\xa0text\r\n");
  EXPECT_EQ(utf8(plainText(indented)), "indented text");
  EXPECT_EQ(indented.indent, 3);
  EXPECT_EQ(indented.firstLineOffset, 0);
  const Paragraph hanging = onlyParagraph("\xa0label text \x8d\n\xa0\xa0\xa0\xa0\xa0more\r\n");
  EXPECT_EQ(utf8(plainText(hanging)), "label text more");
  EXPECT_EQ(hanging.indent, 5);
  EXPECT_EQ(hanging.firstLineOffset, -4);
  // Typed blanks are the writer's and stay.
  EXPECT_EQ(bodyTexts("   centred\r\n"), Texts{"   centred"});
}

TEST(WordStarDecoder, ParagraphsEndAtHardReturnsWithoutTrailingBlanks) {
  EXPECT_EQ(bodyTexts("one  \r\n\r\ntwo\t\r\n"), (Texts{"one", "", "two"}));
  EXPECT_EQ(bodyTexts("a\nb"), (Texts{"a", "b"}));
  // A file whose lines all end in a bare carriage return uses it as its line end.
  EXPECT_EQ(bodyTexts("a\rb\r"), (Texts{"a", "b"}));
}

TEST(WordStarDecoder, TheEndOfFileMarkEndsTheText) {
  EXPECT_EQ(bodyTexts("text\r\n\x1a\x1a junk after the mark\x1a"), Texts{"text"});
}

TEST(WordStarDecoder, DotCommandsArePrintedAsWhatTheyDoOrNotAtAll) {
  const auto paged = decodeWordStar("before\r\n.pa\r\nafter\r\n");
  ASSERT_TRUE(paged.document);
  const auto& body = paged.document->sections[0].body;
  ASSERT_EQ(body.size(), 2u);
  EXPECT_FALSE(body[0].pageBreakBefore);
  EXPECT_TRUE(body[1].pageBreakBefore);
  EXPECT_EQ(utf8(plainText(body[1])), "after");

  // Comments, margins and lines WordStar does not know leave no trace.
  EXPECT_EQ(bodyTexts("..comment\r\n. MARGINS: 1-65\r\n.lm10\r\n.RM 55\r\ntext\r\n"),
            Texts{"text"});
  // A command line ends the text before it, even after a soft return.
  EXPECT_EQ(bodyTexts("end of text.\x8d\n.lm10\r\nnew paragraph"),
            (Texts{"end of text.", "new paragraph"}));

  const auto centred = decodeWordStar(".oc on\r\nmiddle\r\n.OC OFF\r\nleft\r\n");
  ASSERT_TRUE(centred.document);
  EXPECT_TRUE(centred.document->sections[0].body[0].centred);
  EXPECT_FALSE(centred.document->sections[0].body[1].centred);
}

TEST(WordStarDecoder, HeadersAndFootersCarryThePageNumberAndStartSections) {
  const auto result = decodeWordStar(
      ".he Title  page #\r\n"
      ".foFooter \x02line\x02\r\n"
      "one\r\n"
      ".h2 Second line\r\n"
      "two\r\n"
      ".he\r\n");
  ASSERT_TRUE(result.document);
  const auto& sections = result.document->sections;
  ASSERT_EQ(sections.size(), 3u);
  ASSERT_EQ(sections[0].header.size(), 1u);
  EXPECT_EQ(plainText(sections[0].header[0]), U"Title  page \uE000");
  ASSERT_EQ(sections[0].footer.size(), 1u);
  EXPECT_EQ(utf8(plainText(sections[0].footer[0])), "Footer line");
  EXPECT_EQ(attrsOf(sections[0].footer[0]).back(), B);
  // A header line set after text applies from there on.
  ASSERT_EQ(sections[1].header.size(), 2u);
  EXPECT_EQ(utf8(plainText(sections[1].header[1])), "Second line");
  EXPECT_EQ(utf8(plainText(sections[1].body[0])), "two");
  // An empty .he takes its line away; the other lines and the footer stay.
  ASSERT_EQ(sections[2].header.size(), 2u);
  EXPECT_TRUE(sections[2].header[0].cells.empty());
  EXPECT_EQ(utf8(plainText(sections[2].header[1])), "Second line");
  EXPECT_EQ(sections[2].footer.size(), 1u);
  EXPECT_TRUE(sections[2].body.empty());
}

TEST(WordStarDecoder, OverprintingMakesAccentsUnderlinesAndBold) {
  EXPECT_EQ(bodyTexts("caf"
                      "e\x08'"),
            Texts{"caf\xc3\xa9"});
  EXPECT_EQ(bodyTexts("`\x08"
                      "a la"),
            Texts{"\xc3\xa0 la"});
  const Paragraph underlined = onlyParagraph("xa\x08_");
  EXPECT_EQ(utf8(plainText(underlined)), "xa");
  EXPECT_EQ(attrsOf(underlined), (std::vector<uint16_t>{0, U}));
  EXPECT_EQ(attrsOf(onlyParagraph("o\x08o")), std::vector<uint16_t>{B});
  // Two characters that make nothing together both stay.
  EXPECT_EQ(bodyTexts("x\x08y"), Texts{"xy"});

  // A carriage return alone prints the next line over this one.
  const auto result = decodeWordStar("Title\r_____\r\ncafe\r   '\r\n");
  ASSERT_TRUE(result.document);
  const auto& body = result.document->sections[0].body;
  ASSERT_EQ(body.size(), 2u);
  EXPECT_EQ(utf8(plainText(body[0])), "Title");
  EXPECT_EQ(attrsOf(body[0]), std::vector<uint16_t>(5, U));
  EXPECT_EQ(utf8(plainText(body[1])), "caf\xc3\xa9");
}

TEST(WordStarDecoder, EscapedBytesAreCodePage437AndOtherControlsPrintAsTheyShould) {
  EXPECT_EQ(bodyTexts("\x1b\x82\x1c t\x1b\x9c\x1c \x1b\x01\x1c"),
            Texts{"\xc3\xa9 t\xc2\xa3 \xe2\x98\xba"});
  EXPECT_EQ(bodyTexts("a\x1b"
                      "b"),
            Texts{"ab"});  // an escape that frames nothing
  EXPECT_EQ(bodyTexts("a\x0f"
                      "b\tc"),
            Texts{"a\xc2\xa0"
                  "b\tc"});
  // Printer pauses, custom controls and phantom characters show nothing.
  EXPECT_EQ(bodyTexts("a\x03\x05\x06\x07\x11\x12\x17z"), Texts{"az"});

  const auto paged = decodeWordStar("one\x0ctwo\r\n");
  ASSERT_TRUE(paged.document);
  ASSERT_EQ(paged.document->sections[0].body.size(), 2u);
  EXPECT_TRUE(paged.document->sections[0].body[1].pageBreakBefore);
}

TEST(WordStarDecoder, ReadsTheNewerFilesPastTheirHeaderAndSequences) {
  // 5-7: letters with the high bit are code page 437; sequences are skipped by their length,
  // even when their bytes look like text, line ends or the end-of-file mark.
  const std::string file = extendedHeader() + "Caf\x82 \x02" + "bold\x02 \x1b\x9c\x1c" + "5 " +
                           bytes("\x1d\x08\x00\x11Hi\r\n\x1a!\x1d", 11) + "end \x8d\nnext\r\n\x1a";
  const auto result = decodeWordStar(file);
  ASSERT_TRUE(result.document) << result.error;
  EXPECT_EQ(result.document->generation, Generation::Extended);
  EXPECT_EQ(bodyTexts(file), Texts{"Caf\xc3\xa9 bold \xc2\xa3"
                                   "5 end next"});
  EXPECT_EQ(attrsOf(result.document->sections[0].body[0])[5], B);
}

TEST(WordStarDecoder, ATruncatedOrDamagedSequenceIsAnError) {
  const std::string header = extendedHeader();
  std::string error;
  EXPECT_TRUE(bodyTexts(header.substr(0, 60), &error).empty());
  EXPECT_EQ(error,
            "WordStar file error: the file is truncated: the 0x1D sequence at byte 0 (0x0) needs "
            "68 more bytes than the file has");

  EXPECT_TRUE(bodyTexts(header + "ab" +
                            bytes("\x1d\x20\x00\x11"
                                  "abc",
                                  7),
                        &error)
                  .empty());
  EXPECT_EQ(error,
            "WordStar file error: the file is truncated: the 0x1D sequence at byte 130 (0x82) "
            "needs 28 more bytes than the file has");

  EXPECT_TRUE(bodyTexts(header + "x\x1d\x05", &error).empty());
  EXPECT_NE(error.find("truncated: the 0x1D sequence at byte 129 (0x81) ends before its length"),
            std::string::npos)
      << error;

  // Its length says where the closing 0x1D is; a sequence without it is damaged.
  EXPECT_TRUE(bodyTexts(header + bytes("\x1d\x03\x00\x41\x1d\x42 more text", 16), &error).empty());
  EXPECT_EQ(error,
            "WordStar file error: the file is damaged: the 0x1D sequence at byte 128 (0x80) does "
            "not end with 0x1D where its length says");
  EXPECT_TRUE(bodyTexts(header + bytes("\x1d\x00\x00text", 7), &error).empty());
  EXPECT_NE(error.find("damaged"), std::string::npos);
}

TEST(WordStarDecoder, EveryCutOfAFileEndsInTextOrAnError) {
  const std::string file = extendedHeader() + "Caf\x82 " +
                           bytes("\x1d\x04\x00\x11\x0d\x0a\x1d", 7) + "\x1b\x82\x1c \x02" +
                           "b\x08_\r_\r\n.he #\r\nend\x8d\n";
  for (size_t size = 0; size <= file.size(); ++size) {
    const auto result = decodeWordStar(std::string_view(file).substr(0, size));
    EXPECT_NE(result.document.has_value(), !result.error.empty()) << size;
  }
}

TEST(WordStarDecoder, RefusesWhatIsNoWordStarFileOrHoldsNoText) {
  std::string error;
  EXPECT_TRUE(bodyTexts("", &error).empty());
  EXPECT_EQ(error, "The file is empty");
  EXPECT_TRUE(bodyTexts(bytes("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1\0\0", 10), &error).empty());
  EXPECT_EQ(error,
            "Not a WordStar file: it is a compound (OLE) file, such as a Word 97-2003 document");
  EXPECT_TRUE(bodyTexts(bytes("PK\x03\x04\x14\0", 6), &error).empty());
  EXPECT_EQ(error,
            "Not a WordStar file: it is a ZIP package, such as a Word 2007 or OpenDocument file");
  EXPECT_TRUE(bodyTexts(bytes("text\0\x01\x02 data", 12), &error).empty());
  EXPECT_EQ(error, "Not a WordStar file: it holds binary data (NUL bytes)");
  EXPECT_TRUE(bodyTexts("\x1a\x1a\x1a", &error).empty());
  EXPECT_EQ(error, "The WordStar file holds no text");
  EXPECT_TRUE(bodyTexts(".pa\r\n.. only commands\r\n\r\n", &error).empty());
  EXPECT_EQ(error, "The WordStar file holds no text");
}

}  // namespace
}  // namespace kelvara::wordstar
