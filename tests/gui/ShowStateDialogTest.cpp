#include "config/ui/ShowStateDialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "format/MeasurementUnits.h"

namespace kelvara::config::ui {
namespace {

class ShowStateDialogTest : public ::testing::Test {
 protected:
  ShowStateDialogTest() { settings.MeasurementUnits = format::kPoints; }

  ParameterStatus status(const std::string& version = "11.0") const {
    return describeParameters(params, settings, version, platform::Locale{});
  }

  format::FormatParameterSet params;
  Settings settings;
};

TEST_F(ShowStateDialogTest, OpensWithChecksFromTheFlagsAndTheGridHidden) {
  settings.DiffVertHorizPagParms = false;
  params.Paragraph.flags.PageBreakBefore = true;
  TShowStateDlg dlg(status());
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), "Parameters Status ");
  EXPECT_EQ(dlg.pageLabel()->text(), "Page");
  ASSERT_EQ(dlg.pageList()->count(), 17);
  EXPECT_EQ(dlg.pageList()->item(3)->text(), "Page Top Margin");
  EXPECT_EQ(dlg.pageList()->item(3)->checkState(), Qt::Checked);
  EXPECT_EQ(dlg.pageList()->item(0)->checkState(), Qt::Unchecked);
  EXPECT_EQ(dlg.paragraphList()->item(10)->text(), "Page Break Before");
  EXPECT_EQ(dlg.paragraphList()->item(10)->checkState(), Qt::Checked);
  EXPECT_FALSE(dlg.fullButton()->isVisible());
  EXPECT_FALSE(dlg.valueGrid()->isVisible());
  EXPECT_EQ(dlg.valuesButton()->text(), "Show Values");
  EXPECT_TRUE(dlg.okButton()->isVisible());
  EXPECT_FALSE(dlg.cancelButton()->isVisible());
}

TEST_F(ShowStateDialogTest, ClickingAnItemChangesNothing) {
  TShowStateDlg dlg(status());
  dlg.show();
  QListWidgetItem* item = dlg.paragraphList()->item(1);
  const Qt::CheckState before = item->checkState();
  const QRect rect = dlg.paragraphList()->visualItemRect(item);
  QTest::mouseClick(dlg.paragraphList()->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseClick(dlg.paragraphList()->viewport(), Qt::LeftButton, {},
                    QPoint(rect.left() + 8, rect.center().y()));
  EXPECT_EQ(item->checkState(), before);
  EXPECT_TRUE(dlg.paragraphList()->selectedItems().isEmpty());
  // The user-data and revision items are shown, not enabled.
  EXPECT_FALSE(dlg.userDataList()->item(0)->flags() & Qt::ItemIsEnabled);
  EXPECT_FALSE(dlg.revisionsList()->item(0)->flags() & Qt::ItemIsEnabled);
  EXPECT_TRUE(dlg.fontList()->item(0)->flags() & Qt::ItemIsEnabled);
}

TEST_F(ShowStateDialogTest, RevisionsOnlyForTheGenerationsThatHaveThem) {
  TShowStateDlg with(status("11.0"));
  with.show();
  EXPECT_TRUE(with.revisionsList()->isVisible());
  EXPECT_TRUE(with.revisionsLabel()->isVisible());
  TShowStateDlg without(status("12.0"));
  without.show();
  EXPECT_FALSE(without.revisionsList()->isVisible());
  EXPECT_FALSE(without.revisionsLabel()->isVisible());
}

TEST_F(ShowStateDialogTest, BothRecordsSwitchBetweenTwoColumnsAndOne) {
  settings.DiffVertHorizPagParms = true;
  TShowStateDlg dlg(status());
  dlg.show();
  EXPECT_EQ(dlg.pageLabel()->text(), "Portrait Page      Landscape Page");
  ASSERT_EQ(dlg.pageList()->count(), 27);
  EXPECT_TRUE(dlg.fullButton()->isVisible());
  EXPECT_TRUE(dlg.twoColumns());
  EXPECT_EQ(dlg.fullButton()->text(), "Full");
  // The Landscape ten stand beside the Portrait ones.
  const QRect portraitTop = dlg.pageList()->visualItemRect(dlg.pageList()->item(0));
  const QRect landscapeTop = dlg.pageList()->visualItemRect(dlg.pageList()->item(17));
  EXPECT_EQ(portraitTop.top(), landscapeTop.top());
  EXPECT_GT(landscapeTop.left(), portraitTop.right());

  QTest::mouseClick(dlg.fullButton(), Qt::LeftButton);
  EXPECT_FALSE(dlg.twoColumns());
  EXPECT_EQ(dlg.fullButton()->text(), "Short");
  EXPECT_EQ(dlg.pageList()->visualItemRect(dlg.pageList()->item(17)).left(), portraitTop.left());

  QTest::mouseDClick(dlg.pageList()->viewport(), Qt::LeftButton, {}, portraitTop.center());
  EXPECT_TRUE(dlg.twoColumns());
  EXPECT_EQ(dlg.fullButton()->text(), "Full");
}

TEST_F(ShowStateDialogTest, OneRecordIgnoresTheDoubleClick) {
  settings.DiffVertHorizPagParms = false;
  TShowStateDlg dlg(status());
  dlg.show();
  EXPECT_FALSE(dlg.twoColumns());
  QTest::mouseDClick(dlg.pageList()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(dlg.twoColumns());
}

TEST_F(ShowStateDialogTest, ShowValuesShowsTheGridWithItsRows) {
  settings.MeasurementUnits = format::kInches;
  TShowStateDlg dlg(status());
  dlg.show();
  QTest::mouseClick(dlg.valuesButton(), Qt::LeftButton);
  EXPECT_TRUE(dlg.valueGrid()->isVisible());
  EXPECT_EQ(dlg.valuesButton()->text(), "Hide Values");
  ASSERT_EQ(dlg.valueGrid()->rowCount(), 47);
  EXPECT_EQ(dlg.valueGrid()->horizontalHeaderItem(0)->text(), "Parameter");
  EXPECT_EQ(dlg.valueGrid()->horizontalHeaderItem(1)->text(), "Value");
  EXPECT_EQ(dlg.valueGrid()->item(3, 0)->text(), "Page Top Margin");
  EXPECT_EQ(dlg.valueGrid()->item(3, 1)->text().toStdString(), "0.79 - 0.79");
  EXPECT_EQ(dlg.valueGrid()->item(46, 0)->text(), "Show Revisions");

  QTest::mouseClick(dlg.valuesButton(), Qt::LeftButton);
  EXPECT_FALSE(dlg.valueGrid()->isVisible());
  EXPECT_EQ(dlg.valuesButton()->text(), "Show Values");
}

TEST_F(ShowStateDialogTest, OkCloses) {
  TShowStateDlg dlg(status());
  dlg.show();
  QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace kelvara::config::ui
