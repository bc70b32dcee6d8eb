// What the engine makes of a file's bytes before and after the office has read it.
#include "word/lo/ContentCheck.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace kelvara::word::lo {
namespace {

std::string bytes(const char* data, size_t size) {
  return std::string(data, size);
}

// Bytes from a fixed generator: what a damaged or foreign file looks like to the text reader.
std::string noise(size_t size, uint32_t seed) {
  std::string out;
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    out += static_cast<char>((seed >> 16) & 0xFF);
  }
  return out;
}

TEST(ContentCheckTest, TellsBinaryDataFromText) {
  EXPECT_TRUE(classifyContent(bytes("PK\x03\x04\0\0", 6)).binary);
  EXPECT_TRUE(classifyContent(bytes("text with one NUL\0", 18)).binary);
  EXPECT_TRUE(classifyContent("\x01\x02\x03\x04\x05\x06\x07\x08 abc").binary);
  EXPECT_TRUE(classifyContent(noise(4096, 7)).binary);

  const auto plain = classifyContent("Hello world.\r\nSecond line\tend\v\f\x1a\x1a");
  EXPECT_FALSE(plain.binary);
  EXPECT_TRUE(plain.plainText);
  EXPECT_FALSE(plain.utf16);

  const auto empty = classifyContent("");
  EXPECT_FALSE(empty.binary);
  EXPECT_TRUE(empty.plainText);
}

TEST(ContentCheckTest, AllowsAFewPrintControlsInText) {
  // One control byte in ten is what WordStar and DOS editors leave; more is data.
  const std::string tenth =
      "\x1b"
      "abcdefghi";
  EXPECT_FALSE(classifyContent(tenth).binary);
  EXPECT_FALSE(classifyContent(tenth).plainText);
  EXPECT_TRUE(classifyContent("\x1b\x1b"
                              "abcdefghijklmnopq")
                  .binary);  // 2 in 19
  EXPECT_FALSE(classifyContent("\x1b\x1b"
                               "abcdefghijklmnopqr")
                   .binary);  // 2 in 20

  // WordStar marks word ends with the high bit and uses a few print controls.
  const auto wordstar = classifyContent(
      "\x13"
      "Chapter 1\x13\r\n"
      "Thi\xf3 i\xf3 th\xe5 firs\xf4 chapter\xae\x8d\n\x1a\x1a\x1a");
  EXPECT_FALSE(wordstar.binary);
  EXPECT_FALSE(wordstar.plainText);
}

TEST(ContentCheckTest, TakesUtf16WithItsMarkForText) {
  for (const std::string& text : {bytes("\xff\xfeH\0i\0", 6), bytes("\xfe\xff\0H\0i", 6)}) {
    const auto kind = classifyContent(text);
    EXPECT_TRUE(kind.utf16);
    EXPECT_FALSE(kind.binary);
  }
  // Without the mark, the NUL bytes make it data.
  EXPECT_TRUE(classifyContent(bytes("H\0i\0", 4)).binary);
  EXPECT_FALSE(classifyContent("\xff").utf16);
}

TEST(ContentCheckTest, RefusesOnlyBinaryDataLoadedAsText) {
  EXPECT_EQ(refusePlainTextLoad(noise(4096, 42)), "File format not recognised (binary data)");
  EXPECT_EQ(refusePlainTextLoad(bytes("\xffWPC\0", 5)), "File format not recognised (binary data)");
  EXPECT_EQ(refusePlainTextLoad(bytes("1\xbe\0\0\0\xab", 6)),
            "File format not recognised (binary data)");

  // DOS and CP/M archives: ASCII, code-page letters, WordStar, end-of-file padding.
  EXPECT_EQ(refusePlainTextLoad("MEMO TO ALL STAFF\r\n\r\nThe office closes at 5.\r\n"),
            std::nullopt);
  EXPECT_EQ(refusePlainTextLoad("Gr\x81\xe1"
                                "e aus M\x81nchen\r\n\x1a"),
            std::nullopt);
  EXPECT_EQ(refusePlainTextLoad("Thi\xf3 i\xf3 chapte\xf2 1.\r\n\x1a\x1a"), std::nullopt);
  EXPECT_EQ(refusePlainTextLoad("caf\xe9 au lait"), std::nullopt);
  EXPECT_EQ(refusePlainTextLoad(bytes("\xff\xfeH\0i\0", 6)), std::nullopt);
  EXPECT_EQ(refusePlainTextLoad(""), std::nullopt);
}

