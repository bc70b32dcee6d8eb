#include "wordstar/Detection.h"

#include <gtest/gtest.h>

#include "WordStarTestText.h"

namespace kelvara::wordstar {
namespace {

using testing::bytes;

TEST(WordStarDetection, RecognisesClassicFilesByTheMarksOfTheirRunningText) {
  // Print controls and the high bit on word ends (BOLD.WS of the shared corpus, shortened).
  EXPECT_TRUE(detectWordStar("WordSta\xf2 ca\xee \x02"
                             "bold\x82 text.\x1a\x1a")
                  .wordStar);
  // Word ends followed by punctuation and a soft return.
  EXPECT_TRUE(detectWordStar("Thi\xf3 i\xf3 chapte\xf2 1.\r\n\x1a").wordStar);
  EXPECT_TRUE(detectWordStar("Lon\xe7 tex\xf4 \x8d\nwrappe\xe4 her\xe5.").wordStar);
  // A few letters marked inside words (WordStar marks some) do not hide the pattern
  // (CENTER.WS of the shared corpus).
  EXPECT_TRUE(detectWordStar("      Thi\xf3 lin\xe5 i\xf3 centered\r\n\r\n"
                             "Wor\xe4Sta\xf2 ca\xee ce\xeete\xf2 line\xf3 o\xe6 text.")
                  .wordStar);
  EXPECT_EQ(detectWordStar("Thi\xf3 i\xf3 chapte\xf2 1.").generation, Generation::Classic);
}

TEST(WordStarDetection, LeavesTextOfEveryEncodingToTheOffice) {
  EXPECT_FALSE(detectWordStar("Plain ASCII text.\r\nSecond line.\r\n").wordStar);
  EXPECT_FALSE(detectWordStar("caf\xc3\xa9 d\xc3\xa9j\xc3\xa0 vu, \xc3\xa9t\xc3\xa9").wordStar);
  // Windows and DOS code pages: accented letters sit inside words as often as at their end.
  EXPECT_FALSE(
      detectWordStar("Le caf\xe9 \xe9tait pr\xeat, le th\xe9 aussi, et l'\xe9t\xe9 d\xe9j\xe0 "
                     "l\xe0.")
          .wordStar);
  EXPECT_FALSE(detectWordStar("Gr\x81\xe1"
                              "e aus M\x81nchen und K\x94ln\r\n")
                   .wordStar);
  // One marked word among many is no pattern.
  EXPECT_FALSE(
      detectWordStar("Many plain words and just one caf\xe9 in a long sentence here.").wordStar);
  EXPECT_FALSE(detectWordStar("").wordStar);
}

TEST(WordStarDetection, TheHeaderOfNewerFilesMustBeWhole) {
  std::string header("\x1d\x7d\x00", 3);
  header += std::string(124, 'x');
  header += '\x1d';
  const Detection whole = detectWordStar(header + "text");
  EXPECT_TRUE(whole.wordStar);
  EXPECT_EQ(whole.generation, Generation::Extended);
  EXPECT_FALSE(detectWordStar(header.substr(0, 100)).wordStar);
  header[127] = 'x';
  EXPECT_FALSE(detectWordStar(header + "text").wordStar);
  EXPECT_TRUE(startsWithExtendedHeader(header));
}

TEST(WordStarDetection, NamesWhatCannotBeReadAsWordStar) {
  EXPECT_EQ(notWordStarReason(""), "the file is empty");
  EXPECT_EQ(notWordStarReason("{\\rtf1 x}"), "it is an RTF document");
  EXPECT_EQ(notWordStarReason("%PDF-1.4"), "it is a PDF document");
  EXPECT_EQ(notWordStarReason(bytes("\xff"
                                    "WPC\x10\0\0\0",
                                    8)),
            "it is a WordPerfect document");
  EXPECT_EQ(notWordStarReason(bytes("\xff\xfeH\0i\0", 6)), "it is UTF-16 text");
  EXPECT_EQ(notWordStarReason(bytes("abc\0def", 7)), "it holds binary data (NUL bytes)");
  EXPECT_EQ(notWordStarReason("text\x1a" + std::string(200, 'z')),
            "it holds binary data (more data follows the end-of-file mark)");

  // CP/M leaves the rest of the last 128-byte record as it was, NUL bytes included.
  EXPECT_EQ(notWordStarReason("text\x1a" + std::string(100, '\0')), std::nullopt);
  EXPECT_EQ(notWordStarReason("Plain text is readable too."), std::nullopt);
}

}  // namespace
}  // namespace kelvara::wordstar
