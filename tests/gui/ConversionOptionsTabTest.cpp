#include "config/ui/ConversionOptionsTab.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>

#include "DialogFixture.h"
#include "config/ui/QtDateTime.h"
#include "word/FormatTables.h"

namespace kelvara::config::ui {
namespace {

using platform::DateTime;
using testing::child;
using testing::choose;

const DateTime kNow{2024, 5, 17, 9, 30, 15};

class ConversionOptionsTabTest : public ::testing::Test {
 protected:
  explicit ConversionOptionsTabTest(const std::string& version = word::kRevisionRulesVersion)
      : tab(version, locale) {
    tab.setClock([] { return kNow; });
    tab.setSecurityNotice([this](QWidget*, const QString& text) { notices.push_back(text); });
  }

  QCheckBox* box(const char* name) { return child<QCheckBox>(&tab, name); }
  QRadioButton* radio(const char* name) { return child<QRadioButton>(&tab, name); }
  QComboBox* list(const char* name) { return child<QComboBox>(&tab, name); }
  QLineEdit* line(const char* name) { return child<QLineEdit>(&tab, name); }

  // What OK would take from the tab as it stands.
  Settings taken(const Settings& before) const {
    Settings s = before;
    tab.store(s);
    return s;
  }

  platform::Locale locale;
  ConversionOptionsTab tab;
  std::vector<QString> notices;
};

QStringList tabTitles(QTabWidget* tabs) {
  QStringList titles;
  for (int i = 0; i < tabs->count(); ++i) {
    titles << tabs->tabText(i);
  }
  return titles;
}

QStringList captions(QWidget* page) {
  QStringList out;
  for (auto* b : page->findChildren<QAbstractButton*>()) {
    out << b->text();
  }
  for (auto* g : page->findChildren<QGroupBox*>()) {
    out << g->title();
  }
  for (auto* l : page->findChildren<QLabel*>()) {
    out << l->text();
  }
  return out;
}

// Settings far from the defaults, consistent with what the tab can show.
Settings known() {
  Settings s;
  s.MeasurementUnits = 2;
  s.ExtConv = true;
  s.SingleFile = true;
  s.RemovePersonalInfo = true;
  s.AddPagesNumbers = false;
  s.AddOrigExtToFilNam = true;
  s.Preprocess = true;
  s.ScanSubDir = false;
  s.ScanHFolders = true;
  s.ScanHFiles = true;
  s.DiffVertHorizPagParms = false;
  s.RemoveEmptySections = false;
  s.RemoveCRAtEndOfSections = false;
  s.OutDirTree = false;
  s.InsLineBreaks = true;
  s.AllowSubst = true;
  s.LineTerm = 1;
  s.DateMode = 2;
  s.NewFilesDate = DateTime{2021, 3, 4, 13, 14, 15};
  s.TimeCheck = true;
  s.UseCreationDate = false;
  s.UseLastWriteBoth = true;
  s.CopyBoth = false;
  s.CopyFilesAttr = false;
  s.ReadOnlyAttrb = 0;
  s.HiddenAttrb = 1;
  s.ArchiveAttrb = 2;
  s.SystemAttrb = 0;
  s.CopyFoldersOwner = false;
  s.CopyFoldersSACL = false;
  s.FoldersCopySecurityAll = false;
  s.FolderTakeOwnership = false;
  s.CopyFilesDACL = false;
  s.FilesCopySecurityAll = false;
  s.IncludeFilesAttributes = true;
  s.IncludeReadOnly = 1;
  s.IncludeHidden = 0;
  s.IncludeArchive = 2;
  s.IncludeSystem = 1;
  s.IncludeFileDate = true;
  s.FromDate = DateTime{2001, 2, 3};
  s.ToDate = DateTime{2019, 12, 31};
  s.IncludeFilesAtLeastesAttr = true;
  s.FileMinSize = 10 * 1024;
  s.ByteKbyte1 = 1;
  s.IncludeFilesNoLargerAttr = true;
  s.FileMaxSize = 7000000000LL;
  s.NoVersionNum = false;
  s.RenBeforeOverWr = true;
  s.FileNamePrefix = "old_";
  s.FileNameSuffix = "_bak";
  s.LogErrors = false;
  s.LogFoldersOperation = false;
  s.LogSlippedFiles = false;
  s.LogSecurityChange = false;
  return s;
}

TEST_F(ConversionOptionsTabTest, InnerTabsAndCaptionsAreTheDialogsOwn) {
  EXPECT_EQ(tabTitles(tab.innerTabs()), (QStringList{"General", "Dates", "Attributes", "Security",
                                                     "Filters", "Version ctrl", "Log"}));
  const QStringList all = captions(&tab);
  for (const char* c : {"Measurement Units:",
                        "Use external converter",
                        "Remove Personal info",
                        "Add Orig. Extn. to FileName",
                        "Preprocess (WordStar docs.)",
                        "Diff. Parms.Vert./Horiz Pag.",
                        "Rem. CR at EndOfSections",
                        "Text Files",
                        "Allow chars substit.",
                        "Line Terminator",
                        "CR/LF",
                        "File date",
                        "Change target file date to:",
                        "File age coherence",
                        "Use LastWrite timestamp for both",
                        "Copy both Creation && LastWrite Time",
                        "Copy file/folders attributes",
                        "Adjust target attributes to:",
                        "NTFS Folder Security",
                        "NTFS File Security",
                        "Copy Folders Permissions (DACL)",
                        "Copy Files Auditing (SACL)",
                        "Take the Ownership",
                        "Set everyone RWED",
                        "Include only files with the following attributes",
                        "Include only files dated:",
                        "Include newer then:",
                        "Include older than:",
                        "Include files at least",
                        "Include files no larger then",
                        "Rename files before overwriting",
                        "Add version number to latest copy",
                        "Add prefix:",
                        "Add suffix:",
                        "Forlder operations",
                        "Skipped files",
                        "Attributes changes"}) {
    EXPECT_TRUE(all.contains(c)) << c;
  }
  EXPECT_EQ(list("NewerTypeCB")->count(), 4);
  EXPECT_EQ(list("ByteKbyte2CB")->itemText(1), "Kbytes");
  // The line terminator keeps its value but is never shown.
  EXPECT_TRUE(child<QGroupBox>(&tab, "LineTermRG")->isHidden());
  EXPECT_FALSE(child<QGroupBox>(&tab, "TextFilesGB")->isHidden());
}

TEST_F(ConversionOptionsTabTest, WhatIsLoadedIsWhatOkTakesBack) {
  const Settings in = known();
  tab.setSecurityAvailable(true, true);
  tab.load(in);
  Settings out;  // defaults everywhere
  out.FolderSetEveryoneRWED = true;
  tab.store(out);
#define KELVARA_SAME(f) EXPECT_EQ(out.f, in.f) << #f
  KELVARA_SAME(MeasurementUnits);
  KELVARA_SAME(ExtConv);
  KELVARA_SAME(SingleFile);
  KELVARA_SAME(RemovePersonalInfo);
  KELVARA_SAME(NoConversion);
  KELVARA_SAME(AddPagesNumbers);
  KELVARA_SAME(AddOrigExtToFilNam);
  KELVARA_SAME(Preprocess);
  KELVARA_SAME(ScanSubDir);
  KELVARA_SAME(ScanHFolders);
  KELVARA_SAME(ScanHFiles);
  KELVARA_SAME(DiffVertHorizPagParms);
  KELVARA_SAME(RemoveEmptySections);
  KELVARA_SAME(RemoveCRAtEndOfSections);
  KELVARA_SAME(OutDirTree);
  KELVARA_SAME(InsLineBreaks);
  KELVARA_SAME(AllowSubst);
  KELVARA_SAME(LineTerm);
  KELVARA_SAME(DateMode);
  KELVARA_SAME(NewFilesDate);
  KELVARA_SAME(TimeCheck);
  KELVARA_SAME(UseCreationDate);
  KELVARA_SAME(UseLastWriteBoth);
  KELVARA_SAME(CopyBoth);
  KELVARA_SAME(CopyFilesAttr);
  KELVARA_SAME(ReadOnlyAttrb);
  KELVARA_SAME(HiddenAttrb);
  KELVARA_SAME(ArchiveAttrb);
  KELVARA_SAME(SystemAttrb);
  KELVARA_SAME(CopyFoldersOwner);
  KELVARA_SAME(CopyFoldersDACL);
  KELVARA_SAME(CopyFoldersGroup);
  KELVARA_SAME(CopyFoldersSACL);
  KELVARA_SAME(FolderTakeOwnership);
  KELVARA_SAME(FoldersCopySecurityAll);
  KELVARA_SAME(CopyFilesOwner);
  KELVARA_SAME(CopyFilesDACL);
  KELVARA_SAME(CopyFilesGroup);
  KELVARA_SAME(CopyFilesSACL);
  KELVARA_SAME(FileTakeOwnership);
  KELVARA_SAME(FilesCopySecurityAll);
  KELVARA_SAME(IncludeFilesAttributes);
  KELVARA_SAME(IncludeReadOnly);
  KELVARA_SAME(IncludeHidden);
  KELVARA_SAME(IncludeArchive);
  KELVARA_SAME(IncludeSystem);
  KELVARA_SAME(IncludeFileDate);
  KELVARA_SAME(FromDate);
  KELVARA_SAME(ToDate);
  KELVARA_SAME(IncludeFilesAtLeastesAttr);
  KELVARA_SAME(FileMinSize);
  KELVARA_SAME(ByteKbyte1);
  KELVARA_SAME(IncludeFilesNoLargerAttr);
  KELVARA_SAME(FileMaxSize);
  KELVARA_SAME(ByteKbyte2);
  KELVARA_SAME(NoVersionNum);
  KELVARA_SAME(RenBeforeOverWr);
  KELVARA_SAME(AddVersNum);
  KELVARA_SAME(FileNamePrefix);
  KELVARA_SAME(FileNameSuffix);
  KELVARA_SAME(LogErrors);
  KELVARA_SAME(LogDateChanges);
  KELVARA_SAME(LogFileRenames);
  KELVARA_SAME(LogFoldersOperation);
  KELVARA_SAME(LogSlippedFiles);
  KELVARA_SAME(LogWarnings);
  KELVARA_SAME(LogDeletions);
  KELVARA_SAME(LogAttributesChange);
  KELVARA_SAME(LogSecurityChange);
#undef KELVARA_SAME
  EXPECT_EQ(out.NewFilesDateUtc, platform::localToFileTime(in.NewFilesDate));
  // "Set everyone RWED" is shown, not taken.
  EXPECT_TRUE(out.FolderSetEveryoneRWED);
}

TEST_F(ConversionOptionsTabTest, GeneralInterlocks) {
  Settings s;
  s.NoConversion = true;
  tab.load(s);
  EXPECT_TRUE(box("ScanSubDirCkB")->isEnabled());
  box("SingleFileCkB")->click();
  for (const char* name : {"ScanSubDirCkB", "ScanHFoldersCkB", "ScanHFilesCkB", "OutDirTreeCkB"}) {
    EXPECT_FALSE(box(name)->isEnabled()) << name;
  }
  EXPECT_TRUE(box("RemoveEmptySectionsCkB")->isEnabled());
  box("SingleFileCkB")->click();
  EXPECT_TRUE(box("OutDirTreeCkB")->isEnabled());

  EXPECT_TRUE(box("NoConversionCkB")->isChecked());
  box("ExtConvCkB")->click();
  EXPECT_FALSE(box("NoConversionCkB")->isChecked());

  // A single-file setting opens with the scan boxes already disabled.
  s.SingleFile = true;
  tab.load(s);
  EXPECT_FALSE(box("ScanHFilesCkB")->isEnabled());
}

TEST_F(ConversionOptionsTabTest, DiffBoxIsReadAndClearedAsItStands) {
  tab.load(Settings{});
  EXPECT_TRUE(tab.diffVertHorizPagParms());
  tab.setDiffVertHorizPagParms(false);
  EXPECT_FALSE(box("DiffVertHorizPagParmsCkB")->isChecked());
  box("DiffVertHorizPagParmsCkB")->click();
  EXPECT_TRUE(tab.diffVertHorizPagParms());
  EXPECT_TRUE(taken(Settings{}).DiffVertHorizPagParms);
}

TEST_F(ConversionOptionsTabTest, PersonalInfoShownForThisPlatformsVersion) {
  EXPECT_FALSE(box("RemovePersonalInfoCkB")->isHidden());
  EXPECT_TRUE(box("RemovePersonalInfoCkB")->isEnabled());
}

class NewerOfficeTest : public ConversionOptionsTabTest {
 protected:
  NewerOfficeTest() : ConversionOptionsTabTest("12.0") {}
};

TEST_F(NewerOfficeTest, PersonalInfoHiddenAndStoredFalse) {
  Settings s;
  s.RemovePersonalInfo = true;
  tab.load(s);
  EXPECT_TRUE(box("RemovePersonalInfoCkB")->isHidden());
  EXPECT_FALSE(box("RemovePersonalInfoCkB")->isEnabled());
  EXPECT_FALSE(taken(s).RemovePersonalInfo);
}

TEST_F(ConversionOptionsTabTest, DatePickersFollowTheModeAndLoadOnlyForAFixedDate) {
  Settings s;
  s.DateMode = 0;
  s.NewFilesDate = DateTime{2021, 3, 4, 13, 14, 15};
  s.TimeCheck = true;
  tab.load(s);
  auto* date = child<QDateEdit>(&tab, "NewFilesDateDTP");
  auto* time = child<QTimeEdit>(&tab, "NewFilesTimeDTP");
  EXPECT_EQ(date->date(), QDate(2024, 5, 17));  // not loaded outside mode 2
  EXPECT_FALSE(box("TimeCheckCkB")->isChecked());
  EXPECT_FALSE(date->isEnabled());
  EXPECT_TRUE(box("CopyBothCkB")->isEnabled());
  // Outside mode 2 the fixed date is left as it was.
  EXPECT_EQ(taken(s).NewFilesDate, s.NewFilesDate);
  EXPECT_TRUE(taken(s).TimeCheck);

  radio("DateModeRG1")->click();
  EXPECT_FALSE(box("CopyBothCkB")->isEnabled());
  EXPECT_FALSE(date->isEnabled());
  EXPECT_EQ(taken(s).DateMode, 1);

  radio("DateModeRG2")->click();
  EXPECT_TRUE(date->isEnabled());
  EXPECT_TRUE(box("TimeCheckCkB")->isEnabled());
  EXPECT_FALSE(time->isEnabled());  // its box is off
  date->setDate(QDate(2022, 8, 9));
  time->setTime(QTime(1, 2, 3));
  Settings out = taken(s);
  // No time picked: the time of day at OK.
  EXPECT_EQ(out.NewFilesDate, (DateTime{2022, 8, 9, 9, 30, 15}));
  EXPECT_FALSE(out.TimeCheck);
  EXPECT_EQ(out.NewFilesDateUtc, platform::localToFileTime(out.NewFilesDate));

  box("TimeCheckCkB")->click();
  EXPECT_TRUE(time->isEnabled());
  out = taken(s);
  EXPECT_EQ(out.NewFilesDate, (DateTime{2022, 8, 9, 1, 2, 3}));
  EXPECT_TRUE(out.TimeCheck);

  s.DateMode = 2;
  tab.load(s);
  EXPECT_EQ(date->date(), QDate(2021, 3, 4));
  EXPECT_EQ(time->time(), QTime(13, 14, 15));
  EXPECT_TRUE(box("TimeCheckCkB")->isChecked());
}

TEST_F(ConversionOptionsTabTest, AgeCoherenceRadiosAreExclusive) {
  tab.load(Settings{});
  EXPECT_TRUE(radio("UseCreationDateRB")->isChecked());
  radio("UseLastWriteBothRB")->click();
  const Settings out = taken(Settings{});
  EXPECT_FALSE(out.UseCreationDate);
  EXPECT_TRUE(out.UseLastWriteBoth);
}

TEST_F(ConversionOptionsTabTest, AttributesTakenOnlyWhenAdjusted) {
  Settings s;
  s.CopyFilesAttr = true;
  s.ReadOnlyAttrb = 1;
  tab.load(s);
  auto* readOnly = child<QGroupBox>(&tab, "ReadOnlyAttrbRG");
  EXPECT_FALSE(readOnly->isEnabled());
  EXPECT_TRUE(radio("ReadOnlyAttrbRG1")->isChecked());
  radio("ReadOnlyAttrbRG0")->setChecked(true);  // changed, but copying wins
  EXPECT_EQ(taken(s).ReadOnlyAttrb, 1);

  radio("AdjustFilesAttrRB")->click();
  EXPECT_TRUE(readOnly->isEnabled());
  EXPECT_FALSE(radio("CopyFilesAttrRB")->isChecked());
  radio("SystemAttrbRG1")->click();
  const Settings out = taken(s);
  EXPECT_FALSE(out.CopyFilesAttr);
  EXPECT_EQ(out.ReadOnlyAttrb, 0);
  EXPECT_EQ(out.SystemAttrb, 1);
}

TEST_F(ConversionOptionsTabTest, SecurityShownOnlyWhenAvailable) {
  EXPECT_FALSE(tab.securityShown());
  EXPECT_FALSE(tab.innerTabs()->isTabVisible(ConversionOptionsTab::kSecurityTab));
  tab.setCurrentInnerTab(ConversionOptionsTab::kSecurityTab);
  EXPECT_EQ(tab.currentInnerTab(), 0);  // a hidden page is not reopened

  // Hidden, its options still go back as they came.
  Settings s;
  s.CopyFilesOwner = false;
  tab.load(s);
  EXPECT_FALSE(taken(Settings{}).CopyFilesOwner);

  tab.setSecurityAvailable(true, true);
  EXPECT_TRUE(tab.securityShown());
  tab.setCurrentInnerTab(ConversionOptionsTab::kSecurityTab);
  EXPECT_EQ(tab.currentInnerTab(), ConversionOptionsTab::kSecurityTab);
  tab.setCurrentInnerTab(6);
  EXPECT_EQ(tab.currentInnerTab(), 6);
}

TEST_F(ConversionOptionsTabTest, CopyAllAndItsFourParts) {
  tab.setSecurityAvailable(true, true);
  tab.load(Settings{});
  EXPECT_TRUE(box("FilesCopyAllCkB")->isChecked());
  box("FilesSACLCkB")->click();
  EXPECT_FALSE(box("FilesCopyAllCkB")->isChecked());
  EXPECT_TRUE(box("FoldersCopyAllCkB")->isChecked());  // the other group keeps its own

  box("FoldersOwnerCkB")->click();
  box("FoldersGroupCkB")->click();
  box("FoldersCopyAllCkB")->click();
  for (const char* name :
       {"FoldersOwnerCkB", "FoldersDACLCkB", "FoldersGroupCkB", "FoldersSACLCkB"}) {
    EXPECT_TRUE(box(name)->isChecked()) << name;
  }
  // Unchecking "Copy All" leaves the parts as they are.
  box("FoldersCopyAllCkB")->click();
  EXPECT_TRUE(box("FoldersOwnerCkB")->isChecked());

  box("FilesSetEveryoneRWEDCkB")->click();
  const Settings out = taken(Settings{});
  EXPECT_FALSE(out.CopyFilesSACL);
  EXPECT_FALSE(out.FilesCopySecurityAll);
  EXPECT_FALSE(out.FoldersCopySecurityAll);
  EXPECT_FALSE(out.FileSetEveryoneRWED);
}

TEST_F(ConversionOptionsTabTest, ShowingSecurityWithoutAdministratorSaysSoEachTime) {
  tab.setSecurityAvailable(true, false);
  tab.load(Settings{});
  tab.show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(notices.empty());  // the General page is the one shown
  tab.setCurrentInnerTab(ConversionOptionsTab::kSecurityTab);
  QCoreApplication::processEvents();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0],
            "To change security data you need Administrator privileges.\r\nActually you havn't "
            "them so you can access this page but the settings wont have any practical effects");
  tab.setCurrentInnerTab(0);
  tab.setCurrentInnerTab(ConversionOptionsTab::kSecurityTab);
  QCoreApplication::processEvents();
  EXPECT_EQ(notices.size(), 2u);

