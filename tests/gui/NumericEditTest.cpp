#include "config/ui/NumericEdit.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "DialogFixture.h"
#include "format/MeasurementUnits.h"

namespace kelvara::config::ui {
namespace {

using testing::shown;
using testing::typeInto;

platform::Locale commaLocale() {
  platform::Locale l;
  l.decimalSeparator = ',';
  return l;
}

TEST(NumericEditTest, TypedTextReadsInTheLocaleAndIsRewrittenWhenLeft) {
  NumericEdit e(format::NumericEditorKind::Length, commaLocale());
  e.setUnit(format::kCentimetres);
  EXPECT_EQ(shown(&e), "0 cm");
  QSignalSpy edited(&e, &NumericEdit::edited);
  typeInto(&e, "2,5", false);
  EXPECT_EQ(e.value(), 2.5);
  EXPECT_GE(edited.count(), 1);
  typeInto(&e, "2,50");
  EXPECT_EQ(shown(&e), "2,5 cm");
  typeInto(&e, "letters");
  EXPECT_EQ(e.value(), 0);
  EXPECT_TRUE(e.isUnreadable());
  EXPECT_EQ(shown(&e), "letters");  // kept for the operator to correct
}

TEST(NumericEditTest, ArrowKeysStepAndRoundInEveryUnit) {
  const struct {
    int32_t unit;
    double start;
    const char* up;
    const char* twoDown;
  } cases[] = {{format::kInches, 0.24, "0.34\"", "0.14\""},
               {format::kCentimetres, 0.7, "0.8 cm", "0.6 cm"},
               {format::kMillimetres, 7.25, "8.2 mm", "6.2 mm"},
               {format::kPoints, 19.85, "20.8pt", "18.8pt"},
               {format::kPicas, 1.7, "2.7pi", "0.7pi"}};
  for (const auto& c : cases) {
    NumericEdit e(format::NumericEditorKind::Length, platform::Locale{});
    e.setUnit(c.unit);
    e.setValue(c.start);
    QTest::keyClick(&e, Qt::Key_Up);
    EXPECT_EQ(shown(&e).toStdString(), c.up) << c.unit;
    QTest::keyClick(&e, Qt::Key_Down);
    QTest::keyClick(&e, Qt::Key_Down);
    EXPECT_EQ(shown(&e).toStdString(), c.twoDown) << c.unit;
  }
}

TEST(NumericEditTest, SwitchingTheUnitKeepsTheNumberAndChangesSuffixAndStep) {
  NumericEdit e(format::NumericEditorKind::Length, platform::Locale{});
  e.setValue(2);
  EXPECT_EQ(shown(&e), "2\"");
  e.setUnit(format::kMillimetres);
  EXPECT_EQ(shown(&e), "2 mm");
  QTest::keyClick(&e, Qt::Key_Up);
  EXPECT_EQ(shown(&e), "3 mm");
}

TEST(NumericEditTest, ReadOnlyAndPercentageLimitsDoNotMove) {
  NumericEdit ro(format::NumericEditorKind::Length, platform::Locale{});
  ro.setValue(1);
  ro.setEditorReadOnly(true);
  QSignalSpy edited(&ro, &NumericEdit::edited);
  QTest::keyClick(&ro, Qt::Key_Up);
  EXPECT_EQ(shown(&ro), "1\"");
  EXPECT_EQ(edited.count(), 0);

  NumericEdit perc(format::NumericEditorKind::Percent, platform::Locale{});
  perc.setRange(0, 100);
  perc.setValue(100);
  QTest::keyClick(&perc, Qt::Key_Up);
  EXPECT_EQ(shown(&perc), "100%");
  QTest::keyClick(&perc, Qt::Key_Down);
  EXPECT_EQ(shown(&perc), "99%");
}

}  // namespace
}  // namespace kelvara::config::ui
