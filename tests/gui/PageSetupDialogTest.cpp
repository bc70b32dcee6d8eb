#include "config/ui/PageSetupDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QToolBar>

#include "DialogFixture.h"
#include "config/SettingsLoader.h"
#include "config/SettingsWriter.h"
#include "format/MeasurementUnits.h"

namespace kelvara::config::ui {
namespace {

using testing::child;
using testing::shown;
using testing::typeInto;

class PageSetupDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogMemory() = DialogMemory{};
    format::FormatParameterSet known;
    known.Portrait.TopMargin = 56.7;
    known.Portrait.LeftMargin = 36;
    known.Portrait.VerticalAlignment = 2;
    known.Landscape.PaperSize = 41;
    known.Landscape.PageWidth = 842;
    known.Landscape.PageHeight = 595;
    known.Landscape.TopMargin = 72;
    known.General.Gutter = 14.4;
    known.General.GutterOnTop = true;
    known.General.MirrorMargins = true;
    known.General.OddAndEvenPagesHeaderFooter = true;
    known.General.Orientation = 1;
    SavePageValues(f.ini, known, locale, true);
    LoadPageValues(f.ini, params, locale);
    settings.MeasurementUnits = format::kMillimetres;
    settings.DiffVertHorizPagParms = true;
  }

  NumericEdit* edit(QWidget* d, const char* name) { return child<NumericEdit>(d, name); }
  QComboBox* combo(QWidget* d, const char* name) { return child<QComboBox>(d, name); }

  testing::IniFixture f;
  platform::Locale locale;
  format::FormatParameterSet params;
  Settings settings;
  testing::PromptLog log;
};

TEST_F(PageSetupDialogTest, PortraitViewShowsTheRecordInTheDisplayUnit) {
  dialogMemory().pageView = 2;
  PageSetupDialog dlg(params, settings, f.ini, locale, {});
  dlg.show();
  EXPECT_EQ(dlg.view(), 2);
  EXPECT_EQ(shown(edit(&dlg, "TopMarginSpE")), "20 mm");   // 56.7 pt
  EXPECT_EQ(shown(edit(&dlg, "LeftMarginSpE")), "13 mm");  // 36 pt = 12.7 mm
  EXPECT_EQ(shown(edit(&dlg, "BottomMarginSpE")), "7 mm");
  EXPECT_EQ(shown(edit(&dlg, "HeaderDistanceSpE")), "7 mm");
  EXPECT_EQ(combo(&dlg, "VerticalAlignmentCB")->currentText(), "Justified");
  EXPECT_EQ(combo(&dlg, "PaperSizeCB")->currentText(), "  A4");
  EXPECT_EQ(combo(&dlg, "PaperSizeCB")->count(), 42);
  EXPECT_TRUE(edit(&dlg, "PageWidthSpE")->isHidden());
  // The orientation list is shown but belongs to the view.
  EXPECT_FALSE(combo(&dlg, "OrientationCB")->isEnabled());
  EXPECT_EQ(combo(&dlg, "OrientationCB")->currentText(), "Vertical");
  EXPECT_TRUE(edit(&dlg, "GutterSpE")->isHidden());
  EXPECT_TRUE(child<QCheckBox>(&dlg, "OddAndEvenCkB")->isHidden());

  dlg.showView(3);
  EXPECT_EQ(combo(&dlg, "PaperSizeCB")->currentText(), "  Custom");
  EXPECT_FALSE(edit(&dlg, "PageWidthSpE")->isHidden());
  EXPECT_EQ(shown(edit(&dlg, "PageWidthSpE")), "297 mm");
  EXPECT_EQ(shown(edit(&dlg, "TopMarginSpE")), "25 mm");
  EXPECT_EQ(combo(&dlg, "OrientationCB")->currentText(), "Horizontal");

  dlg.showView(1);
  auto* tabs = child<QTabWidget>(&dlg, "PageTabs");
  EXPECT_FALSE(tabs->isTabVisible(1));  // paper size
  EXPECT_TRUE(edit(&dlg, "TopMarginSpE")->isHidden());
  EXPECT_EQ(shown(edit(&dlg, "GutterSpE")), "5 mm");  // 14.4 pt = 5.08 mm
  EXPECT_EQ(combo(&dlg, "GutterPosCB")->currentText(), "Top");
  EXPECT_TRUE(child<QCheckBox>(&dlg, "MirrorMarginsCkB")->isChecked());
  EXPECT_FALSE(child<QCheckBox>(&dlg, "TwoPagesOnOneCkB")->isChecked());
  EXPECT_TRUE(child<QCheckBox>(&dlg, "OddAndEvenCkB")->isChecked());
  EXPECT_TRUE(combo(&dlg, "OrientationCB")->isEnabled());
  EXPECT_EQ(combo(&dlg, "OrientationCB")->currentText(), "Horizontal");
}