  tab.setSecurityAvailable(true, true);
  tab.setCurrentInnerTab(0);
  tab.setCurrentInnerTab(ConversionOptionsTab::kSecurityTab);
  QCoreApplication::processEvents();
  EXPECT_EQ(notices.size(), 2u);
}

TEST_F(ConversionOptionsTabTest, FilterAttributesEnabledByTheirBox) {
  Settings s;
  s.IncludeFilesAttributes = false;
  s.IncludeHidden = 1;
  tab.load(s);
  EXPECT_FALSE(child<QGroupBox>(&tab, "IncludeHiddenRG")->isEnabled());
  EXPECT_TRUE(radio("IncludeHiddenRG1")->isChecked());
  box("IncludeFilesAttributesCkB")->click();
  EXPECT_TRUE(child<QGroupBox>(&tab, "IncludeHiddenRG")->isEnabled());
  radio("IncludeSystemRG0")->click();
  const Settings out = taken(s);
  EXPECT_TRUE(out.IncludeFilesAttributes);
  EXPECT_EQ(out.IncludeSystem, 0);
  EXPECT_EQ(out.IncludeHidden, 1);
}

TEST_F(ConversionOptionsTabTest, DateAndAgeFiltersExcludeEachOther) {
  Settings s;
  s.IncludeFileDate = true;
  s.FromDate = DateTime{2010, 1, 2};
  s.ToDate = DateTime{2011, 3, 4};
  s.NewerCnt = 5;  // box off: not loaded
  s.NewerType = 2;
  tab.load(s);
  EXPECT_EQ(child<QDateEdit>(&tab, "FromDateDTP")->date(), QDate(2010, 1, 2));
  EXPECT_EQ(child<QDateEdit>(&tab, "ToDateDTP")->date(), QDate(2011, 3, 4));
  EXPECT_TRUE(child<QDateEdit>(&tab, "ToDateDTP")->isEnabled());
  EXPECT_EQ(child<QSpinBox>(&tab, "NewerCntSpE")->value(), 0);
  EXPECT_FALSE(child<QSpinBox>(&tab, "NewerCntSpE")->isEnabled());

  box("IncludeFilesNewerThenCkB")->click();
  EXPECT_FALSE(box("IncludeFileDateCkB")->isChecked());
  EXPECT_FALSE(child<QDateEdit>(&tab, "FromDateDTP")->isEnabled());
  EXPECT_TRUE(child<QSpinBox>(&tab, "NewerCntSpE")->isEnabled());
  child<QSpinBox>(&tab, "NewerCntSpE")->setValue(3);
  choose(list("NewerTypeCB"), 1);
  box("IncludeOlderThenCkB")->click();
  child<QSpinBox>(&tab, "OlderCntSpE")->setValue(2);
  choose(list("OlderTypeCB"), 3);
  Settings out = taken(s);
  EXPECT_FALSE(out.IncludeFileDate);
  EXPECT_EQ(out.FromDate, s.FromDate);  // not taken while off
  EXPECT_TRUE(out.IncludeFilesNewerThen);
  EXPECT_EQ(out.NewerCnt, 3);
  EXPECT_EQ(out.NewerType, 1);
  EXPECT_TRUE(out.IncludeOlderThen);
  EXPECT_EQ(out.OlderCnt, 2);
  EXPECT_EQ(out.OlderType, 3);

  box("IncludeFileDateCkB")->click();
  EXPECT_FALSE(box("IncludeFilesNewerThenCkB")->isChecked());
  EXPECT_FALSE(box("IncludeOlderThenCkB")->isChecked());
  child<QDateEdit>(&tab, "FromDateDTP")->setDate(QDate(2015, 6, 7));
  out = taken(s);
  EXPECT_TRUE(out.IncludeFileDate);
  EXPECT_EQ(out.FromDate, (DateTime{2015, 6, 7}));
  EXPECT_FALSE(out.IncludeFilesNewerThen);
  EXPECT_FALSE(out.IncludeOlderThen);
  EXPECT_EQ(out.NewerCnt, s.NewerCnt);  // counts of an unchecked box are left as they were
}