TEST(ContentCheckTest, ValidatesUtf8AtTheLimitsOfEachForm) {
  EXPECT_TRUE(isValidUtf8("plain ascii"));
  EXPECT_TRUE(isValidUtf8("gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80"));
  EXPECT_TRUE(isValidUtf8("\xc2\x80"));          // smallest two-byte character
  EXPECT_TRUE(isValidUtf8("\xed\x9f\xbf"));      // U+D7FF, just below the surrogates
  EXPECT_TRUE(isValidUtf8("\xee\x80\x80"));      // U+E000, just above them
  EXPECT_TRUE(isValidUtf8("\xf4\x8f\xbf\xbf"));  // U+10FFFF, the last character
  EXPECT_FALSE(isValidUtf8("Latin-1 \xe9t\xe9"));
  EXPECT_FALSE(isValidUtf8("\xc0\xaf"));          // overlong slash
  EXPECT_FALSE(isValidUtf8("\xe0\x80\xaf"));      // overlong in three bytes
  EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));      // surrogate
  EXPECT_FALSE(isValidUtf8("\xf4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(isValidUtf8("\xf8\x88\x80\x80\x80"));
  EXPECT_FALSE(isValidUtf8("\x80 lone continuation"));
  // A sample ends where it ends: a character it cuts is not the file's fault.
  EXPECT_TRUE(isValidUtf8("cut at the end \xe2\x82"));
  EXPECT_TRUE(isValidUtf8("cut at the end \xf0"));
}

TEST(ContentCheckTest, ChoosesTheImportEncodingFromTheFileStart) {
  EXPECT_EQ(textImportOptions(bytes("\xff\xfeh\0\r\0\n\0", 8)), "UNICODE,CRLF");
  EXPECT_EQ(textImportOptions(bytes("\xfe\xff\0h\0\n", 6)), "UNICODE,LF");
  EXPECT_EQ(textImportOptions("\xef\xbb\xbfh\xc3\xa9\r\n"), "UTF8,CRLF");
  EXPECT_EQ(textImportOptions("plain\n"), "UTF8,LF");
  EXPECT_EQ(textImportOptions(""), "UTF8,CRLF");
  EXPECT_EQ(textImportOptions("caf\xe9 au lait\r\n"), "MS_1252,CRLF");
  // DOS text: umlauts and line drawing of code page 437.
  EXPECT_EQ(textImportOptions("Gr\x81\xe1"
                              "e aus M\x81nchen\r\n\x1a"),
            "IBM_437,CRLF");
  EXPECT_EQ(textImportOptions("\xda\xc4\xc4\xbf\r\n\xb3 box \xb3\r\n"), "IBM_437,CRLF");
}

TEST(ContentCheckTest, TellsTheDosCodePageFromTheWindowsOne) {
  // German and French in code page 437.
  EXPECT_TRUE(
      looksLikeDosCodePage("Z\x84hne, K\x94nig, \x81"
                           "ber"));
  EXPECT_TRUE(looksLikeDosCodePage("Z\x84hne und K\x94nige"));
  EXPECT_TRUE(looksLikeDosCodePage("Gr\x94\xe1" "e"));
  EXPECT_TRUE(looksLikeDosCodePage("caf\x82 cr\x8ame \x85 la carte"));
  EXPECT_TRUE(looksLikeDosCodePage("\xda\xc4\xc4\xbf\r\n\xb3 box \xb3"));
  // The same in code page 1252, and English with Windows quotes, dashes and apostrophes.
  EXPECT_FALSE(
      looksLikeDosCodePage("Z\xe4hne, K\xf6nig, \xfc"
                           "ber"));
  EXPECT_FALSE(looksLikeDosCodePage("caf\xe9 cr\xe8me \xe0 la carte"));
  EXPECT_FALSE(
      looksLikeDosCodePage("\x93"
                           "caf\xe9\x94 and \x93"
                           "cr\xe8me br\xfbl\xe9"
                           "e\x94"));
  EXPECT_FALSE(
      looksLikeDosCodePage("don\x92t stop \x96 it\x92s \x93"
                           "fine\x94\x85"));
  EXPECT_FALSE(looksLikeDosCodePage("plain"));
  EXPECT_FALSE(looksLikeDosCodePage(""));
}

TEST(ContentCheckTest, FindsHowTheFirstLineEnds) {
  EXPECT_EQ(lineEndOf("a\r\nb\nc"), "CRLF");
  EXPECT_EQ(lineEndOf("a\rb\r"), "CR");
  EXPECT_EQ(lineEndOf("a\nb\r\n"), "LF");
  EXPECT_EQ(lineEndOf("a\r"), "CR");
  EXPECT_EQ(lineEndOf(bytes("a\0\r\0\n\0", 6)), "CRLF");
  EXPECT_EQ(lineEndOf("one line"), "CRLF");
}

TEST(ContentCheckTest, FindsTextAReaderSeesInTheRtfBody) {
  for (const char* rtf : {
           "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard Hello\\par}",
           "{\\rtf1 \\'e9}",
           "{\\rtf1 \\u8364?}",
           "{\\rtf1 \\u-3913?}",  // above U+7FFF, written negative
           "{\\rtf1 \\bullet\\par}",
           "{\\rtf1 \\_\\par}",
           "{\\rtf1 \\{\\par}",
           // Unknown destinations without the star are read as text, and so is hidden text.
           "{\\rtf1{\\xyzzy some words}\\par}",
           "{\\rtf1 {\\v hidden words}\\par}",
           "{\\rtf1 {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par}",
           // Nested tables with a level skipped: text the office fails to read.
           "{\\rtf1\\ansi\n\\trowd\\cellx5000\n\\pard\\intbl\\itap2 Parent before\\par\n"
           "\\pard\\intbl\\itap5 Child at skipped level\\nestcell\n}",
       }) {
    EXPECT_TRUE(rtfHasBodyText(rtf)) << rtf;
  }
}

TEST(ContentCheckTest, DocumentsWithWordsOnlyInTheirTablesHaveNoBodyText) {
  for (const char* rtf : {
           "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\info{\\title T}}\\pard\\par}",
           "{\\rtf1{\\*\\generator Writer;}{\\header Page}\\par}",
           "{\\rtf1{\\colortbl;\\red0\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}{\\s1 heading "
           "1;}}\\pard\\par}",
           "{\\rtf1{\\*\\listtable{\\list{\\listlevel{\\leveltext\\'02\\'00.;}}{\\listname "
           "Bullets;}}}\\pard\\par}",
           "{\\rtf1{\\pict\\pngblip 89504e47}\\par}",
           "{\\rtf1 \\bin4 abcd\\par}",
           "{\\rtf1 {\\*\\bkmkstart x}{\\*\\bkmkend x}\\par}",
           "{\\rtf1 {\\field{\\*\\fldinst PAGE}{\\fldrslt }}\\par}",
           // Numbers of list items, which readers make from the list definitions.
           "{\\rtf1 {\\listtext 1.\\tab}\\pard\\par}",
           "{\\rtf1 {\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec}\\pard\\par}",
           // Blanks, however they are written.
           "{\\rtf1 \\'20\\~\\-\\tab \\u32?\\u160?\\par}",
       }) {
    EXPECT_FALSE(rtfHasBodyText(rtf)) << rtf;
  }
}

TEST(ContentCheckTest, MalformedTablesDoNotTurnIntoBodyText) {
  for (const char* rtf : {
           // A closing brace too many ends the document inside its font table.
           "{\\rtf1{\\fonttbl{\\f0 Arial;}}}{\\f1 Times;}}",
           "{\\rtf1{\\fonttbl{\\f0 Arial;}}}}} Later words}",
           "{\\rtf1{\\listtable{\\list{\\listlevel{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}"
           "{\\listname Bullets;}\\listid1}}}\\pard\\par}",
           // Font names outside their own groups, or after the last entry.
           "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;\\f1 Courier;}\\f0\\pard\\par}",
           "{\\rtf1{\\fonttbl{\\f0 Arial;}Times;}\\par}",
           "{\\rtf1{\\stylesheet\\s0 Normal;\\s1 Heading;}\\par}",
           // A table left open swallows the rest of the file.
           "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Times;}\\pard Lost\\par}",
           "{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s1 Heading 1;}\\par}",
       }) {
    EXPECT_FALSE(rtfHasBodyText(rtf)) << rtf;
  }
}

TEST(ContentCheckTest, OnlyTheDocumentGroupCounts) {
  EXPECT_FALSE(rtfHasBodyText("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\par}\r\n\x1a\x1a\x1a"));
  EXPECT_FALSE(rtfHasBodyText("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\par}}Trailing text"));
  EXPECT_FALSE(rtfHasBodyText("\xef\xbb\xbf{\\rtf1\\pard\\par}"));
  EXPECT_FALSE(rtfHasBodyText("no group at all"));
  EXPECT_FALSE(rtfHasBodyText(""));
  EXPECT_TRUE(rtfHasBodyText("\xef\xbb\xbf{\\rtf1\\pard Text\\par}"));
  // Control bytes in the body are no text either.
  EXPECT_FALSE(rtfHasBodyText("{\\rtf1\\pard\x01\x1a\\par}"));
}

TEST(ContentCheckTest, KnowsAnAbiWordBody) {
  EXPECT_TRUE(abiwordHasBody("<abiword><section><p>x</p></section></abiword>"));
  EXPECT_FALSE(abiwordHasBody("<abiword template=\"false\">\n</abiword>\n"));
}

TEST(ContentCheckTest, ReadsTheHeadOfAFile) {
  testing::ScratchDir tmp;
  const std::string path = tmp.file("a.bin", bytes("0123\0"
                                                   "56789",
                                                   10));
  EXPECT_EQ(readFileHead(path, 4), "0123");
  EXPECT_EQ(readFileHead(path, 100), bytes("0123\0"
                                           "56789",
                                           10));
  EXPECT_EQ(readFileHead(tmp.file("empty.txt", ""), 16), "");
  EXPECT_EQ(readFileHead(tmp / "missing.doc", 16), std::nullopt);
}

}  // namespace
}  // namespace kelvara::word::lo
