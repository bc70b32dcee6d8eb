#include "word/FormatTables.h"

#include <gtest/gtest.h>

namespace kelvara::word {
namespace {

const std::vector<FileConverter> kConverters = {
    {"WordPerfect Document", "wpd", true, 1001, false, 0},
    {"Multi Ext", "abw zabw awt", true, 1002, true, 1003},
};

TEST(FormatTables, CurrentGenerationKeepsStoredPositionsAndDuplicates) {
  const FormatLists lists = BuildFormatLists("12.0", kConverters);
  ASSERT_EQ(lists.input.size(), 13u + 2u);
  ASSERT_EQ(lists.output.size(), 23u + 1u);
  EXPECT_EQ(lists.output[6].label, "PDF - (pdf)");
  EXPECT_EQ(lists.output[13].label, "PDF - (pdf)");
  EXPECT_EQ(lists.output[6].code, 17);
  EXPECT_EQ(lists.output[13].code, 17);
  for (int i = 15; i <= 18; ++i) {
    EXPECT_EQ(lists.output[i].label, "Word XML Document - (xml)");
    EXPECT_EQ(lists.output[i].code, 12 + (i - 15));
  }
  EXPECT_EQ(lists.output[0].label, "Word Document - (docx)");
  EXPECT_EQ(lists.output[0].code, 16);
  EXPECT_EQ(lists.output[8].label, "Rich Text Format - (rtf)");
  EXPECT_EQ(lists.output[9].label, "Normal text - (txt)");
  EXPECT_EQ(lists.input[6].label, "Encoded Text - (txt)");
  EXPECT_EQ(lists.input[6].code, 5);
  // Converters follow the fixed entries: openers in the input list, savers in the output list.
  EXPECT_EQ(lists.input[13].label, "WordPerfect Document - (wpd)");
  EXPECT_EQ(lists.input[14].code, 1002);
  EXPECT_EQ(lists.output.back().label, "Multi Ext - (abw zabw awt)");
  EXPECT_EQ(lists.output.back().code, 1003);
}

TEST(FormatTables, OlderGenerationsHaveTheirOwnLists) {
  const FormatLists v11 = BuildFormatLists("11.0", {});
  ASSERT_EQ(v11.output.size(), 8u);
  EXPECT_EQ(v11.output[7].label, "Word 2003 XML Document - (xml)");
  EXPECT_EQ(v11.output[0].label, "Word Document - (doc)");
  const FormatLists v9 = BuildFormatLists("9.0", kConverters);
  EXPECT_EQ(v9.input.size(), 6u + 2u);
  EXPECT_EQ(v9.output.size(), 7u + 1u);
  // An unknown version has no HTML entries.
  EXPECT_EQ(BuildFormatLists("8.0", {}).output.size(), 4u);
}

TEST(FormatTables, LabelsSplitIntoNameAndExtensions) {
  EXPECT_EQ(LabelName("Word Document - (docx)"), "Word Document ");
  EXPECT_EQ(LabelExtensions("Word Document - (docx)"), "docx");
  EXPECT_EQ(LabelExtensions("All Word Templates - (dotx dotm dot)"), "dotx dotm dot");
  EXPECT_EQ(LabelExtensions("Auto - (*)"), "*");
  EXPECT_EQ(LabelExtensions("no extension list"), "");
}

TEST(FormatTables, StandardMaskHasOnePatternPerExtension) {
  EXPECT_EQ(StandardMask("docx docm dotx dotm doc dot htm"),
            "*.docx;*.docm;*.dotx;*.dotm;*.doc;*.dot;*.htm");
  EXPECT_EQ(StandardMask("*"), "*.*");
  EXPECT_EQ(StandardMask("rtf"), "*.rtf");
}

TEST(FormatTables, SelectionRefusesPositionsOutsideTheLists) {
  const FormatLists lists = BuildFormatLists("12.0", kConverters);
  FormatSelection selection;
  ASSERT_TRUE(SelectFormats(lists, 3, 6, selection));
  EXPECT_EQ(selection.openFormat, 3);
  EXPECT_EQ(selection.inputExtensions, "rtf");
  EXPECT_EQ(selection.saveFormat, 17);
  EXPECT_EQ(selection.OutExt, "pdf");
  EXPECT_EQ(selection.outputFormatName, "PDF ");
  EXPECT_FALSE(SelectFormats(lists, 15, 0, selection));
  EXPECT_FALSE(SelectFormats(lists, 0, -1, selection));
  EXPECT_FALSE(SelectFormats(lists, 0, 24, selection));

  // The last position of each list is a converter's and is taken like any other.
  ASSERT_TRUE(SelectFormats(lists, 14, 23, selection));
  EXPECT_EQ(selection.openFormat, 1002);
  EXPECT_EQ(selection.inputExtensions, "abw zabw awt");
  EXPECT_EQ(selection.saveFormat, 1003);
  EXPECT_EQ(selection.OutExt, "abw zabw awt");
  ASSERT_TRUE(SelectFormats(lists, 0, 0, selection));
  EXPECT_EQ(selection.OutExt, "docx");
}

}  // namespace
}  // namespace kelvara::word