TEST_F(ConversionOptionsTabTest, AgeCountsLoadWhenTheirBoxIsOn) {
  Settings s;
  s.IncludeOlderThen = true;
  s.OlderCnt = 7;
  s.OlderType = 2;
  tab.load(s);
  EXPECT_EQ(child<QSpinBox>(&tab, "OlderCntSpE")->value(), 7);
  EXPECT_EQ(list("OlderTypeCB")->currentText(), "month(s)");
}

TEST_F(ConversionOptionsTabTest, MinimumSizeSwitchedToKbytesStoresWholeKbytes) {
  Settings s;
  s.IncludeFilesAtLeastesAttr = true;
  s.FileMinSize = 5000;
  tab.load(s);
  EXPECT_EQ(line("MinSizeSpE")->text(), "5000");
  EXPECT_TRUE(line("MinSizeSpE")->isEnabled());
  EXPECT_FALSE(line("MaxSizeSpE")->isEnabled());
  choose(list("ByteKbyte1CB"), 1);
  EXPECT_EQ(line("MinSizeSpE")->text(), "4");
  Settings out = taken(s);
  EXPECT_EQ(out.FileMinSize, 4096);
  EXPECT_EQ(out.ByteKbyte1, 1);

  choose(list("ByteKbyte1CB"), 0);
  EXPECT_EQ(line("MinSizeSpE")->text(), "4096");
  EXPECT_EQ(taken(s).FileMinSize, 4096);
}

