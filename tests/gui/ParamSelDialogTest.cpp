#include "config/ui/ParamSelDialog.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTabWidget>
#include <QToolBar>

#include "DialogFixture.h"
#include "config/ConfigSections.h"
#include "config/SettingsLoader.h"
#include "config/SettingsWriter.h"

namespace kelvara::config::ui {
namespace {

using testing::child;
using testing::IniFixture;
using testing::PromptLog;

std::vector<QString> itemNames(QListWidget* l) {
  std::vector<QString> out;
  for (int i = 0; i < l->count(); ++i) {
    out.push_back(l->item(i)->text());
  }
  return out;
}

bool checked(QListWidget* l, const QString& name) {
  const auto found = l->findItems(name, Qt::MatchExactly);
  EXPECT_EQ(found.size(), 1) << name.toStdString();
  return !found.isEmpty() && found.front()->checkState() == Qt::Checked;
}

void setChecked(QListWidget* l, const QString& name, bool on) {
  const auto found = l->findItems(name, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << name.toStdString();
  found.front()->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

class ParamSelDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogMemory() = DialogMemory{};
    // Known flags on disk, different between the two orientation records.
    format::FormatParameterSet known;
    known.Portrait.flags.PaperSize = true;
    known.Portrait.flags.TopMargin = false;
    known.Landscape.flags.PageWidth = true;
    known.General.flags.Gutter = true;
    known.Paragraph.flags.KeepTogether = true;
    known.Paragraph.flags.LeftIndent = false;
    known.Font.flags.FontShrink = true;
    known.UserData.UserInitials = true;
    known.Revisions.flags.PrintRevisions = true;
    SaveParameterFlags(f.ini, known, "11.0");
    LoadParameterFlags(f.ini, params, "11.0");
  }

  IniFixture f;
  format::FormatParameterSet params;
  PromptLog log;
};

TEST_F(ParamSelDialogTest, ListsEveryGroupWithTheLoadedChecks) {
  bool diff = true;
  ParamSelDialog dlg(params, f.ini, "11.0", diff, {});
  auto* tabs = child<QTabWidget>(&dlg, "ParamTabs");
  ASSERT_EQ(tabs->count(), 5);
  EXPECT_EQ(tabs->tabText(0), "Page Setup");
  EXPECT_EQ(tabs->tabText(1), "Paragraph setup");
  EXPECT_EQ(tabs->tabText(2), "Font Setup");
  EXPECT_EQ(tabs->tabText(3), "User Data");
  EXPECT_EQ(tabs->tabText(4), "Revisions");

  auto* para = child<QListWidget>(&dlg, "ParagraphFlagsList");
  EXPECT_EQ(
      itemNames(para),
      (std::vector<QString>{"Alignment", "Left Indent", "Right Indent", "Space Before",
                            "Space After", "Line Spacing Rule", "Line Spacing", "Widow Control",
                            "Keep With Next", "Keep Together", "Page Break Before",
                            "No Line Number", "Hyphenation", "First Line Indent"}));
  EXPECT_TRUE(checked(para, "Keep Together"));
  EXPECT_FALSE(checked(para, "Left Indent"));
  EXPECT_TRUE(checked(para, "Right Indent"));
  auto* font = child<QListWidget>(&dlg, "FontFlagsList");
  EXPECT_EQ(itemNames(font), (std::vector<QString>{"Name", "Style", "Size", "Shrink", "Grow",
                                                   "Spacing", "Position", "Kerning", "Scaling"}));
  EXPECT_TRUE(checked(font, "Shrink"));
  auto* user = child<QListWidget>(&dlg, "UserDataFlagsList");
  EXPECT_EQ(itemNames(user), (std::vector<QString>{"User Name", "User Initials", "User Address"}));
  EXPECT_TRUE(checked(user, "User Initials"));
  EXPECT_TRUE(checked(child<QListWidget>(&dlg, "RevisionFlagsList"), "Print Revisions"));

  // The General view lists the seven document-wide items.
  auto* page = child<QListWidget>(&dlg, "PageFlagsList");
  EXPECT_EQ(dlg.pageView(), 1);
  const auto& all = ParamSelDialog::pageItemNames();
  EXPECT_EQ(itemNames(page), std::vector<QString>(all.begin() + 10, all.end()));
  EXPECT_TRUE(checked(page, "Gutter"));
  dlg.showPageView(2);
  EXPECT_EQ(itemNames(page), std::vector<QString>(all.begin(), all.begin() + 10));
  EXPECT_TRUE(checked(page, "Paper Size"));
  EXPECT_FALSE(checked(page, "Top Margin"));
  dlg.showPageView(3);
  EXPECT_TRUE(checked(page, "Page Width"));
  EXPECT_TRUE(checked(page, "Top Margin"));
}

TEST_F(ParamSelDialogTest, OkWritesEveryFlagSectionKeyByKey) {
  bool diff = true;
  ParamSelDialog dlg(params, f.ini, "11.0", diff, {});
  dlg.setPrompts(log.prompts());
  auto* page = child<QListWidget>(&dlg, "PageFlagsList");
  setChecked(page, "Mirror Margins", true);
  dlg.showPageView(2);
  setChecked(page, "Bottom Margin", false);
  dlg.showPageView(3);  // leaving Portrait keeps its checks
  setChecked(page, "Vertical Alignment", false);
  setChecked(child<QListWidget>(&dlg, "ParagraphFlagsList"), "Hyphenation", true);
  setChecked(child<QListWidget>(&dlg, "FontFlagsList"), "Scaling", true);
  setChecked(child<QListWidget>(&dlg, "UserDataFlagsList"), "User Address", true);
  setChecked(child<QListWidget>(&dlg, "RevisionFlagsList"), "Track Revisions", true);
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(log.errors.empty());

  const struct {
    std::string section, key, value;
  } expected[] = {
      {"Page Flags Setup General", "MirrorMargins", "1"},
      {"Page Flags Setup General", "Gutter", "1"},
      {"Page Flags Setup General", "Orientation", "0"},
      {"Page Flags Setup Portrait", "PaperSize", "1"},
      {"Page Flags Setup Portrait", "BottomMargin", "0"},
      {"Page Flags Setup Portrait", "TopMargin", "0"},
      {"Page Flags Setup Portrait", "VerticalAlignment", "1"},
      {"Page Flags Setup Landscape", "VerticalAlignment", "0"},
      {"Page Flags Setup Landscape", "BottomMargin", "1"},
      {"Page Flags Setup Landscape", "PageWidth", "1"},
      {ParagraphFlagsSection, "Hyphenation", "1"},
      {ParagraphFlagsSection, "KeepTogether", "1"},
      {FontFlagsSection, "FontScaling", "1"},
      {FontFlagsSection, "FontShrink", "1"},
      {"User Data Setup", "UserAddr", "1"},
      {"Revisions Data Setup", "TrackRevisions", "1"},
      {"Revisions Data Setup", "PrintRevisions", "1"},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(f.key(e.section, e.key), e.value) << e.section << " " << e.key;
  }
  EXPECT_TRUE(params.General.flags.MirrorMargins);
  EXPECT_FALSE(params.Portrait.flags.BottomMargin);
  EXPECT_FALSE(params.Landscape.flags.VerticalAlignment);
  EXPECT_TRUE(params.Revisions.flags.TrackRevisions);
}

TEST_F(ParamSelDialogTest, OneViewWithoutTheToolBarSetsBothRecordsAlike) {
  bool diff = false;
  ParamSelDialog dlg(params, f.ini, "9.0", diff, {});
  EXPECT_TRUE(child<QToolBar>(&dlg, "ViewToolBar")->isHidden());
  EXPECT_EQ(child<QTabWidget>(&dlg, "ParamTabs")->count(), 4);  // no revisions for 9.0
  auto* page = child<QListWidget>(&dlg, "PageFlagsList");
  EXPECT_EQ(itemNames(page), ParamSelDialog::pageItemNames());
  setChecked(page, "Header Distance", false);
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key("Page Flags Setup Portrait", "HeaderDistance"), "0");
  EXPECT_EQ(f.key("Page Flags Setup Landscape", "HeaderDistance"), "0");
  // Shown from the Portrait record, so Landscape takes Portrait's paper size flag.
  EXPECT_EQ(f.key("Page Flags Setup Landscape", "PaperSize"), "1");
  EXPECT_EQ(f.key("Page Flags Setup Landscape", "PageWidth"), "0");
}

TEST_F(ParamSelDialogTest, OrientationAsksBeforeClearingTheSeparateViews) {
  const std::string question =
      "Warning: Setting page orientation will clear\r\nthe Different Vert./Horiz Pages "
      "Checkbox\r\n set on configure dialog.\r\n\r\nContinue?";
  {
    bool diff = true;
    ParamSelDialog dlg(params, f.ini, "11.0", diff, {});
    dlg.setPrompts(log.prompts());
    log.answer = false;
    auto* page = child<QListWidget>(&dlg, "PageFlagsList");
    setChecked(page, "Orientation", true);
    ASSERT_EQ(log.questions.size(), 1u);
    EXPECT_EQ(log.questions[0].toStdString(), question);
    EXPECT_FALSE(checked(page, "Orientation"));
    EXPECT_TRUE(diff);
  }
  bool diff = true;
  ParamSelDialog dlg(params, f.ini, "11.0", diff, {});
  dlg.setPrompts(log.prompts());
  log.answer = true;
  auto* page = child<QListWidget>(&dlg, "PageFlagsList");
  setChecked(page, "Orientation", true);
  EXPECT_FALSE(diff);
  EXPECT_FALSE(dlg.toolBarShown());
  EXPECT_TRUE(child<QToolBar>(&dlg, "ViewToolBar")->isHidden());
  EXPECT_EQ(page->count(), 17);
  EXPECT_TRUE(checked(page, "Orientation"));
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key("Page Flags Setup General", "Orientation"), "1");
}