TEST_F(PageSetupDialogTest, OkWritesEachViewsRecordInPoints) {
  PageSetupDialog dlg(params, settings, f.ini, locale, {});
  dlg.setPrompts(log.prompts());
  dlg.show();
  EXPECT_EQ(dlg.view(), 1);  // General at program start
  typeInto(edit(&dlg, "GutterSpE"), "10");
  child<QCheckBox>(&dlg, "TwoPagesOnOneCkB")->click();
  dlg.showView(2);
  typeInto(edit(&dlg, "TopMarginSpE"), "25");
  QTest::keyClick(edit(&dlg, "BottomMarginSpE"), Qt::Key_Up);  // 7 mm + 1
  combo(&dlg, "PaperSizeCB")->setCurrentIndex(41);
  EXPECT_FALSE(edit(&dlg, "PageWidthSpE")->isHidden());
  typeInto(edit(&dlg, "PageWidthSpE"), "200 mm");
  typeInto(edit(&dlg, "PageHeightSpE"), "300");
  dlg.showView(3);
  typeInto(edit(&dlg, "RightMarginSpE"), "12,5");  // not a number here: refused at OK
  testing::press(&dlg, "OkBtn");
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_EQ(log.errors[0], "Error: Right: \"12,5\" is not a number.");
  EXPECT_TRUE(dlg.isVisible());
  typeInto(edit(&dlg, "RightMarginSpE"), "12.5");
  combo(&dlg, "VerticalAlignmentCB")->setCurrentIndex(3);
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);

  const struct {
    std::string section, key, value;
  } expected[] = {
      {"Page Setup Portrait", "PaperSize", "41"},
      {"Page Setup Portrait", "PageWidth", "567"},  // 200 mm, whole points
      {"Page Setup Portrait", "PageHeight", "850"},
      {"Page Setup Portrait", "TopMargin", "71"},
      {"Page Setup Portrait", "BottomMargin", "23"},  // 8 mm
      {"Page Setup Portrait", "LeftMargin", "37"},    // 13 mm
      {"Page Setup Portrait", "RightMargin", "20"},
      {"Page Setup Portrait", "FooterDistance", "20"},
      {"Page Setup Portrait", "HeaderDistance", "20"},
      {"Page Setup Portrait", "VerticalAlignment", "2"},
      {"Page Setup Landscape", "PaperSize", "41"},
      {"Page Setup Landscape", "PageWidth", "842"},
      {"Page Setup Landscape", "PageHeight", "595"},
      {"Page Setup Landscape", "TopMargin", "71"},
      {"Page Setup Landscape", "RightMargin", "35"},  // 12.5 mm rounds to 12
      {"Page Setup Landscape", "VerticalAlignment", "3"},
      {"Page Setup General", "Gutter", "28"},
      {"Page Setup General", "GutterOnTop", "1"},
      {"Page Setup General", "MirrorMargins", "1"},
      {"Page Setup General", "TwoPagesOnOne", "1"},
      {"Page Setup General", "OddAndEvenPagesHeaderFooter", "1"},
      {"Page Setup General", "FirstPageHeaderFooter", "0"},
      {"Page Setup General", "Orientation", "1"},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(f.key(e.section, e.key), e.value) << e.section << " " << e.key;
  }
  EXPECT_EQ(params.Portrait.TopMargin, 71);
  EXPECT_EQ(params.Landscape.RightMargin, 35);
  EXPECT_EQ(params.General.Gutter, 28);
  EXPECT_EQ(dialogMemory().pageView, 3);
}

