#include "config/ui/FontSetupDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSpinBox>

#include "DialogFixture.h"
#include "config/SettingsLoader.h"
#include "config/SettingsWriter.h"

namespace kelvara::config::ui {
namespace {

using testing::child;
using testing::shown;
using testing::typeInto;

const std::vector<std::string> kFonts = {"Courier New", "DejaVu Sans", "Liberation Serif"};

QString selected(QListWidget* l) {
  return l->currentItem() ? l->currentItem()->text() : QString("<none>");
}

class FontSetupDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogMemory() = DialogMemory{};
    format::FormatParameterSet known;
    known.Font.FontName = "DejaVu Sans";
    known.Font.FontStyle = 2;
    known.Font.FontSize = 14;
    known.Font.FontGrow = 3;
    known.Font.FontSpacingType = 1;
    known.Font.FontSpacing = 1.5;
    known.Font.FontPositionType = 2;
    known.Font.FontPosition = -3;
    known.Font.FontKerning = true;
    known.Font.FontKerningValue = 16;
    known.Font.FontScaling = 90;
    SaveFontValues(f.ini, known, locale);
    LoadFontValues(f.ini, params, locale);
  }

  NumericEdit* edit(QWidget* d, const char* name) { return child<NumericEdit>(d, name); }

  testing::IniFixture f;
  platform::Locale locale;
  format::FormatParameterSet params;
  testing::PromptLog log;
};

TEST_F(FontSetupDialogTest, LoadsEveryControlAndOkWritesTheSection) {
  FontSetupDialog dlg(params, f.ini, kFonts, locale, {});
  dlg.setPrompts(log.prompts());
  EXPECT_EQ(selected(child<QListWidget>(&dlg, "FontNameLB")), "DejaVu Sans");
  EXPECT_EQ(selected(child<QListWidget>(&dlg, "FontStyleLB")), "Bold");
  EXPECT_EQ(selected(child<QListWidget>(&dlg, "FontSizeLB")), "14");
  EXPECT_EQ(child<QSpinBox>(&dlg, "FontShrinkSpE")->value(), 0);
  EXPECT_EQ(child<QSpinBox>(&dlg, "FontGrowSpE")->value(), 3);
  EXPECT_EQ(child<QComboBox>(&dlg, "ScaleCB")->currentText(), "90%");
  EXPECT_EQ(child<QComboBox>(&dlg, "SpacingCB")->currentText(), "Expanded");
  EXPECT_EQ(shown(edit(&dlg, "SpacingSpE")), "1.5 pt");
  EXPECT_EQ(child<QComboBox>(&dlg, "PositionCB")->currentText(), "Down");
  EXPECT_EQ(shown(edit(&dlg, "PositionSpE")), "3 pt");
  EXPECT_EQ(edit(&dlg, "PositionSpE")->direction(), 2);
  EXPECT_TRUE(child<QCheckBox>(&dlg, "KerningCkB")->isChecked());
  EXPECT_EQ(shown(edit(&dlg, "KerningSizeSpE")), "16 ");

  child<QListWidget>(&dlg, "FontNameLB")->setCurrentRow(2);
  child<QListWidget>(&dlg, "FontStyleLB")->setCurrentRow(3);
  child<QListWidget>(&dlg, "FontSizeLB")->setCurrentRow(15);  // 72
  child<QSpinBox>(&dlg, "FontShrinkSpE")->setValue(2);        // clears Grow
  EXPECT_EQ(child<QSpinBox>(&dlg, "FontGrowSpE")->value(), 0);
  child<QComboBox>(&dlg, "ScaleCB")->setCurrentIndex(0);
  QTest::keyClick(edit(&dlg, "SpacingSpE"), Qt::Key_Up);  // expanded further: 1.6
  QTest::keyClick(edit(&dlg, "PositionSpE"), Qt::Key_Down);
  typeInto(edit(&dlg, "KerningSizeSpE"), "10");
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(log.errors.empty());

  const struct {
    std::string key, value;
  } expected[] = {{"FontName", "Liberation Serif"},
                  {"FontStyle", "3"},
                  {"FontSize", "72"},
                  {"FontShrink", "2"},
                  {"FontGrow", "0"},
                  {"FontSpacingType", "1"},
                  {"FontSpacing", "1.6"},
                  {"FontPositionType", "2"},
                  {"FontPosition", "-4"},
                  {"FontKerning", "1"},
                  {"FontKerningValue", "10"},
                  {"FontScaling", "200"}};
  for (const auto& e : expected) {
    EXPECT_EQ(f.key("Font Setup", e.key), e.value) << e.key;
  }
  EXPECT_EQ(params.Font.FontPosition, -4);
}