TEST_F(ParamSelDialogTest, ShrinkAndGrowCannotBothBeChecked) {
  bool diff = true;
  ParamSelDialog dlg(params, f.ini, "11.0", diff, {});
  dlg.setPrompts(log.prompts());
  auto* font = child<QListWidget>(&dlg, "FontFlagsList");
  setChecked(font, "Style", true);
  setChecked(font, "Size", true);
  EXPECT_TRUE(log.errors.empty());
  setChecked(font, "Grow", true);  // Shrink is checked already
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_EQ(log.errors[0], "Error: Font Shrink and Font Grow can't be both checked.");
  EXPECT_FALSE(checked(font, "Shrink"));
  EXPECT_FALSE(checked(font, "Grow"));
  EXPECT_TRUE(checked(font, "Style"));
  EXPECT_TRUE(checked(font, "Size"));
}

TEST_F(ParamSelDialogTest, CancelLeavesFileAndMemoryAsTheyWere) {
  const std::string before = f.bytes();
  const format::FormatParameterSet old = params;
  bool diff = true;
  ParamSelDialog dlg(params, f.ini, "11.0", diff, {});
  auto* page = child<QListWidget>(&dlg, "PageFlagsList");
  dlg.showPageView(2);
  setChecked(page, "Left Margin", false);
  dlg.showPageView(1);
  setChecked(child<QListWidget>(&dlg, "FontFlagsList"), "Name", true);
  testing::press(&dlg, "CancelBtn");
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(f.bytes(), before);
  EXPECT_EQ(params.Portrait.flags.LeftMargin, old.Portrait.flags.LeftMargin);
  EXPECT_EQ(params.Font.flags.FontName, old.Font.flags.FontName);
}