TEST_F(ConversionOptionsTabTest, SizesInKbytesAreShownDividedAndStoredAs64Bit) {
  Settings s;
  s.FileMaxSize = 7000000000LL;
  s.ByteKbyte2 = 1;
  tab.load(s);
  EXPECT_EQ(list("ByteKbyte2CB")->currentText(), "Kbytes");
  EXPECT_EQ(line("MaxSizeSpE")->text(), "6835937");
  line("MaxSizeSpE")->setText("5000000");
  EXPECT_EQ(taken(s).FileMaxSize, 5120000000LL);
  line("MaxSizeSpE")->clear();  // an empty field reads as 0
  EXPECT_EQ(taken(s).FileMaxSize, 0);
}

TEST_F(ConversionOptionsTabTest, SizeFieldsAcceptDigitsOnly) {
  tab.load(Settings{});
  QLineEdit* min = line("MinSizeSpE");
  min->clear();
  min->setEnabled(true);
  QTest::keyClicks(min, "1x2-3");
  EXPECT_EQ(min->text(), "123");
}

TEST_F(ConversionOptionsTabTest, VersionControlFromTheThreeFlags) {
  Settings s;
  s.NoVersionNum = true;  // as opening sets it
  s.RenBeforeOverWr = true;
  tab.load(s);
  EXPECT_TRUE(radio("RenBeforeOverWrRB")->isChecked());
  EXPECT_FALSE(radio("NoVersionNumRB")->isChecked());
  EXPECT_TRUE(line("FileNamePrefixEdit")->isEnabled());
  Settings out = taken(s);
  EXPECT_FALSE(out.NoVersionNum);
  EXPECT_TRUE(out.RenBeforeOverWr);
  EXPECT_FALSE(out.AddVersNum);

  radio("AddVersNumRB")->click();
  EXPECT_FALSE(radio("RenBeforeOverWrRB")->isChecked());
  EXPECT_FALSE(line("FileNamePrefixEdit")->isEnabled());
  EXPECT_FALSE(line("FileNameSuffixEdit")->isEnabled());
  out = taken(s);
  EXPECT_TRUE(out.AddVersNum);
  EXPECT_FALSE(out.RenBeforeOverWr);

  // Nothing set: "None", which OK stores as set.
  tab.load(Settings{});
  EXPECT_TRUE(radio("NoVersionNumRB")->isChecked());
  EXPECT_FALSE(line("FileNamePrefixEdit")->isEnabled());
  EXPECT_TRUE(taken(Settings{}).NoVersionNum);
}