TEST_F(FontSetupDialogTest, DirectionListsAndEditorsFollowEachOther) {
  FontSetupDialog dlg(params, f.ini, kFonts, locale, {});
  auto* posType = child<QComboBox>(&dlg, "PositionCB");
  auto* pos = edit(&dlg, "PositionSpE");
  testing::choose(posType, 0);
  EXPECT_EQ(shown(pos), "");
  testing::choose(posType, 1);  // Up with an empty editor: one step
  EXPECT_EQ(shown(pos), "1 pt");
  EXPECT_EQ(pos->direction(), 1);
  QTest::keyClick(pos, Qt::Key_Down);  // back to zero: no direction
  EXPECT_EQ(shown(pos), "0 pt");
  EXPECT_EQ(posType->currentText(), "Normal");
  QTest::keyClick(pos, Qt::Key_Down);
  EXPECT_EQ(shown(pos), "1 pt");
  EXPECT_EQ(posType->currentText(), "Down");

  auto* spacingType = child<QComboBox>(&dlg, "SpacingCB");
  auto* spacing = edit(&dlg, "SpacingSpE");
  testing::choose(spacingType, 0);
  EXPECT_EQ(shown(spacing), "");
  testing::choose(spacingType, 2);
  EXPECT_EQ(shown(spacing), "0.1 pt");
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key("Font Setup", "FontSpacingType"), "2");
  EXPECT_EQ(f.key("Font Setup", "FontSpacing"), "-0.1");
  EXPECT_EQ(f.key("Font Setup", "FontPositionType"), "2");
  EXPECT_EQ(f.key("Font Setup", "FontPosition"), "-1");
}

TEST_F(FontSetupDialogTest, EmptyKerningSizeStoresSevenAndAnUnknownFontIsKept) {
  params.Font.FontKerningValue = 0;
  params.Font.FontName = "No Such Font";
  params.Font.FontSize = 13;  // not in the size list
  FontSetupDialog dlg(params, f.ini, kFonts, locale, {});
  EXPECT_EQ(shown(edit(&dlg, "KerningSizeSpE")), "");
  EXPECT_EQ(selected(child<QListWidget>(&dlg, "FontNameLB")), "<none>");
  EXPECT_EQ(selected(child<QListWidget>(&dlg, "FontSizeLB")), "<none>");
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key("Font Setup", "FontKerningValue"), "7");
  EXPECT_EQ(f.key("Font Setup", "FontName"), "No Such Font");
  EXPECT_EQ(f.key("Font Setup", "FontSize"), "13");
}

TEST_F(FontSetupDialogTest, KerningSizeStepsFromEmptyToItsMinimum) {
  params.Font.FontKerningValue = 0;
  FontSetupDialog dlg(params, f.ini, kFonts, locale, {});
  auto* kerning = edit(&dlg, "KerningSizeSpE");
  QTest::keyClick(kerning, Qt::Key_Up);
  EXPECT_EQ(shown(kerning), "8 ");
  typeInto(kerning, "80");
  EXPECT_EQ(shown(kerning), "72 ");
}

TEST_F(FontSetupDialogTest, CancelLeavesFileAndMemoryAsTheyWere) {
  const std::string before = f.bytes();
  std::vector<std::string> topics;
  FontSetupDialog dlg(params, f.ini, kFonts, locale,
                      [&](const std::string& t) { topics.push_back(t); });
  child<QListWidget>(&dlg, "FontNameLB")->setCurrentRow(0);
  child<QSpinBox>(&dlg, "FontShrinkSpE")->setValue(5);
  testing::press(&dlg, "HelpBtn");
  testing::press(&dlg, "CancelBtn");
  EXPECT_EQ(f.bytes(), before);
  EXPECT_EQ(params.Font.FontName, "DejaVu Sans");
  EXPECT_EQ(params.Font.FontShrink, 0);
  EXPECT_EQ(topics, std::vector<std::string>{"FontSetup.html"});
}

}  // namespace
}  // namespace kelvara::config::ui