TEST_F(ParamSelDialogTest, RefusedWriteIsReportedAndTheDialogStaysOpen) {
  testing::ScratchDir dir;
  IniFile blocked(dir.dir("Kelva.ini"));  // a folder where the file should be
  bool diff = true;
  ParamSelDialog dlg(params, blocked, "11.0", diff, {});
  dlg.setPrompts(log.prompts());
  dlg.show();
  setChecked(child<QListWidget>(&dlg, "FontFlagsList"), "Name", true);
  testing::press(&dlg, "OkBtn");
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_TRUE(log.errors[0].contains("Unable to write to")) << log.errors[0].toStdString();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_FALSE(params.Font.flags.FontName);
}

TEST_F(ParamSelDialogTest, HelpOpensItsTopicAndTheTabIsRemembered) {
  std::vector<std::string> topics;
  bool diff = true;
  {
    ParamSelDialog dlg(params, f.ini, "11.0", diff,
                       [&](const std::string& t) { topics.push_back(t); });
    testing::press(&dlg, "HelpBtn");
    child<QTabWidget>(&dlg, "ParamTabs")->setCurrentIndex(2);
    testing::press(&dlg, "OkBtn");
  }
  EXPECT_EQ(topics, std::vector<std::string>{"ParamSel.html"});
  ParamSelDialog again(params, f.ini, "11.0", diff, {});
  EXPECT_EQ(child<QTabWidget>(&again, "ParamTabs")->currentIndex(), 2);
}

}  // namespace
}  // namespace kelvara::config::ui
