#include "config/ui/ParagraphSetupDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>

#include "DialogFixture.h"
#include "config/SettingsLoader.h"
#include "config/SettingsWriter.h"
#include "format/MeasurementUnits.h"

namespace kelvara::config::ui {
namespace {

using testing::child;
using testing::shown;
using testing::typeInto;

class ParagraphSetupDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogMemory() = DialogMemory{};
    format::FormatParameterSet known;
    known.Paragraph.ParagraphAlignment = 3;
    known.Paragraph.ParagraphLeftIndent = 17;
    known.Paragraph.ParagraphRightIndent = 36;
    known.Paragraph.ParagraphFirstLineIndent = 7.2;
    known.Paragraph.ParagraphSpaceBefore = 6;
    known.Paragraph.ParagraphSpaceAfter = 3.5;
    known.Paragraph.ParagraphLineSpacingRule = 4;
    known.Paragraph.ParagraphLineSpacing = 15;
    known.Paragraph.WidowControl = true;
    known.Paragraph.KeepWithNext = false;
    known.Paragraph.Hyphenation = false;
    SaveParagraphValues(f.ini, known, locale);
    LoadParagraphValues(f.ini, params, locale);
    settings.MeasurementUnits = format::kInches;
  }

  NumericEdit* edit(QWidget* d, const char* name) { return child<NumericEdit>(d, name); }

  testing::IniFixture f;
  platform::Locale locale;
  format::FormatParameterSet params;
  Settings settings;
  testing::PromptLog log;
};

TEST_F(ParagraphSetupDialogTest, LoadsEveryControlAndOkWritesTheSection) {
  ParagraphSetupDialog dlg(params, settings, f.ini, locale, {});
  dlg.setPrompts(log.prompts());
  auto* alignment = child<QComboBox>(&dlg, "AlignmentCB");
  EXPECT_EQ(alignment->currentText(), "Justified");
  EXPECT_EQ(shown(edit(&dlg, "LeftIndentSpE")), "0.24\"");
  EXPECT_EQ(shown(edit(&dlg, "RightIndentSpE")), "0.5\"");
  EXPECT_EQ(shown(edit(&dlg, "FirstLineIndentSpE")), "0.1\"");
  EXPECT_EQ(shown(edit(&dlg, "SpaceBeforeSpE")), "6 pt");
  EXPECT_EQ(shown(edit(&dlg, "SpaceAfterSpE")), "3.5 pt");
  EXPECT_EQ(child<QComboBox>(&dlg, "LineSpacingRuleCB")->currentText(), "Exactly");
  EXPECT_EQ(shown(edit(&dlg, "LineSpacingSpE")), "15 pt");
  EXPECT_TRUE(child<QCheckBox>(&dlg, "WidowControlCkB")->isChecked());
  EXPECT_FALSE(child<QCheckBox>(&dlg, "KeepWithNextCkB")->isChecked());
  EXPECT_TRUE(child<QCheckBox>(&dlg, "KeepTogetherCkB")->isChecked());
  EXPECT_FALSE(child<QCheckBox>(&dlg, "PageBreakBeforeCkB")->isChecked());
  EXPECT_FALSE(child<QCheckBox>(&dlg, "NoLineNumberCkB")->isChecked());
  EXPECT_TRUE(child<QCheckBox>(&dlg, "DontHyphenateCkB")->isChecked());

  alignment->setCurrentIndex(1);
  typeInto(edit(&dlg, "RightIndentSpE"), "1");
  QTest::keyClick(edit(&dlg, "SpaceBeforeSpE"), Qt::Key_Up);  // steps of 6
  QTest::keyClick(edit(&dlg, "SpaceAfterSpE"), Qt::Key_Down);
  typeInto(edit(&dlg, "LineSpacingSpE"), "18.25 pt");
  child<QCheckBox>(&dlg, "PageBreakBeforeCkB")->click();
  child<QCheckBox>(&dlg, "DontHyphenateCkB")->click();
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(log.errors.empty());

  const std::string sec = "Paragraph Setup ";
  const struct {
    std::string key, value;
  } expected[] = {{"ParagraphAlignment", "1"},
                  {"ParagraphLeftIndent", "17.28"},
                  {"ParagraphRightIndent", "72"},
                  {"ParagraphFirstLineIndent", "7.2"},
                  {"ParagraphSpaceBefore", "12"},
                  {"ParagraphSpaceAfter", "0"},
                  {"ParagraphLineSpacingRule", "4"},
                  {"ParagraphLineSpacing", "18.25"},
                  {"WidowControl", "1"},
                  {"KeepWithNext", "0"},
                  {"KeepTogether", "1"},
                  {"PageBreakBefore", "1"},
                  {"NoLineNumber", "0"},
                  {"Hyphenation", "1"}};
  for (const auto& e : expected) {
    EXPECT_EQ(f.key(sec, e.key), e.value) << e.key;
  }
  EXPECT_EQ(params.Paragraph.ParagraphRightIndent, 72);
  EXPECT_EQ(params.Portrait.TopMargin, format::FormatParameterSet{}.Portrait.TopMargin);
}

