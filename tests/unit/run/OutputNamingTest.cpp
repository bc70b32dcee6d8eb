#include "run/OutputNaming.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace kelvara::run {
namespace {

using testing::ScratchDir;

class OutputNamingTest : public ::testing::Test {
 protected:
  OutputName form(const std::string& input, const std::string& outExt) {
    return FormOutputName(in / input, out, outExt, settings,
                          [this](const std::string& line) { log.push_back(line); });
  }

  ScratchDir in;
  ScratchDir outRoot;
  std::string out = outRoot.path();
  config::Settings settings;
  std::vector<std::string> log;
};

TEST_F(OutputNamingTest, OverwriteModeLogsAnExistingOutput) {
  outRoot.file("letter.doc");
  const OutputName name = form("letter.doc", "doc");
  EXPECT_EQ(name.OutputFileName, out + "letter.doc");
  EXPECT_EQ(name.OutName, "letter.doc");
  EXPECT_FALSE(name.NameChanged);
  EXPECT_EQ(log,
            (std::vector<std::string>{"Output file " + out + "letter.doc exists. Overwritten"}));

  log.clear();
  settings.LogDeletions = false;
  form("letter.doc", "doc");
  EXPECT_TRUE(log.empty());
}

TEST_F(OutputNamingTest, OverwriteModeIsTheDefaultAndNothingIsLoggedForANewName) {
  ASSERT_FALSE(settings.NoVersionNum || settings.AddVersNum || settings.RenBeforeOverWr);
  const OutputName name = form("letter.doc", "rtf");
  EXPECT_EQ(name.OutputFileName, out + "letter.rtf");
  EXPECT_TRUE(log.empty());
}

TEST_F(OutputNamingTest, RunningNumberTakesTheFirstFreeNumber) {
  settings.AddVersNum = true;
  EXPECT_EQ(form("letter.doc", "doc").OutputFileName, out + "letter.doc");
  EXPECT_TRUE(log.empty());

  outRoot.file("letter.doc");
  outRoot.file("letter(1).doc");
  const OutputName name = form("letter.doc", "doc");
  EXPECT_EQ(name.OutputFileName, out + "letter(2).doc");
  EXPECT_EQ(name.OutName, "letter(2).doc");
  EXPECT_TRUE(name.NameChanged);
  EXPECT_EQ(log, (std::vector<std::string>{"Output file renamed. New name: letter(2).doc"}));

  log.clear();
  settings.LogFileRenames = false;
  form("letter.doc", "doc");
  EXPECT_TRUE(log.empty());
}

TEST_F(OutputNamingTest, RunningNumberCountsFoldersAndKeepsAnEmptyExtension) {
  settings.AddVersNum = true;
  outRoot.dir("notes");
  outRoot.file("notes(1)");
  EXPECT_EQ(form("notes", "*").OutputFileName, out + "notes(2)");
}

TEST_F(OutputNamingTest, RunningNumberClearsTheOriginalExtensionMark) {
  settings.AddVersNum = true;
  settings.AddOrigExtToFilNam = true;
  const OutputName name = form("report.rtf", "doc");
  EXPECT_EQ(name.OutName, "reportrtf.doc");
  EXPECT_FALSE(name.NameChanged);
  EXPECT_TRUE(log.empty());
}

TEST_F(OutputNamingTest, PrefixedNameWhenThePlainNameExists) {
  settings.RenBeforeOverWr = true;
  settings.FileNamePrefix = "new_";
  settings.FileNameSuffix = "_x";
  EXPECT_FALSE(form("letter.doc", "doc").NameChanged);

  outRoot.file("letter.doc", "older output");
  OutputName name = form("letter.doc", "doc");
  EXPECT_EQ(name.OutputFileName, out + "new_letter_x.doc");
  EXPECT_TRUE(name.NameChanged);
  EXPECT_EQ(log, (std::vector<std::string>{"Output file renamed. New name: new_letter_x.doc"}));
  EXPECT_EQ(testing::readFile(out + "letter.doc"), "older output");

  // The prefixed name is not tested further: an earlier one is replaced.
  log.clear();
  outRoot.file("new_letter_x.doc");
  name = form("letter.doc", "doc");
  EXPECT_EQ(name.OutputFileName, out + "new_letter_x.doc");
  EXPECT_EQ(log,
            (std::vector<std::string>{"Output file " + out + "new_letter_x.doc exists. Overwritten",
                                      "Output file renamed. New name: new_letter_x.doc"}));
}

TEST_F(OutputNamingTest, PrefixedModeWithoutPrefixOrSuffixIsNoRename) {
  settings.RenBeforeOverWr = true;
  settings.LogDeletions = false;
  outRoot.file("letter.doc");
  const OutputName name = form("letter.doc", "doc");
  EXPECT_EQ(name.OutputFileName, out + "letter.doc");
  EXPECT_FALSE(name.NameChanged);
  EXPECT_TRUE(log.empty());
}

TEST_F(OutputNamingTest, RunningNumberWinsOverPrefixedName) {
  settings.AddVersNum = true;
  settings.RenBeforeOverWr = true;
  settings.FileNamePrefix = "new_";
  outRoot.file("a.doc");
  EXPECT_EQ(form("a.doc", "doc").OutName, "a(1).doc");
}

TEST_F(OutputNamingTest, Extensions) {
  EXPECT_EQ(form("notes.txt", "*").OutName, "notes.txt");
  EXPECT_EQ(form("notes.txt", "").OutName, "notes.txt");
  EXPECT_EQ(form("README", "*").OutName, "README");
  EXPECT_EQ(form("README", "doc").OutName, "README.doc");
  EXPECT_EQ(form("README", ".pdf").OutName, "README.pdf");  // exactly one dot
  // The base name ends at the first occurrence of the extension.
  EXPECT_EQ(form("a.doc.v2.doc", "rtf").OutName, "a.rtf");
  EXPECT_EQ(form("x.DOC.doc", "rtf").OutName, "x.DOC.rtf");  // the search is case-sensitive
  EXPECT_EQ(form(".profile", "doc").OutName, ".doc");
  EXPECT_TRUE(log.empty());
}

TEST_F(OutputNamingTest, OriginalExtensionIsAddedOnlyWhenItDiffers) {
  settings.AddOrigExtToFilNam = true;
  OutputName name = form("a.doc", "doc");
  EXPECT_EQ(name.OutName, "a.doc");
  EXPECT_FALSE(name.NameChanged);
  EXPECT_EQ(form("A.DOC", "doc").OutName, "A.doc");
  EXPECT_EQ(form("plain", "doc").OutName, "plain.doc");
  EXPECT_TRUE(log.empty());

  name = form("report.rtf", "doc");
  EXPECT_EQ(name.OutputFileName, out + "reportrtf.doc");
  EXPECT_TRUE(name.NameChanged);
  EXPECT_EQ(log, (std::vector<std::string>{"Output file renamed. New name: reportrtf.doc"}));
}

TEST(FileExtensionTest, LastDotOfTheNamePart) {
  EXPECT_EQ(FileExtension("a.doc.v2.doc"), ".doc");
  EXPECT_EQ(FileExtension("/in/dir.d/README"), "");
  EXPECT_EQ(FileExtension("/in/x.tar.gz"), ".gz");
  EXPECT_EQ(FileExtension("name."), ".");
}

}  // namespace
}  // namespace kelvara::run
