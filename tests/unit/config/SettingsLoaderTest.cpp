#include "config/SettingsLoader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ConfigSections.h"
#include "support/TempDir.h"

namespace kelvara::config {
namespace {

using platform::DateTime;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::TempDir;

const platform::Locale kPoint{};
const platform::Locale kComma{"%d.%m.%Y", "%H:%M:%S", ','};
const DateTime kNow{2024, 5, 17, 9, 30, 15};

LoadNotice fileNotice(const std::string& text) {
  return LoadNotice{text, "Kelva.ini"};
}

class SettingsLoaderTest : public ::testing::Test {
 protected:
  IniFile file(const std::string& content) { return IniFile(tmp_.write("Kelva.ini", content)); }

  std::vector<LoadNotice> load(const std::string& content, const std::string& version = "12.0",
                               const platform::Locale& locale = kPoint) {
    return LoadAllSettings(file(content), settings_, params_, locale, version, kNow);
  }

  TempDir tmp_;
  Settings settings_;
  format::FormatParameterSet params_;
};

TEST_F(SettingsLoaderTest, AnEmptyFileGivesTheDocumentedDefaults) {
  EXPECT_THAT(load(""), IsEmpty());
  const Settings& s = settings_;
  EXPECT_EQ(s.InpPath, "");
  EXPECT_EQ(s.InpFileName, "*.*");
  EXPECT_EQ(s.OutPath, "");
  EXPECT_EQ(s.InpFormatIndex, 0);
  EXPECT_EQ(s.OutFormatIndex, 0);
  EXPECT_EQ(s.InpMask, "*.*");
  EXPECT_TRUE(s.StandardInpMask);
  EXPECT_FALSE(s.SingleFile);
  EXPECT_TRUE(s.MinimizeToTray);
  EXPECT_TRUE(s.ScanSubDir);
  EXPECT_FALSE(s.ScanHFiles);
  EXPECT_TRUE(s.DiffVertHorizPagParms);
  EXPECT_EQ(s.MeasurementUnits, 0);
  EXPECT_EQ(s.LineTerm, 0);
  EXPECT_EQ(s.DocTimeout, 300);
  EXPECT_EQ(s.EngineRecycle, 200);
  EXPECT_EQ(s.ProgCmdLine1, "sfrm=WS7 in=");
  EXPECT_EQ(s.ProgCmdLine2, " dfrm=MSWW7 out=");
  EXPECT_EQ(s.ProgCmdLine3, "TEMPWPXX");
  EXPECT_EQ(s.Prefix, "_%");
  EXPECT_EQ(s.WordDiffWrn, 30);
  EXPECT_EQ(s.LineDiffWrn, 20);
  EXPECT_EQ(s.CharDiffWrn, 100);
  EXPECT_EQ(s.DateMode, 0);
  EXPECT_EQ(s.NewFilesDate, kNow);
  EXPECT_EQ(s.NewFilesDateUtc, platform::localToFileTime(kNow));
  EXPECT_EQ(s.FromDate, kNow.dateOnly());
  EXPECT_EQ(s.ToDate, kNow.dateOnly());
  EXPECT_EQ(s.ReadOnlyAttrb, 2);
  EXPECT_EQ(s.IncludeSystem, 2);
  EXPECT_TRUE(s.CopyFoldersSACL);
  EXPECT_TRUE(s.UseCreationDate);
  EXPECT_FALSE(s.UseLastWriteBoth);
  EXPECT_EQ(s.FileMinSize, 0);
  EXPECT_EQ(s.FileMaxSize, 0);
  EXPECT_TRUE(s.NoVersionNum);  // the default version-control mode
  EXPECT_FALSE(s.AddVersNum);
  EXPECT_FALSE(s.RenBeforeOverWr);
  EXPECT_TRUE(s.LogSecurityChange);
  EXPECT_FALSE(s.TrayIconAlwaysOn);

  const format::FormatParameterSet& p = params_;
  for (const format::PageSetupSet* set : {&p.Portrait, &p.Landscape}) {
    EXPECT_EQ(set->PaperSize, 7);
    EXPECT_EQ(set->PageWidth, 792);
    EXPECT_EQ(set->PageHeight, 612);
    EXPECT_EQ(set->TopMargin, 56.7);
    EXPECT_EQ(set->BottomMargin, 19.85);
    EXPECT_EQ(set->HeaderDistance, 19.85);
    EXPECT_EQ(set->VerticalAlignment, 0);
    EXPECT_FALSE(set->flags.PaperSize);
    EXPECT_FALSE(set->flags.PageHeight);
    EXPECT_TRUE(set->flags.TopMargin);
    EXPECT_TRUE(set->flags.VerticalAlignment);
  }
  EXPECT_EQ(p.Portrait.SetIndex, 2);
  EXPECT_EQ(p.Landscape.SetIndex, 3);
  EXPECT_EQ(p.General.Gutter, 0);
  EXPECT_EQ(p.General.SectionStart, 2);
  EXPECT_FALSE(p.General.flags.Orientation);
  EXPECT_EQ(p.Paragraph.ParagraphLeftIndent, 17);
  EXPECT_EQ(p.Paragraph.ParagraphRightIndent, 17);
  EXPECT_EQ(p.Paragraph.ParagraphLineSpacing, 15);
  EXPECT_TRUE(p.Paragraph.KeepWithNext);
  EXPECT_TRUE(p.Paragraph.Hyphenation);
  EXPECT_FALSE(p.Paragraph.WidowControl);
  EXPECT_TRUE(p.Paragraph.flags.LeftIndent);
  EXPECT_TRUE(p.Paragraph.flags.RightIndent);
  EXPECT_FALSE(p.Paragraph.flags.FirstLineIndent);
  EXPECT_EQ(p.Font.FontName, "Courier New");
  EXPECT_EQ(p.Font.FontSize, 12);
  EXPECT_EQ(p.Font.FontScaling, 100);
  EXPECT_FALSE(p.Font.flags.FontName);
  EXPECT_FALSE(p.UserData.UserAddr);
  EXPECT_FALSE(p.Revisions.flags.TrackRevisions);
}

TEST_F(SettingsLoaderTest, OnlyABadMeasurementUnitWarnsOnceAndFallsBackToInches) {
  const auto notices = load("[Options]\nMeasurementUnits=7\n");
  EXPECT_THAT(notices,
              ElementsAre(LoadNotice{"Wrong measurement unit value. Set to Inches", "Kelvara"}));
  EXPECT_EQ(settings_.MeasurementUnits, 0);
  EXPECT_TRUE(settings_.ScanSubDir);
  EXPECT_EQ(params_.Portrait.TopMargin, 56.7);
}

TEST_F(SettingsLoaderTest, BooleanIsAnyNonZeroIntegerAndGarbageKeepsTheDefault) {
  EXPECT_THAT(load("[Options]\nScanSubDir=yes\nDebug=2\nShowHint=0\nExtConv=0x1\n"),
              ElementsAre(fileNotice(
                  "Kelva.ini: [Options] ScanSubDir = \"yes\" is not a number; the default 1 is "
                  "used")));
  EXPECT_TRUE(settings_.ScanSubDir);
  EXPECT_TRUE(settings_.Debug);
  EXPECT_FALSE(settings_.ShowHint);
  EXPECT_TRUE(settings_.ExtConv);
}

TEST_F(SettingsLoaderTest, IndexValuesOutOfRangeFallBackWithANotice) {
  const auto notices = load(
      "[Options]\nLineTerm=5\nDocTimeout=-1\nEngineRecycle=-5\n"
      "[External Programs]\nWordDiffWrn=101\nCharDiffWrn=0\n"
      "[Conversion Options]\nDateMode=3\nReadOnlyAttrb=-1\nIncludeHidden=1\nFileMinSize=-3\n"
      "FileMaxSize=5000000000\nNewerType=4\n"
      "[Page Setup Landscape]\nPaperSize=42\nVerticalAlignment=3\n"
      "[Font Setup]\nFontStyle=4\n");
  EXPECT_EQ(settings_.LineTerm, 0);
  EXPECT_EQ(settings_.DocTimeout, 300);
  EXPECT_EQ(settings_.EngineRecycle, 200);
  EXPECT_EQ(settings_.WordDiffWrn, 30);
  EXPECT_EQ(settings_.CharDiffWrn, 0);
  EXPECT_EQ(settings_.DateMode, 0);
  EXPECT_EQ(settings_.ReadOnlyAttrb, 2);
  EXPECT_EQ(settings_.IncludeHidden, 1);
  EXPECT_EQ(settings_.FileMinSize, 0);
  EXPECT_EQ(settings_.FileMaxSize, 5000000000LL);
  EXPECT_EQ(settings_.NewerType, 0);
  EXPECT_EQ(params_.Landscape.PaperSize, 7);
  EXPECT_EQ(params_.Landscape.VerticalAlignment, 3);
  EXPECT_EQ(params_.Font.FontStyle, 0);
  ASSERT_EQ(notices.size(), 10u);
  EXPECT_EQ(notices[0], fileNotice("Kelva.ini: [External Programs] WordDiffWrn = \"101\" is out "
                                   "of range 0 to 100; the default 30 is used"));
  EXPECT_EQ(notices[1], fileNotice("Kelva.ini: [Options] DocTimeout = \"-1\" is below 0; the "
                                   "default 300 is used"));
  EXPECT_EQ(notices[4], fileNotice("Kelva.ini: [Conversion Options] ReadOnlyAttrb = \"-1\" is out "
                                   "of range 0 to 2; the default 2 is used"));
  EXPECT_EQ(notices[7], fileNotice("Kelva.ini: [Options] LineTerm = \"5\" is out of range 0 to 1; "
                                   "the default 0 is used"));
  EXPECT_EQ(notices[8], fileNotice("Kelva.ini: [Page Setup Landscape] PaperSize = \"42\" is out "
                                   "of range 0 to 41; the default 7 is used"));
}

// Zero means "no limit" for the time limit and "never" for the office restart: a value, not
// a fault.
TEST_F(SettingsLoaderTest, TheLastValidValueOfEachRangeIsTakenSilently) {
  EXPECT_THAT(
      load("[Options]\nDocTimeout=0\nEngineRecycle=0\nMeasurementUnits=4\nLineTerm=1\n"
           "[External Programs]\nWordDiffWrn=100\nLineDiffWrn=0\nCharDiffWrn=100\n"
           "[Conversion Options]\nDateMode=2\nSystemAttrb=2\nIncludeArchive=0\nByteKbyte2=1\n"
           "NewerType=3\nFileMaxSize=9223372036854775807\nNewerCnt=2147483647\n"
           "[Page Setup Portrait]\nPaperSize=41\nPageWidth=500\nVerticalAlignment=0\n"
           "[Page Setup General]\nOrientation=1\nSectionStart=4\n"
           "[Paragraph Setup ]\nParagraphAlignment=3\nParagraphLineSpacingRule=5\n"
           "[Font Setup]\nFontShrink=10\nFontSpacingType=2\nFontPositionType=2\n"),
      IsEmpty());
  const Settings& s = settings_;
  EXPECT_EQ(s.DocTimeout, 0);
  EXPECT_EQ(s.EngineRecycle, 0);
  EXPECT_EQ(s.MeasurementUnits, 4);
  EXPECT_EQ(s.LineTerm, 1);
  EXPECT_EQ(s.WordDiffWrn, 100);
  EXPECT_EQ(s.LineDiffWrn, 0);
  EXPECT_EQ(s.CharDiffWrn, 100);
  EXPECT_EQ(s.DateMode, 2);
  EXPECT_EQ(s.IncludeArchive, 0);
  EXPECT_EQ(s.ByteKbyte2, 1);
  EXPECT_EQ(s.NewerType, 3);
  EXPECT_EQ(s.FileMaxSize, INT64_MAX);
  EXPECT_EQ(s.NewerCnt, INT32_MAX);
  EXPECT_EQ(params_.Portrait.PaperSize, 41);
  EXPECT_EQ(params_.Portrait.PageWidth, 500);
  EXPECT_EQ(params_.General.Orientation, 1);
  EXPECT_EQ(params_.General.SectionStart, 4);
  EXPECT_EQ(params_.Paragraph.ParagraphAlignment, 3);
  EXPECT_EQ(params_.Paragraph.ParagraphLineSpacingRule, 5);
  EXPECT_EQ(params_.Font.FontShrink, 10);
  EXPECT_EQ(params_.Font.FontSpacingType, 2);
  EXPECT_EQ(params_.Font.FontPositionType, 2);
}

TEST_F(SettingsLoaderTest, TheFirstValueOutsideEachRangeFallsBack) {
  const auto notices = load(
      "[Options]\nMeasurementUnits=-1\nLineTerm=-1\n"
      "[External Programs]\nLineDiffWrn=-1\n"
      "[Conversion Options]\nByteKbyte1=2\nNewerCnt=-1\nOlderCnt=-1\nFileMaxSize=-1\n"
      "[Page Setup General]\nSectionStart=5\nOrientation=2\n"
      "[Paragraph Setup ]\nParagraphLineSpacingRule=6\n"
      "[Font Setup]\nFontGrow=11\nFontPositionType=3\n");
  EXPECT_EQ(notices.size(), 12u);
  EXPECT_EQ(notices.front(),
            fileNotice("Kelva.ini: [External Programs] LineDiffWrn = \"-1\" is out of range 0 "
                       "to 100; the default 20 is used"));
  EXPECT_EQ(settings_.MeasurementUnits, 0);
  EXPECT_EQ(settings_.LineTerm, 0);
  EXPECT_EQ(settings_.LineDiffWrn, 20);
  EXPECT_EQ(settings_.ByteKbyte1, 0);
  EXPECT_EQ(settings_.NewerCnt, 0);
  EXPECT_EQ(settings_.OlderCnt, 0);
  EXPECT_EQ(settings_.FileMaxSize, 0);
  EXPECT_EQ(params_.General.SectionStart, 2);
  EXPECT_EQ(params_.General.Orientation, 0);
  EXPECT_EQ(params_.Paragraph.ParagraphLineSpacingRule, 0);
  EXPECT_EQ(params_.Font.FontGrow, 0);
  EXPECT_EQ(params_.Font.FontPositionType, 0);
}

TEST_F(SettingsLoaderTest, HexadecimalValuesAreNumbersToo) {
  EXPECT_THAT(load("[Options]\nDocTimeout=0x3C\nEngineRecycle=0X0\n"), IsEmpty());
  EXPECT_EQ(settings_.DocTimeout, 60);
  EXPECT_EQ(settings_.EngineRecycle, 0);
}

TEST_F(SettingsLoaderTest, QuotedCommandLinePiecesKeepTheirBlanks) {
  load("[External Programs]\nProgCmdLine1=\"in= \"\nProgCmdLine2=\" out=\"\nProgCmdLine3=  X  \n");
  EXPECT_EQ(settings_.ProgCmdLine1, "in= ");
  EXPECT_EQ(settings_.ProgCmdLine2, " out=");
  EXPECT_EQ(settings_.ProgCmdLine3, "X");
}

TEST_F(SettingsLoaderTest, PageSizeIsReadOnlyForACustomPaper) {
  load(
      "[Page Setup Portrait]\nPaperSize=9\nPageWidth=100\nPageHeight=200\nTopMargin=30\n"
      "[Page Setup Landscape]\nPaperSize=41\nPageWidth=300\nPageHeight=400\n");
  EXPECT_EQ(params_.Portrait.PaperSize, 9);
  EXPECT_EQ(params_.Portrait.PageWidth, 792);
  EXPECT_EQ(params_.Portrait.PageHeight, 612);
  EXPECT_EQ(params_.Portrait.TopMargin, 30);
  EXPECT_EQ(params_.Landscape.PageWidth, 300);
  EXPECT_EQ(params_.Landscape.PageHeight, 400);
}

TEST_F(SettingsLoaderTest, LengthsReadOnlyInTheLocaleTheyWereWrittenIn) {
  const std::string content = "[Paragraph Setup ]\nParagraphLeftIndent=17,28\n";
  EXPECT_THAT(load(content, "12.0", kComma), IsEmpty());
  EXPECT_EQ(params_.Paragraph.ParagraphLeftIndent, 17.28);

  params_ = {};
  EXPECT_THAT(load(content, "12.0", kPoint),
              ElementsAre(fileNotice("Kelva.ini: [Paragraph Setup ] ParagraphLeftIndent = "
                                     "\"17,28\" is not a number with the decimal separator "
                                     "\".\"; the default 17 is used")));
  EXPECT_EQ(params_.Paragraph.ParagraphLeftIndent, 17);
}

TEST_F(SettingsLoaderTest, SessionSwitchesAreOffAtEveryStart) {
  settings_.NoConversion = true;
  settings_.Preprocess = true;
  load("[Options]\nNoConversion=1\nPreprocess=1\n");
  EXPECT_FALSE(settings_.NoConversion);
  EXPECT_FALSE(settings_.Preprocess);
}

TEST_F(SettingsLoaderTest, RevisionFlagsOnlyForVersionsTenAndEleven) {
  const std::string content =
      "[Revisions Data Setup]\nTrackRevisions=1\nPrintRevisions=1\nShowRevisions=1\n";
  for (const char* version : {"10.0", "11.0"}) {
    params_ = {};
    load(content, version);
    EXPECT_TRUE(params_.Revisions.flags.TrackRevisions) << version;
    EXPECT_TRUE(params_.Revisions.flags.ShowRevisions) << version;
  }
  for (const char* version : {"12.0", "9.0", ""}) {
    params_.Revisions.flags = {true, true, true};
    load(content, version);
    EXPECT_FALSE(params_.Revisions.flags.TrackRevisions) << version;
    EXPECT_FALSE(params_.Revisions.flags.PrintRevisions) << version;
    EXPECT_FALSE(params_.Revisions.flags.ShowRevisions) << version;
  }
}

TEST_F(SettingsLoaderTest, CommandLinePresetsWin) {
  const std::string content =
      "[Configuration Data]\nInpPath=/ini/in\nOutPath=/ini/out/\nInpFileName=/ini/in/a.doc\n"
      "InpFormatIndex=4\nOutFormatIndex=5\n";
  settings_.InpPath = "/cmd/in/";
  settings_.InpFileName = "/cmd/in/b.doc";
  settings_.OutPath = "/cmd/out";
  settings_.InpFormatIndex = 2;
  load(content);
  EXPECT_EQ(settings_.InpPath, "/cmd/in/");
  EXPECT_EQ(settings_.InpFileName, "/cmd/in/b.doc");
  EXPECT_EQ(settings_.OutPath, "/cmd/out/");
  EXPECT_EQ(settings_.InpFormatIndex, 2);
  EXPECT_EQ(settings_.OutFormatIndex, 5);  // still the marker, so read

  Settings fresh;
  LoadAllSettings(file(content), fresh, params_, kPoint, "12.0", kNow);
  EXPECT_EQ(fresh.InpPath, "/ini/in/");
  EXPECT_EQ(fresh.OutPath, "/ini/out/");
  EXPECT_EQ(fresh.InpFileName, "/ini/in/a.doc");
  EXPECT_EQ(fresh.InpFormatIndex, 4);
}

TEST_F(SettingsLoaderTest, PathsAreTrimmedEvenInsideQuotes) {
  load("[Configuration Data]\nInpPath=\"  /data/in  \"\nOutPath=   \n");
  EXPECT_EQ(settings_.InpPath, "/data/in/");
  EXPECT_EQ(settings_.OutPath, "");  // an empty path gets no slash
}

TEST_F(SettingsLoaderTest, ShrinkAndGrowTogetherAreBothCleared) {
  const std::string content = "[Font Setup]\nFontShrink=2\nFontGrow=3\n";
  EXPECT_THAT(load(content),
              ElementsAre(LoadNotice{"Font Grow and Shrink both not 0: set to 0", "Warning"}));
  EXPECT_EQ(params_.Font.FontShrink, 0);
  EXPECT_EQ(params_.Font.FontGrow, 0);

  // The reload on Cancel keeps the same rule.
  params_.Font.FontShrink = 5;
  EXPECT_EQ(LoadFontValues(file(content), params_, kPoint).size(), 1u);
  EXPECT_EQ(params_.Font.FontShrink, 0);
  EXPECT_THAT(LoadFontValues(file("[Font Setup]\nFontGrow=3\n"), params_, kPoint), IsEmpty());
  EXPECT_EQ(params_.Font.FontGrow, 3);
}

TEST_F(SettingsLoaderTest, GroupLoadsDiscardEditsInMemory) {
  const IniFile ini = file(
      "[Paragraph Setup ]\nParagraphSpaceAfter=6\n"
      "[Page Setup General]\nGutter=10\nOrientation=1\n");
  params_.Paragraph.ParagraphSpaceAfter = 99;
  params_.Paragraph.ParagraphLeftIndent = 99;
  params_.General.Gutter = 99;
  params_.Portrait.TopMargin = 99;
  LoadParagraphValues(ini, params_, kPoint);
  EXPECT_EQ(params_.Paragraph.ParagraphSpaceAfter, 6);
  EXPECT_EQ(params_.Paragraph.ParagraphLeftIndent, 17);
  EXPECT_EQ(params_.General.Gutter, 99);  // other groups untouched
  LoadPageValues(ini, params_, kPoint);
  EXPECT_EQ(params_.General.Gutter, 10);
  EXPECT_EQ(params_.General.Orientation, 1);
  EXPECT_EQ(params_.Portrait.TopMargin, 56.7);
}

TEST_F(SettingsLoaderTest, FlagsAndValuesLiveInSeparateSections) {
  load(
      "[Font Setup]\nFontName=Arial\n[Font Flags Setup]\nFontName=1\n"
      "[Paragraph Setup ]\nWidowControl=1\n[Paragraph Flags Setup]\nWidowControl=0\n"
      "LeftIndent=0\n[Page Flags Setup Landscape]\nTopMargin=0\n"
      "[Page Flags Setup General]\nGutterPos=1\n[User Data Setup]\nUserAddr=1\n");
  EXPECT_EQ(params_.Font.FontName, "Arial");
  EXPECT_TRUE(params_.Font.flags.FontName);
  EXPECT_TRUE(params_.Paragraph.WidowControl);
  EXPECT_FALSE(params_.Paragraph.flags.WidowControl);
  EXPECT_FALSE(params_.Paragraph.flags.LeftIndent);
  EXPECT_TRUE(params_.Portrait.flags.TopMargin);
  EXPECT_FALSE(params_.Landscape.flags.TopMargin);
  EXPECT_TRUE(params_.General.flags.GutterPos);
  EXPECT_TRUE(params_.UserData.UserAddr);
}

TEST_F(SettingsLoaderTest, TheDateFilterIsOnOnlyWhenTheFileSaysSo) {
  // Without the key the filter stays off: its range defaults to today, which would skip every
  // older document of a new user's first run.
  load("[Conversion Options]\nFromDate=2024-01-01\nToDate=2024-01-31\n");
  EXPECT_FALSE(settings_.IncludeFileDate);
  load("[Conversion Options]\nIncludeFileDate=1\n");
  EXPECT_TRUE(settings_.IncludeFileDate);
  EXPECT_EQ(settings_.FromDate, kNow.dateOnly());
  EXPECT_EQ(settings_.ToDate, kNow.dateOnly());
  load("[Conversion Options]\nIncludeFileDate=0\n");
  EXPECT_FALSE(settings_.IncludeFileDate);
}

TEST_F(SettingsLoaderTest, DatesFollowTheLocaleAndBadOnesFallBackWithANotice) {
  const auto notices = load(
      "[Conversion Options]\nNewFilesDate=01.02.2023 04:05:06\nFromDate=31.12.1950\n"
      "ToDate=2024-01-01\n",
      "12.0", kComma);
  EXPECT_EQ(settings_.NewFilesDate, (DateTime{2023, 2, 1, 4, 5, 6}));
  EXPECT_EQ(settings_.NewFilesDateUtc, platform::localToFileTime(DateTime{2023, 2, 1, 4, 5, 6}));
  EXPECT_EQ(settings_.FromDate, (DateTime{1950, 12, 31}));
  EXPECT_EQ(settings_.ToDate, kNow.dateOnly());
  EXPECT_THAT(notices, ElementsAre(fileNotice(
                           "Kelva.ini: [Conversion Options] ToDate = \"2024-01-01\" is not a date "
                           "like 17.05.2024; the default 17.05.2024 is used")));
}

TEST_F(SettingsLoaderTest, DatesAtTheEndsOfTheCalendar) {
  EXPECT_THAT(load("[Conversion Options]\nNewFilesDate=29.02.2024 23:59:59\nFromDate=01.01.1601\n"
                   "ToDate=31.12.9999\n",
                   "12.0", kComma),
              IsEmpty());
  EXPECT_EQ(settings_.NewFilesDate, (DateTime{2024, 2, 29, 23, 59, 59}));
  EXPECT_EQ(settings_.FromDate, (DateTime{1601, 1, 1}));
  EXPECT_EQ(settings_.ToDate, (DateTime{9999, 12, 31}));

  const auto notices = load(
      "[Conversion Options]\nNewFilesDate=31.12.2024 24:00:00\nFromDate=29.02.2023\n"
      "ToDate=32.12.2024\n",
      "12.0", kComma);
  EXPECT_EQ(notices.size(), 3u);
  EXPECT_EQ(settings_.NewFilesDate, kNow);
  EXPECT_EQ(settings_.FromDate, kNow.dateOnly());
  EXPECT_EQ(settings_.ToDate, kNow.dateOnly());
}

TEST_F(SettingsLoaderTest, TheDefaultDateTakesTheLocalePrecision) {
  // A locale whose time has no seconds drops them, as a stored value would.
  const platform::Locale minutes{"%Y-%m-%d", "%H:%M", '.'};
  load("", "12.0", minutes);
  EXPECT_EQ(settings_.NewFilesDate, (DateTime{2024, 5, 17, 9, 30, 0}));
}

TEST_F(SettingsLoaderTest, VersionControlSettlesOnOneMode) {
  EXPECT_THAT(load("[Conversion Options]\nRenBeforeOverWr=1\n"), IsEmpty());
  EXPECT_FALSE(settings_.NoVersionNum);
  EXPECT_TRUE(settings_.RenBeforeOverWr);

  const auto notices = load("[Conversion Options]\nNoVersionNum=1\nAddVersNum=1\n");
  EXPECT_FALSE(settings_.NoVersionNum);
  EXPECT_TRUE(settings_.AddVersNum);
  EXPECT_FALSE(settings_.RenBeforeOverWr);
  EXPECT_THAT(notices, ElementsAre(fileNotice(
                           "Kelva.ini: [Conversion Options] more than one of NoVersionNum, "
                           "RenBeforeOverWr and AddVersNum is set; AddVersNum is used")));
}

}  // namespace
}  // namespace kelvara::config
