#include "app/InputSelection.h"

#include <gtest/gtest.h>

#include <set>

#include "app/FreeDiskDisplay.h"

namespace kelvara::app {
namespace {

// Paths the test says exist; nothing touches the disk.
class InputSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    selection.inputFormatName = "Word Document ";
    selection.inputExtensions = "doc dot";
    selection.outputFormatName = "Rich Text Format ";
    selection.OutExt = "rtf";
    settings.InpPath = "/in/";
    settings.OutPath = "/out/";
  }

  PathProbe probe() const {
    return {[this](const std::string& p) { return folders.count(p) > 0; },
            [this](const std::string& p) { return files.count(p) > 0; }};
  }

  config::Settings settings;
  word::FormatSelection selection;
  std::set<std::string> folders{"/in/", "/out/"};
  std::set<std::string> files{"/in/letter.doc"};
};

TEST_F(InputSelectionTest, RunNeedsAnOutputFolderAndAnExistingInput) {
  EXPECT_TRUE(RunAllowed(settings, probe()));
  settings.OutPath.clear();
  EXPECT_FALSE(RunAllowed(settings, probe()));
  settings.OutPath = "/out/";
  settings.InpPath = "/gone/";
  EXPECT_FALSE(RunAllowed(settings, probe()));
  settings.SingleFile = true;
  settings.InpFileName = "/in/letter.doc";
  EXPECT_TRUE(RunAllowed(settings, probe()));
  settings.InpFileName = "/in/missing.doc";
  EXPECT_FALSE(RunAllowed(settings, probe()));
}

TEST_F(InputSelectionTest, SingleFileModeShowsTheFileAndTheOutputItWillBecome) {
  settings.SingleFile = true;
  settings.InpFileName = "/in/letter.doc";
  const InputDisplay d = UpdateInputDisplay(settings, selection, "*.txt", probe());
  EXPECT_EQ(d.inputLabel, "Input File");
  EXPECT_EQ(d.outputLabel, "Output File");
  EXPECT_EQ(d.inputBox, "/in/letter.doc");
  EXPECT_EQ(d.outputBox, "/out/letter.rtf");
  EXPECT_EQ(settings.InpMask, "letter.doc");
  EXPECT_FALSE(d.maskControlsEnabled);
  EXPECT_TRUE(d.runAllowed);

  // A name with wildcards, or one that is gone, empties both boxes and the mask.
  for (const char* name : {"/in/*.doc", "/in/l?tter.doc", "/in/gone.doc"}) {
    settings.InpFileName = name;
    const InputDisplay e = UpdateInputDisplay(settings, selection, "*.txt", probe());
    EXPECT_EQ(e.inputBox, "") << name;
    EXPECT_EQ(e.outputBox, "") << name;
    EXPECT_EQ(settings.InpMask, "") << name;
    EXPECT_FALSE(e.runAllowed) << name;
  }
}

TEST_F(InputSelectionTest, FolderModeTakesTheStandardMaskOrTheStoredOne) {
  InputDisplay d = UpdateInputDisplay(settings, selection, "*.txt", probe());
  EXPECT_EQ(d.inputLabel, "Input Path");
  EXPECT_EQ(d.inputBox, "/in/");
  EXPECT_EQ(d.outputBox, "/out/");
  EXPECT_EQ(settings.InpMask, "*.doc;*.dot");
  EXPECT_TRUE(d.maskControlsEnabled);
  settings.StandardInpMask = false;
  UpdateInputDisplay(settings, selection, "*.txt", probe());
  EXPECT_EQ(settings.InpMask, "*.txt");
  UpdateInputDisplay(settings, selection, "", probe());
  EXPECT_EQ(settings.InpMask, "*.*");
}

TEST_F(InputSelectionTest, TheChosenInputSetsThePathsAndTheMaskWhereTheMaskFollowsIt) {
  // Standard mask in folder mode: the mask stays the format's.
  settings.InpMask = "*.doc;*.dot";
  EXPECT_FALSE(TakeInputChoice(settings, "/data/x/report.doc"));
  EXPECT_EQ(settings.InpPath, "/data/x/");
  EXPECT_EQ(settings.InpFileName, "/data/x/report.doc");
  EXPECT_EQ(settings.InpMask, "*.doc;*.dot");
  // The user's own mask: a name with wildcards becomes the mask, any other name "*".
  settings.StandardInpMask = false;
  EXPECT_TRUE(TakeInputChoice(settings, "/data/x/*.rtf"));
  EXPECT_EQ(settings.InpMask, "*.rtf");
  EXPECT_TRUE(TakeInputChoice(settings, "/data/x/report.doc"));
  EXPECT_EQ(settings.InpMask, "*");
}

TEST_F(InputSelectionTest, DialogFiltersNameTheFormatAndItsPatterns) {
  EXPECT_EQ(InputDialogFilter(settings, selection).filter, "Word Document (*.doc *.dot)");
  EXPECT_EQ(InputDialogFilter(settings, selection).proposedName, "*.doc;*.dot");
  settings.StandardInpMask = false;
  settings.InpMask = "*.wri;*.txt";
  EXPECT_EQ(InputDialogFilter(settings, selection).filter, "User mask (*.wri *.txt)");
  settings.InpMask.clear();
  EXPECT_EQ(InputDialogFilter(settings, selection).proposedName, "*.*");
  EXPECT_EQ(OutputDialogFilter(selection).filter, "Rich Text Format (*.rtf)");
}

TEST_F(InputSelectionTest, TypedPathsBecomeFoldersOrAreRefused) {
  EXPECT_EQ(TakeTypedInput(settings, "/nowhere", probe()), "File not found");
  EXPECT_EQ(TakeTypedInput(settings, "/in/letter.doc", probe()), "");
  EXPECT_EQ(settings.InpFileName, "/in/letter.doc");
  EXPECT_EQ(TakeTypedOutput(settings, "out/relative"), "Drive not found");
  EXPECT_EQ(TakeTypedOutput(settings, ""), "Drive not found");
  EXPECT_EQ(TakeTypedOutput(settings, "/new/place"), "");
  EXPECT_EQ(settings.OutPath, "/new/place/");
}

TEST(FreeDiskDisplayTest, ShowsKilobytesAndTheShareWithoutDividingByAnUnknownSize) {
  FreeDiskTexts t = FreeDiskTextsOf(uint64_t{10 * 1024 * 1024}, uint64_t{40 * 1024 * 1024});
  EXPECT_EQ(t.freeKb, "10240 KB");
  EXPECT_EQ(t.freePercent, "25 %");
  t = FreeDiskTextsOf(uint64_t{2048}, uint64_t{0});
  EXPECT_EQ(t.freeKb, "2 KB");
  EXPECT_EQ(t.freePercent, "");
  t = FreeDiskTextsOf(std::nullopt, uint64_t{100});
  EXPECT_EQ(t.freeKb, "");
  // Nothing chosen: nothing shown; a folder not made yet: its nearest existing parent.
  EXPECT_EQ(FreeDiskFor("", "").freeKb, "");
  EXPECT_NE(FreeDiskFor("/tmp/kelvara-not-made-yet/deeper/", "").freeKb, "");
}

}  // namespace
}  // namespace kelvara::app
