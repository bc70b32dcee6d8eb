// Counting an input file as the office counts it, and the count line the run reads back.

#include <gtest/gtest.h>

#include <optional>

#include "word/RtfText.h"
#include "word/TextCounts.h"
#include "word/WordsCountFile.h"
#include "wordstar/Decoder.h"
#include "wordstar/RtfWriter.h"

namespace kelvara::word {
namespace {

TextCounts countOf(const std::u32string& text, int width = 80) {
  return countParagraphs({CountedParagraph{text, width, width, true}});
}

// The run's reading of a count line: for each label, the integer in the six characters that
// start one character after the label's end; absent (-1) without the label.
std::optional<int64_t> readField(const std::string& line, const std::string& label) {
  const size_t p = line.find(label);
  if (p == std::string::npos) {
    return std::nullopt;
  }
  std::string field = line.substr(p + label.size() + 1, 6);
  field.erase(0, field.find_first_not_of(' '));
  field.erase(field.find_last_not_of(' ') + 1);
  return std::stoll(field);
}

// Each case as the office counted it (LibreOffice 7.4, a paragraph of its own).
TEST(WordsCount, SplitsWordsWhereTheOfficeDoes) {
  struct Case {
    std::u32string text;
    int64_t words;
  };
  const Case cases[] = {
      {U"a-b", 1},
      {U"+--+", 2},
      {U"---", 1},
      {U"a--b", 2},
      {U"+-+", 1},
      {U"--a", 2},
      {U"a--", 1},
      {U"---*", 2},
      {U"*---", 1},
      {U"--a--", 2},
      {U"a--b--c", 3},
      {U"x---y---", 2},
      {U"+---+---+---+", 4},
      {U"|---|---|", 3},
      {U"a -- b", 3},
      {U"a\u2014b", 2},
      {U"\u2014", 0},
      {U"a \u2014 b", 2},
      {U"a\u2013b", 2},
      {U"x\u00A0y", 2},
      {U"$100.00 it's (a) x/y a,b ...", 6},
      {U"alpha - beta | gamma ___ . , x\u2014y a\u00A0b tab\there end", 15},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(countOf(c.text).words, c.words) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(WordsCount, CountsCharactersWithoutWhiteSpace) {
  EXPECT_EQ(countOf(U"alpha - beta | gamma ___ . , x\u2014y a\u00A0b tab\there end").characters,
            36);
  EXPECT_EQ(countOf(U"  \t\u00A0\u2003").characters, 0);
}

TEST(WordsCount, WrapsLinesAtBlanksAndCutsWordsLongerThanALine) {
  EXPECT_EQ(wrappedLines(U"", 65, 65), 1);
  EXPECT_EQ(wrappedLines(std::u32string(65, U'x'), 65, 65), 1);
  EXPECT_EQ(wrappedLines(std::u32string(66, U'x'), 65, 65), 2);
  EXPECT_EQ(wrappedLines(std::u32string(140, U'x'), 65, 65), 3);
  // Blanks hang at the end of a full line.
  EXPECT_EQ(wrappedLines(std::u32string(65, U'x') + U"   ", 65, 65), 1);
  EXPECT_EQ(wrappedLines(U"aaaa bbbb cccc", 9, 9), 2);
  EXPECT_EQ(wrappedLines(U"aaaa bbbb cccc", 4, 9), 2);  // a narrower first line
  EXPECT_EQ(wrappedLines(U"aaaa bbbb cccc", 9, 4), 2);
  EXPECT_EQ(wrappedLines(U"aaaa bbbb cccc", 4, 4), 3);
  // Header and footer lines count words and characters, not lines.
  const TextCounts counts = countParagraphs(
      {{U"body text", 65, 65, true}, {U"", 65, 65, true}, {U"Page 1", 65, 65, false}});
  EXPECT_EQ(counts.words, 4);
  EXPECT_EQ(counts.lines, 2);
  EXPECT_EQ(counts.characters, 13);
}

TEST(WordsCount, TheCountLineHasTheLayoutTheRunReads) {
  std::vector<std::string> leftOut;
  const std::string line = countLine({1234, 56, 7890}, &leftOut);
  EXPECT_EQ(line, "Words:   1234  Lines:     56  Chars:   7890");
  EXPECT_EQ(readField(line, "Words:"), 1234);
  EXPECT_EQ(readField(line, "Lines:"), 56);
  EXPECT_EQ(readField(line, "Chars:"), 7890);
  EXPECT_TRUE(leftOut.empty());
  EXPECT_EQ(readField(countLine({999999, 0, 7}, nullptr), "Words:"), 999999);
}

TEST(WordsCount, ACountTooLargeForItsFieldIsLeftOutNotCut) {
  std::vector<std::string> leftOut;
  const std::string line = countLine({1000000, 5, 2500000}, &leftOut);
  EXPECT_EQ(line, "Lines:      5");
  EXPECT_EQ(readField(line, "Words:"), std::nullopt);
  EXPECT_EQ(readField(line, "Lines:"), 5);
  EXPECT_EQ(readField(line, "Chars:"), std::nullopt);
  EXPECT_EQ(leftOut, (std::vector<std::string>{"words 1000000", "characters 2500000"}));
}

TEST(WordsCount, TakesTheInputWholeOrSplitAndARedirectionGivenAsArguments) {
  EXPECT_EQ(parseCountArguments({"/in/my letter.ws"}).input, "/in/my letter.ws");
  EXPECT_EQ(parseCountArguments({"/in/my", "letter.ws"}).input, "/in/my letter.ws");
  EXPECT_FALSE(parseCountArguments({"/in/a.ws"}).outputFile);
  // The configured parameters as they are: input, " > ", the count file.
  const CountCommand redirected = parseCountArguments({"/in/my letter.ws > /tmp/my letter.txt"});
  EXPECT_EQ(redirected.input, "/in/my letter.ws");
  EXPECT_EQ(redirected.outputFile, "/tmp/my letter.txt");
  const CountCommand split = parseCountArguments({"/in/a.ws", ">", "/tmp/a.txt"});
  EXPECT_EQ(split.input, "/in/a.ws");
  EXPECT_EQ(split.outputFile, "/tmp/a.txt");
  EXPECT_FALSE(parseCountArguments({"/in/a.ws", ">"}).outputFile);
}

TEST(WordsCount, TheReportHasTheCountsOnItsFourthLine) {
  FileCount count;
  count.counts = TextCounts{3, 2, 11};
  count.format = "Text (UTF-8)";
  const std::string report = countReport("/in/a b.txt", count, nullptr);
  EXPECT_EQ(report, std::string("kelvara-wc ") + KELVARA_VERSION +
                        "\nFile: /in/a b.txt\nRead as: Text (UTF-8)\n"
                        "Words:      3  Lines:      2  Chars:     11\n");
}

TEST(WordsCount, CountsTextLineByLineInItsEncoding) {
  FileCount text = countBytes("one two\r\nthree\r\n\r\n");
  ASSERT_TRUE(text.counts);
  EXPECT_EQ(text.format, "Text (UTF-8)");
  EXPECT_EQ(text.counts->words, 3);
  EXPECT_EQ(text.counts->lines, 3);
  EXPECT_EQ(text.counts->characters, 11);

  const FileCount utf16 =
      countBytes(std::string("\xff\xfe"
                             "a\0 \0b\0\r\0\n\0",
                             12));
  ASSERT_TRUE(utf16.counts);
  EXPECT_EQ(utf16.format, "Text (UTF-16)");
  EXPECT_EQ(utf16.counts->words, 2);
  EXPECT_EQ(utf16.counts->lines, 1);

  const FileCount eightBit = countBytes("caf\xe9 au lait\n");
  ASSERT_TRUE(eightBit.counts);
  EXPECT_EQ(eightBit.format, "Text (8-bit)");
  EXPECT_EQ(eightBit.counts->words, 3);
  EXPECT_EQ(eightBit.counts->characters, 10);

  const FileCount empty = countBytes("");
  ASSERT_TRUE(empty.counts);
  EXPECT_EQ(empty.counts->words + empty.counts->lines + empty.counts->characters, 0);
}

TEST(WordsCount, CountsRtfAsItsReaderShowsIt) {
  const FileCount rtf = countBytes(
      "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Times;}}{\\info{\\title Not counted}}"
      "{\\*\\generator Nor this;}{\\header Head\\par}"
      "\\pard caf\\'e9 \\u8212? x{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}\\par "
      "\\pard\\li2880 {\\pict 0123abcd}second\\par}");
  ASSERT_TRUE(rtf.counts);
  EXPECT_EQ(rtf.format, "RTF");
  EXPECT_EQ(rtf.counts->words, 4);  // café, x7, second and the header's Head
  EXPECT_EQ(rtf.counts->characters, 4 + 1 + 2 + 6 + 4);
  EXPECT_EQ(rtf.counts->lines, 2);

  const auto text = rtfText(
      "{\\rtf1\\deff0{\\fonttbl{\\f0\\fmodern Courier;}}\\paperw12240"
      "\\margl1440\\margr1440\\fs24 a\\line b\\par\\pard\\li1440\\fi-720 c}");
  ASSERT_TRUE(text);
  ASSERT_EQ(text->body.size(), 2u);
  EXPECT_EQ(text->body[0].text, U"a\nb");
  EXPECT_EQ(text->lineWidth(text->body[0]), 65);
  EXPECT_EQ(text->lineWidth(text->body[1]), 55);
  EXPECT_EQ(text->firstLineWidth(text->body[1]), 60);
  EXPECT_FALSE(rtfText("plain"));
}

TEST(WordsCount, CountsWordStarAsTheReaderGivesItAndRefusesOtherFormats) {
  const FileCount ws = countBytes(
      ".he Page #\r\nThi\xf3 i\xf3 \x02"
      "bol\xe4\x82 tex\xf4.\r\n\x1a");
  ASSERT_TRUE(ws.counts) << ws.error;
  EXPECT_EQ(ws.format, "WordStar 3.x/4.x");
  EXPECT_EQ(ws.counts->words, 4 + 2);  // the header's page number shows as a number
  EXPECT_EQ(ws.counts->characters, 15 + 5);
  EXPECT_EQ(ws.counts->lines, 1);

  const FileCount ole = countBytes(std::string("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1\0\0\0\0", 12));
  EXPECT_FALSE(ole.counts);
  EXPECT_EQ(ole.error,
            "cannot count the words of a compound (OLE) file, such as a Word 97-2003 document");
  const FileCount noise = countBytes(std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
  EXPECT_FALSE(noise.counts);
  EXPECT_EQ(noise.error, "cannot count the words of binary data");
  EXPECT_FALSE(countFile("/no/such/file.ws").counts);
}

// The RTF the WordStar reader writes, counted as RTF, gives what the WordStar file gives: the
// office opens that RTF, so the count of the input and of the opened document agree.
TEST(WordsCount, TheReadersRtfCountsAsItsWordStarFile) {
  const std::string file =
      "\xa0\xa0Indente\xe4 tex\xf4 tha\xf4 run\xf3 ove\xf2 severa\xec line\xf3 \x8d\n"
      "\xa0\xa0o\xe6 th\xe5 page\xac wit\xe8 \x13underlined\x93 an\xe4 \x02"
      "bold\x82 \x8d\n\xa0\xa0word\xf3 --- an\xe4 som\xe5 more\xae\r\n\r\n"
      ".fo Footer #\r\nSecon\xe4 paragraph.\r\n\x1a";
  const FileCount fromWordStar = countBytes(file);
  ASSERT_TRUE(fromWordStar.counts) << fromWordStar.error;
  ASSERT_EQ(fromWordStar.format, "WordStar 3.x/4.x");
  const auto decoded = wordstar::decodeWordStar(file);
  ASSERT_TRUE(decoded.document);
  const FileCount fromRtf = countBytes(wordstar::toRtf(*decoded.document));
  ASSERT_TRUE(fromRtf.counts);
  EXPECT_EQ(fromRtf.counts->words, fromWordStar.counts->words);
  EXPECT_EQ(fromRtf.counts->characters, fromWordStar.counts->characters);
  EXPECT_EQ(fromRtf.counts->lines, fromWordStar.counts->lines);
}

}  // namespace
}  // namespace kelvara::word
