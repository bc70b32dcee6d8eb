#include "config/SettingsWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "config/SettingsLoader.h"
#include "support/TempDir.h"

namespace kelvara::config {
namespace {

using platform::DateTime;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::ReadFile;
using testing::TempDir;

const platform::Locale kComma{"%d.%m.%Y", "%H:%M:%S", ','};
const DateTime kNow{2024, 5, 17, 9, 30, 15};

class SettingsWriterTest : public ::testing::Test {
 protected:
  TempDir tmp_;
  IniFile ini_{tmp_ / "Kelva.ini"};
};

TEST_F(SettingsWriterTest, ConfigurationDataRoundTrips) {
  Settings s;
  s.SingleFile = true;
  s.ScanSubDir = false;
  s.MeasurementUnits = 2;
  s.DocTimeout = 0;
  s.LineTerm = 1;
  s.NoConversion = true;
  s.UserAddress = "Main St 1";
  s.ProgCmdLine2 = "  out= ";
  s.WordDiffWrn = 5;
  s.DateMode = 2;
  s.NewFilesDate = DateTime{2020, 1, 2, 3, 4, 5};
  s.FromDate = DateTime{1950, 6, 1};
  s.ToDate = DateTime{2030, 12, 31};
  s.FileMaxSize = 5000000000LL;
  s.RenBeforeOverWr = true;
  s.NoVersionNum = false;
  s.FileNamePrefix = "old_";
  s.TrayIconAlwaysOn = true;
  SaveConfigurationData(ini_, s, kComma);

  const std::string text = ReadFile(ini_.path());
  EXPECT_THAT(text, HasSubstr("ProgCmdLine2=\"  out= \"\n"));
  EXPECT_THAT(text, HasSubstr("NewFilesDate=02.01.2020 03:04:05\n"));
  EXPECT_THAT(text, HasSubstr("NoConversion=1\n"));
  EXPECT_THAT(text, Not(HasSubstr("InpPath")));  // the main window's keys are not the dialog's
  EXPECT_THAT(text, Not(HasSubstr("StandardInpMask")));

  Settings back;
  format::FormatParameterSet params;
  EXPECT_THAT(LoadAllSettings(ini_, back, params, kComma, "12.0", kNow), IsEmpty());
  EXPECT_TRUE(back.SingleFile);
  EXPECT_FALSE(back.ScanSubDir);
  EXPECT_EQ(back.MeasurementUnits, 2);
  EXPECT_EQ(back.DocTimeout, 0);
  EXPECT_EQ(back.LineTerm, 1);
  EXPECT_FALSE(back.NoConversion);  // stored, but off at every start
  EXPECT_EQ(back.UserAddress, "Main St 1");
  EXPECT_EQ(back.ProgCmdLine2, "  out= ");
  EXPECT_EQ(back.WordDiffWrn, 5);
  EXPECT_EQ(back.DateMode, 2);
  EXPECT_EQ(back.NewFilesDate, s.NewFilesDate);
  EXPECT_EQ(back.FromDate, s.FromDate);
  EXPECT_EQ(back.ToDate, s.ToDate);
  EXPECT_EQ(back.FileMaxSize, 5000000000LL);
  EXPECT_TRUE(back.RenBeforeOverWr);
  EXPECT_FALSE(back.NoVersionNum);
  EXPECT_EQ(back.FileNamePrefix, "old_");
  EXPECT_TRUE(back.TrayIconAlwaysOn);
}

TEST_F(SettingsWriterTest, PageValuesKeepStaleSizesOfAStandardPaper) {
  ini_.writeString("Page Setup Portrait", "PageWidth", "1234");
  format::FormatParameterSet p;
  p.Portrait.PaperSize = 9;
  p.Portrait.PageWidth = 500;
  p.Portrait.TopMargin = 30.5;
  p.Landscape.PaperSize = 41;
  p.Landscape.PageWidth = 1000.25;
  p.General.Orientation = 1;
  p.General.Gutter = 12.5;
  SavePageValues(ini_, p, kComma, false);

  const std::string text = ReadFile(ini_.path());
  EXPECT_THAT(text, HasSubstr("[Page Setup Portrait]\nPageWidth=1234\nPaperSize=9\n"));
  EXPECT_THAT(text, HasSubstr("TopMargin=30,5\n"));
  EXPECT_THAT(text, HasSubstr("PageWidth=1000,25\n"));
  EXPECT_THAT(text, Not(HasSubstr("Orientation")));   // not offered by the dialog
  EXPECT_THAT(text, Not(HasSubstr("SectionStart")));  // never written

  format::FormatParameterSet back;
  EXPECT_THAT(LoadPageValues(ini_, back, kComma), IsEmpty());
  EXPECT_EQ(back.Portrait.PageWidth, 792);
  EXPECT_EQ(back.Portrait.TopMargin, 30.5);
  EXPECT_EQ(back.Landscape.PageWidth, 1000.25);
  EXPECT_EQ(back.General.Gutter, 12.5);
  EXPECT_EQ(back.General.Orientation, 0);

  SavePageValues(ini_, p, kComma, true);
  LoadPageValues(ini_, back, kComma);
  EXPECT_EQ(back.General.Orientation, 1);
}

TEST_F(SettingsWriterTest, ParagraphAndFontValuesRoundTrip) {
  format::FormatParameterSet p;
  p.Paragraph.ParagraphAlignment = 3;
  p.Paragraph.ParagraphFirstLineIndent = -8.5;
  p.Paragraph.WidowControl = true;
  p.Font.FontName = "DejaVu Sans";
  p.Font.FontPosition = -3;
  p.Font.FontSpacing = 1.5;
  SaveParagraphValues(ini_, p, kComma);
  SaveFontValues(ini_, p, kComma);
  EXPECT_THAT(ReadFile(ini_.path()), HasSubstr("FontPosition=-3\n"));

  format::FormatParameterSet back;
  LoadParagraphValues(ini_, back, kComma);
  LoadFontValues(ini_, back, kComma);
  EXPECT_EQ(back.Paragraph.ParagraphAlignment, 3);
  EXPECT_EQ(back.Paragraph.ParagraphFirstLineIndent, -8.5);
  EXPECT_TRUE(back.Paragraph.WidowControl);
  EXPECT_EQ(back.Font.FontName, "DejaVu Sans");
  EXPECT_EQ(back.Font.FontPosition, -3);
  EXPECT_EQ(back.Font.FontSpacing, 1.5);
}

TEST_F(SettingsWriterTest, FlagsRoundTripAndRevisionsDependOnTheVersion) {
  format::FormatParameterSet p;
  p.Landscape.flags.PaperSize = true;
  p.General.flags.GutterPos = true;
  p.Paragraph.flags.FirstLineIndent = true;
  p.Font.flags.FontScaling = true;
  p.UserData.UserInitials = true;
  p.Revisions.flags.PrintRevisions = true;
  SaveParameterFlags(ini_, p, "12.0");
  EXPECT_THAT(ReadFile(ini_.path()), Not(HasSubstr("Revisions")));
  SaveParameterFlags(ini_, p, "11.0");

  format::FormatParameterSet back;
  LoadParameterFlags(ini_, back, "11.0");
  EXPECT_TRUE(back.Landscape.flags.PaperSize);
  EXPECT_FALSE(back.Portrait.flags.PaperSize);
  EXPECT_TRUE(back.General.flags.GutterPos);
  EXPECT_TRUE(back.Paragraph.flags.FirstLineIndent);
  EXPECT_TRUE(back.Paragraph.flags.LeftIndent);
  EXPECT_TRUE(back.Font.flags.FontScaling);
  EXPECT_TRUE(back.UserData.UserInitials);
  EXPECT_TRUE(back.Revisions.flags.PrintRevisions);
}

TEST_F(SettingsWriterTest, SingleKeyHelpers) {
  WriteQuotedKey(ini_, "External Programs", "ProgCmdLine1", " a ");
  WriteDateKey(ini_, "Conversion Options", "ToDate", DateTime{2024, 2, 29, 13, 0, 0}, kComma);
  WriteDateTimeKey(ini_, "Conversion Options", "NewFilesDate", DateTime{2024, 2, 29}, kComma);
  EXPECT_EQ(ReadFile(ini_.path()),
            "[External Programs]\nProgCmdLine1=\" a \"\n\n"
            "[Conversion Options]\nToDate=29.02.2024\nNewFilesDate=29.02.2024\n");
}

TEST_F(SettingsWriterTest, AWriteErrorStopsAtTheRefusedKey) {
  tmp_.write("blocker", "x");
  IniFile bad(tmp_ / "blocker/Kelva.ini");
  EXPECT_THROW(SaveFontValues(bad, format::FormatParameterSet{}, kComma), IniWriteError);
}

}  // namespace
}  // namespace kelvara::config
