#include "word/PaperSizes.h"

#include <gtest/gtest.h>

namespace kelvara::word {
namespace {

TEST(PaperSizes, CodesGiveTheirSheetsShortSideFirst) {
  const auto a4 = paperDimensions(7);
  ASSERT_TRUE(a4);
  EXPECT_NEAR(a4->shortSide, 595.28, 0.01);
  EXPECT_NEAR(a4->longSide, 841.89, 0.01);
  const auto letter = paperDimensions(2);
  ASSERT_TRUE(letter);
  EXPECT_DOUBLE_EQ(letter->shortSide, 612);
  EXPECT_DOUBLE_EQ(letter->longSide, 792);
  // Sizes Word lists wider than high are held short side first too.
  const auto fanfold = paperDimensions(17);
  ASSERT_TRUE(fanfold);
  EXPECT_DOUBLE_EQ(fanfold->shortSide, 792);
  EXPECT_DOUBLE_EQ(fanfold->longSide, 1071);
  const auto personal = paperDimensions(40);
  ASSERT_TRUE(personal);
  EXPECT_DOUBLE_EQ(personal->shortSide, 261);
  EXPECT_DOUBLE_EQ(personal->longSide, 468);

  EXPECT_FALSE(paperDimensions(kCustomPaperSize));
  EXPECT_FALSE(paperDimensions(-1));
  EXPECT_FALSE(paperDimensions(42));
}

TEST(PaperSizes, PagesFindTheirCodeInEitherOrientationWithinAPoint) {
  EXPECT_EQ(paperSizeCode(612, 792), 2);
  EXPECT_EQ(paperSizeCode(792, 612), 2);
  // A4 as a .docx states it, in whole twips.
  EXPECT_EQ(paperSizeCode(11906 / 20.0, 16838 / 20.0), 7);
  EXPECT_EQ(paperSizeCode(842, 595), 7);
  EXPECT_EQ(paperSizeCode(597, 842), kCustomPaperSize);
  EXPECT_EQ(paperSizeCode(300, 400), kCustomPaperSize);
  EXPECT_EQ(paperSizeCode(500, 500), kCustomPaperSize);
  // Listed twice (FanfoldLegalGerman and Folio): the lower code.
  EXPECT_EQ(paperSizeCode(612, 936), 15);
}

TEST(PaperSizes, EveryListedSheetFindsItsOwnCodeOrAnEarlierOneOfTheSameSize) {
  for (int32_t code = 0; code < kCustomPaperSize; ++code) {
    SCOPED_TRACE(code);
    const auto sheet = paperDimensions(code);
    ASSERT_TRUE(sheet);
    EXPECT_LT(sheet->shortSide, sheet->longSide);
    const int32_t found = paperSizeCode(sheet->longSide, sheet->shortSide);
    ASSERT_LE(found, code);
    EXPECT_DOUBLE_EQ(paperDimensions(found)->shortSide, sheet->shortSide);
    EXPECT_DOUBLE_EQ(paperDimensions(found)->longSide, sheet->longSide);
  }
}

}  // namespace
}  // namespace kelvara::word