TEST_F(ConversionOptionsTabTest, LogBoxesEachEditTheirOption) {
  tab.load(Settings{});
  box("LogFoldersOperationCkB")->click();
  box("LogSlippedFilesCkB")->click();
  Settings before;
  before.LogRetries = false;  // no control: left alone
  const Settings out = taken(before);
  EXPECT_FALSE(out.LogFoldersOperation);
  EXPECT_FALSE(out.LogSlippedFiles);
  EXPECT_TRUE(out.LogErrors);
  EXPECT_TRUE(out.LogSecurityChange);
  EXPECT_FALSE(out.LogRetries);
}

TEST_F(ConversionOptionsTabTest, Screenshots) {
  tab.setSecurityAvailable(true, true);
  tab.load(known());
  tab.resize(tab.sizeHint());
  tab.show();
  for (int i = 0; i < tab.innerTabs()->count(); ++i) {
    tab.setCurrentInnerTab(i);
    QCoreApplication::processEvents();
    testing::screenshot(&tab, "convopts-tab" + std::to_string(i));
  }
  EXPECT_TRUE(notices.empty());
}

}  // namespace
}  // namespace kelvara::config::ui

namespace kelvara::config::ui {
namespace {

TEST(PickerFormatTest, LocalePatternsBecomeQtDisplayFormats) {
  EXPECT_EQ(qtDisplayFormat("%d.%m.%Y"), "dd.MM.yyyy");
  EXPECT_EQ(qtDisplayFormat("%m/%d/%y"), "MM/dd/yy");
  EXPECT_EQ(qtDisplayFormat("%e %b %Y"), "d MMM yyyy");
  EXPECT_EQ(qtDisplayFormat("%I:%M:%S %p"), "hh:mm:ss AP");
  // Letters outside a code are quoted so that Qt does not read them as fields.
  EXPECT_EQ(qtDisplayFormat("%Yy%mm"), "yyyy'y'MM'm'");
}

TEST(PickerFormatTest, PickersShowDatesTheLocalesWay) {
  const platform::Locale dotted{"%d.%m.%Y", "%H:%M:%S", ','};
  ConversionOptionsTab tab(word::kRevisionRulesVersion, dotted);
  Settings s;
  s.DateMode = 2;
  s.NewFilesDate = DateTime{2021, 3, 4, 13, 14, 15};
  s.IncludeFileDate = true;
  s.ToDate = DateTime{2019, 12, 31};
  tab.load(s);
  EXPECT_EQ(child<QDateEdit>(&tab, "NewFilesDateDTP")->text(), "04.03.2021");
  EXPECT_EQ(child<QTimeEdit>(&tab, "NewFilesTimeDTP")->text(), "13:14:15");
  EXPECT_EQ(child<QDateEdit>(&tab, "ToDateDTP")->text(), "31.12.2019");
}

}  // namespace
}  // namespace kelvara::config::ui
