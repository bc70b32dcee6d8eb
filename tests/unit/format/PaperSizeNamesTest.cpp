#include "format/PaperSizeNames.h"

#include <gtest/gtest.h>

namespace kelvara::format {
namespace {

TEST(PaperSizeNamesTest, CodesGiveTheirNamesAndOthersTheirNumber) {
  EXPECT_EQ(paperSizeName(0), "10x14");
  EXPECT_EQ(paperSizeName(7), "A4");
  EXPECT_EQ(paperSizeName(15), "FanfoldLegalGerman");
  EXPECT_EQ(paperSizeName(23), "Tabloid");
  EXPECT_EQ(paperSizeName(36), "EnvelopeC65");
  EXPECT_EQ(paperSizeName(40), "EnvelopePersonal");
  EXPECT_EQ(paperSizeName(41), "Custom");
  EXPECT_EQ(paperSizeName(-1), "-1");
  EXPECT_EQ(paperSizeName(42), "42");
}

}  // namespace
}  // namespace kelvara::format
