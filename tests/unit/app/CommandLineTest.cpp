#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <set>

namespace kelvara::app {
namespace {

class CommandLineTest : public ::testing::Test {
 protected:
  std::set<std::string> folders{"/in/", "/", "/out/", "./"};
  std::set<std::string> files{"/in/a.doc"};
  PathProbe probe{[this](const std::string& p) { return folders.count(p) > 0; },
                  [this](const std::string& p) { return files.count(p) > 0; }};

  CommandLine read(std::vector<std::string> params, bool implied = false) {
    return ReadCommandLine(params, probe, implied);
  }
};

TEST_F(CommandLineTest, FullUnattendedRun) {
  const CommandLine cl = read({"/a", "/i:", "/in/", "/o:", "/out/", "/if:", "0", "/of:", "3"});
  EXPECT_TRUE(cl.AutoRun);
  EXPECT_TRUE(cl.ShowAtStart);
  EXPECT_EQ(cl.InpPath, "/in/");
  EXPECT_EQ(cl.OutPath, "/out/");
  EXPECT_EQ(cl.inputFormat, "0");
  EXPECT_EQ(cl.outputFormat, "3");
  EXPECT_FALSE(cl.error);
}

TEST_F(CommandLineTest, OutputDefaultsToInputAndFolderPartIsUsed) {
  const CommandLine cl = read({"-a", "-i:", "/in/x"});
  EXPECT_EQ(cl.InpPath, "/in/");
  EXPECT_EQ(cl.OutPath, "/in/");
  // A folder without its final "/" means its parent.
  EXPECT_EQ(read({"/a", "/i:", "/in"}).InpPath, "/");
}

TEST_F(CommandLineTest, SwitchesOtherThanVersionNeedAutoRun) {
  const CommandLine cl = read({"/i:", "/in/", "/v:", "9"});
  EXPECT_FALSE(cl.AutoRun);
  EXPECT_TRUE(cl.InpPath.empty());
  EXPECT_EQ(cl.WordVersionRequest, 9);
  EXPECT_EQ(read({"/v:", "7"}).WordVersionRequest, 7);
  EXPECT_EQ(read({"/v:", "12"}).WordVersionRequest, 12);
  EXPECT_EQ(read({"/v:", "13"}).WordVersionRequest, 0);
  EXPECT_EQ(read({"/v:", "6"}).WordVersionRequest, 0);
  EXPECT_EQ(read({"/v:", "nine"}).WordVersionRequest, 0);
  EXPECT_EQ(read({"/v:"}).WordVersionRequest, 0);
}

TEST_F(CommandLineTest, ConsoleImpliesAutoRun) {
  const CommandLine cl = read({"/i:", "/in/"}, true);
  EXPECT_TRUE(cl.AutoRun);
  EXPECT_EQ(cl.InpPath, "/in/");
}

TEST_F(CommandLineTest, MissingInputFolderStopsReadingTheRest) {
  const CommandLine cl = read({"/a", "/i:", "/nowhere/x", "/o:", "/out/"});
  ASSERT_TRUE(cl.error);
  EXPECT_EQ(*cl.error, "Path not found: /nowhere/");
  EXPECT_FALSE(cl.AutoRun);
  EXPECT_TRUE(cl.OutPath.empty());
}

TEST_F(CommandLineTest, SingleFileForm) {
  CommandLine cl = read({"/a", "/s", "/i:", "/in/a.doc", "/o:", "/out/b.rtf"});
  EXPECT_TRUE(cl.singleFileForm);
  EXPECT_EQ(cl.InpFileName, "/in/a.doc");
  EXPECT_EQ(cl.InpPath, "/in/");
  EXPECT_EQ(cl.OutPath, "/out/");
  EXPECT_EQ(cl.currentOutputFileName, "b.rtf");

  cl = read({"/a", "/S", "/i:", "/in/missing.doc"});
  ASSERT_TRUE(cl.error);
  EXPECT_EQ(*cl.error, "File not found: /in/missing.doc");
  EXPECT_FALSE(cl.AutoRun);
}

TEST_F(CommandLineTest, UpperCaseValueSwitchIsRecognisedButItsValueNotTaken) {
  // The input folder then is empty, which does not exist: no automatic run.
  const CommandLine cl = read({"/A", "/I:", "/in/"});
  ASSERT_TRUE(cl.error);
  EXPECT_EQ(*cl.error, "Path not found: ");
  EXPECT_FALSE(cl.AutoRun);
  // An upper-case output switch empties the output folder, so Kelva.ini supplies it.
  const CommandLine out = read({"/a", "/i:", "/in/", "/O:", "/out/"});
  EXPECT_FALSE(out.error);
  EXPECT_EQ(out.InpPath, "/in/");
  EXPECT_TRUE(out.OutPath.empty());
}

TEST_F(CommandLineTest, SwitchAsLastParameterHasAnEmptyValue) {
  const CommandLine cl = read({"/a", "/of:"});
  EXPECT_FALSE(cl.outputFormat);
  EXPECT_TRUE(cl.OutPath.empty());
  EXPECT_FALSE(cl.error);
  const CommandLine input = read({"/a", "/i:"});
  ASSERT_TRUE(input.error);
  EXPECT_EQ(*input.error, "Path not found: ");
}

TEST_F(CommandLineTest, RelativeNameWithoutFolderMeansTheCurrentFolder) {
  const CommandLine cl = read({"/a", "/i:", "docs"});
  EXPECT_EQ(cl.InpPath, "./");
}

TEST(CommandLinePaths, FolderAndFileParts) {
  EXPECT_EQ(FolderPart("/a/b/c.doc"), "/a/b/");
  EXPECT_EQ(FolderPart("c.doc"), "");
  EXPECT_EQ(FileNamePart("/a/b/c.doc"), "c.doc");
  EXPECT_EQ(FileNamePart("/a/b/"), "");
}

}  // namespace
}  // namespace kelvara::app