TEST_F(ParagraphSetupDialogTest, LineSpacingFollowsTheRule) {
  ParagraphSetupDialog dlg(params, settings, f.ini, locale, {});
  auto* rule = child<QComboBox>(&dlg, "LineSpacingRuleCB");
  auto* value = edit(&dlg, "LineSpacingSpE");
  testing::choose(rule, 5);  // Multiple
  EXPECT_EQ(shown(value), "3");
  QTest::keyClick(value, Qt::Key_Up);
  EXPECT_EQ(shown(value), "3.5");
  // Another alignment leaves the chosen multiple alone.
  testing::choose(child<QComboBox>(&dlg, "AlignmentCB"), 2);
  EXPECT_EQ(shown(value), "3.5");
  testing::choose(rule, 0);  // Single
  EXPECT_EQ(shown(value), "");
  testing::choose(rule, 3);  // At Least: an empty value becomes 12 points
  EXPECT_EQ(shown(value), "12 pt");
  QTest::keyClick(value, Qt::Key_Up);
  EXPECT_EQ(shown(value), "13 pt");
  testing::choose(rule, 2);  // Double
  typeInto(value, "2");      // typing a value asks for that many lines
  EXPECT_EQ(rule->currentText(), "Multiple");
  EXPECT_EQ(shown(value), "2");
  QTest::keyClick(value, Qt::Key_Up);
  EXPECT_EQ(shown(value), "2.5");
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key("Paragraph Setup ", "ParagraphLineSpacingRule"), "5");
  EXPECT_EQ(f.key("Paragraph Setup ", "ParagraphLineSpacing"), "2.5");
}

TEST_F(ParagraphSetupDialogTest, FixedRuleKeepsTheStoredSpacing) {
  ParagraphSetupDialog dlg(params, settings, f.ini, locale, {});
  testing::choose(child<QComboBox>(&dlg, "LineSpacingRuleCB"), 1);  // 1.5
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key("Paragraph Setup ", "ParagraphLineSpacingRule"), "1");
  EXPECT_EQ(f.key("Paragraph Setup ", "ParagraphLineSpacing"), "15");
}

TEST_F(ParagraphSetupDialogTest, FirstLineIndentStopsAtItsMaximum) {
  ParagraphSetupDialog dlg(params, settings, f.ini, locale, {});
  auto* first = edit(&dlg, "FirstLineIndentSpE");
  typeInto(first, "999.95");
  QTest::keyClick(first, Qt::Key_Up);
  EXPECT_EQ(shown(first), "1000\"");
  typeInto(first, "5000");  // typed beyond: held at the maximum when left
  EXPECT_EQ(shown(first), "1000\"");
  auto* before = edit(&dlg, "SpaceBeforeSpE");
  typeInto(before, "3");
  QTest::keyClick(before, Qt::Key_Down);
  EXPECT_EQ(shown(before), "0 pt");
}

TEST_F(ParagraphSetupDialogTest, CancelLeavesFileAndMemoryAsTheyWere) {
  const std::string before = f.bytes();
  const format::ParagraphSetup old = params.Paragraph;
  std::vector<std::string> topics;
  ParagraphSetupDialog dlg(params, settings, f.ini, locale,
                           [&](const std::string& t) { topics.push_back(t); });
  typeInto(edit(&dlg, "LeftIndentSpE"), "2");
  child<QCheckBox>(&dlg, "KeepTogetherCkB")->click();
  testing::press(&dlg, "HelpBtn");
  testing::press(&dlg, "CancelBtn");
  EXPECT_EQ(f.bytes(), before);
  EXPECT_EQ(params.Paragraph.ParagraphLeftIndent, old.ParagraphLeftIndent);
  EXPECT_EQ(params.Paragraph.KeepTogether, old.KeepTogether);
  EXPECT_EQ(topics, std::vector<std::string>{"ParagraphSetup.html"});
}

}  // namespace
}  // namespace kelvara::config::ui