TEST_F(PageSetupDialogTest, OrientationIsWrittenOnlyWhileItsListIsEditable) {
  f.ini.writeString("Page Setup General", "Orientation", "1");
  const std::string before = f.key("Page Setup General", "Orientation");
  dialogMemory().pageView = 2;
  PageSetupDialog dlg(params, settings, f.ini, locale, {});
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key("Page Setup General", "Orientation"), before);
  EXPECT_EQ(params.General.Orientation, 1);
}

TEST_F(PageSetupDialogTest, OneViewWithoutTheToolBarSetsBothRecordsAlike) {
  settings.DiffVertHorizPagParms = false;
  settings.MeasurementUnits = format::kInches;
  dialogMemory().pageView = 3;  // not used with one view
  PageSetupDialog dlg(params, settings, f.ini, locale, {});
  dlg.show();
  EXPECT_TRUE(child<QToolBar>(&dlg, "ViewToolBar")->isHidden());
  EXPECT_FALSE(edit(&dlg, "TopMarginSpE")->isHidden());
  EXPECT_FALSE(edit(&dlg, "GutterSpE")->isHidden());
  EXPECT_EQ(shown(edit(&dlg, "TopMarginSpE")), "0.79\"");  // Portrait's 56.7 pt
  EXPECT_EQ(shown(edit(&dlg, "GutterSpE")), "0.2\"");
  QTest::keyClick(edit(&dlg, "TopMarginSpE"), Qt::Key_Up);
  EXPECT_EQ(shown(edit(&dlg, "TopMarginSpE")), "0.89\"");
  combo(&dlg, "OrientationCB")->setCurrentIndex(0);
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key("Page Setup Portrait", "TopMargin"), "64.08");
  EXPECT_EQ(f.key("Page Setup Landscape", "TopMargin"), "64.08");
  EXPECT_EQ(f.key("Page Setup Landscape", "PaperSize"), "7");
  EXPECT_EQ(f.key("Page Setup General", "Orientation"), "0");
  EXPECT_EQ(params.Landscape.SetIndex, 3);
}

TEST_F(PageSetupDialogTest, PointsNeedNoConversionAndKeepEveryDigit) {
  settings.MeasurementUnits = format::kPoints;
  dialogMemory().pageView = 2;
  params.Portrait.BottomMargin = 19.85;
  PageSetupDialog dlg(params, settings, f.ini, locale, {});
  EXPECT_EQ(shown(edit(&dlg, "BottomMarginSpE")), "19.85pt");
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key("Page Setup Portrait", "BottomMargin"), "19.85");
  EXPECT_EQ(f.key("Page Setup Portrait", "TopMargin"), "56.7");
}

TEST_F(PageSetupDialogTest, RepeatedOkCyclesDoNotDrift) {
  settings.MeasurementUnits = format::kCentimetres;
  std::string afterFirst;
  for (int i = 0; i < 5; ++i) {
    PageSetupDialog dlg(params, settings, f.ini, locale, {});
    testing::press(&dlg, "OkBtn");
    if (i == 0) {
      afterFirst = f.bytes();
    }
    EXPECT_EQ(f.bytes(), afterFirst) << "cycle " << i;
  }
}

TEST_F(PageSetupDialogTest, CancelLeavesFileAndMemoryAsTheyWere) {
  const std::string before = f.bytes();
  const double top = params.Portrait.TopMargin;
  std::vector<std::string> topics;
  PageSetupDialog dlg(params, settings, f.ini, locale,
                      [&](const std::string& t) { topics.push_back(t); });
  dlg.showView(2);
  typeInto(edit(&dlg, "TopMarginSpE"), "99");
  testing::press(&dlg, "HelpBtn");
  testing::press(&dlg, "CancelBtn");
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(f.bytes(), before);
  EXPECT_EQ(params.Portrait.TopMargin, top);
  EXPECT_EQ(topics, std::vector<std::string>{"PageSetup.html"});
}

}  // namespace
}  // namespace kelvara::config::ui
