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

// The output name carries the output's extension, so an older output is one with that
// extension; a file that only shares the input's name and extension is no older output.
TEST_F(OutputNamingTest, EveryModeTestsTheNameWithTheOutputExtension) {
  outRoot.file("letter.doc");  // e.g. an input converted beside its outputs
  for (int mode = 0; mode < 3; ++mode) {
    settings.NoVersionNum = mode == 0;
    settings.RenBeforeOverWr = mode == 1;
    settings.AddVersNum = mode == 2;
    settings.FileNamePrefix = "new_";
    const OutputName name = form("letter.doc", "pdf");
    EXPECT_EQ(name.OutputFileName, out + "letter.pdf") << mode;
    EXPECT_FALSE(name.NameChanged) << mode;
  }
  EXPECT_TRUE(log.empty());
}

TEST_F(OutputNamingTest, RunningNumbersWhenInputAndOutputExtensionsDiffer) {
  settings.AddVersNum = true;
  outRoot.file("letter.pdf");
  outRoot.file("letter(1).pdf");
  outRoot.file("letter(2).doc");  // another extension: not an older output
  outRoot.file("letter(3).pdf");
  OutputName name = form("letter.doc", "pdf");
  EXPECT_EQ(name.OutputFileName, out + "letter(2).pdf");
  EXPECT_TRUE(name.NameChanged);

  // An input without extension, and one whose extension is upper case.
  outRoot.file("README.pdf");
  EXPECT_EQ(form("README", "pdf").OutName, "README(1).pdf");
  outRoot.file("SCAN.pdf");
  EXPECT_EQ(form("SCAN.DOC", "pdf").OutName, "SCAN(1).pdf");
  // Output format "*": the input's own extension is the output's.
  outRoot.file("notes.txt");
  EXPECT_EQ(form("notes.txt", "*").OutName, "notes(1).txt");

  // Two inputs of one run that differ only in extension: the second finds the first's output.
  log.clear();
  EXPECT_EQ(form("memo.rtf", "pdf").OutName, "memo.pdf");
  outRoot.file("memo.pdf");
  name = form("memo.txt", "pdf");
  EXPECT_EQ(name.OutName, "memo(1).pdf");
  EXPECT_EQ(log, (std::vector<std::string>{"Output file renamed. New name: memo(1).pdf"}));
}

TEST_F(OutputNamingTest, PrefixedNameWhenInputAndOutputExtensionsDiffer) {
  settings.RenBeforeOverWr = true;
  settings.FileNamePrefix = "new_";
  settings.FileNameSuffix = "_x";
  outRoot.file("letter.pdf");
  OutputName name = form("letter.doc", "pdf");
  EXPECT_EQ(name.OutputFileName, out + "new_letter_x.pdf");
  EXPECT_TRUE(name.NameChanged);
  EXPECT_EQ(log, (std::vector<std::string>{"Output file renamed. New name: new_letter_x.pdf"}));

  // The prefixed name of the other extension is no older output either.
  log.clear();
  outRoot.file("new_letter_x.doc");
  form("letter.doc", "pdf");
  EXPECT_EQ(log, (std::vector<std::string>{"Output file renamed. New name: new_letter_x.pdf"}));
  outRoot.file("new_letter_x.pdf");
  log.clear();
  form("letter.doc", "pdf");
  EXPECT_EQ(log.front(), "Output file " + out + "new_letter_x.pdf exists. Overwritten");
}

TEST_F(OutputNamingTest, OriginalExtensionTogetherWithEachMode) {
  settings.AddOrigExtToFilNam = true;
  outRoot.file("reportrtf.pdf");

  // Overwrite: the original extension is the only change, and it is reported.
  OutputName name = form("report.rtf", "pdf");
  EXPECT_EQ(name.OutName, "reportrtf.pdf");
  EXPECT_TRUE(name.NameChanged);
  EXPECT_EQ(log,
            (std::vector<std::string>{"Output file " + out + "reportrtf.pdf exists. Overwritten",
                                      "Output file renamed. New name: reportrtf.pdf"}));

  // Running number: it goes after the original extension; only the number is a rename.
  log.clear();
  settings.AddVersNum = true;
  name = form("report.rtf", "pdf");
  EXPECT_EQ(name.OutName, "reportrtf(1).pdf");
  EXPECT_TRUE(name.NameChanged);
  EXPECT_FALSE(form("other.RTF", "pdf").NameChanged);
  EXPECT_EQ(form("other.RTF", "pdf").OutName, "otherRTF.pdf");

  // Prefixed name: prefix and suffix around the extended base name.
  settings.AddVersNum = false;
  settings.RenBeforeOverWr = true;
  settings.FileNamePrefix = "old_";
  EXPECT_EQ(form("report.rtf", "pdf").OutName, "old_reportrtf.pdf");
  EXPECT_FALSE(form("fresh.rtf", "pdf").NameChanged);
}

TEST(FileExtensionTest, LastDotOfTheNamePart) {
  EXPECT_EQ(FileExtension("a.doc.v2.doc"), ".doc");
  EXPECT_EQ(FileExtension("/in/dir.d/README"), "");
  EXPECT_EQ(FileExtension("/in/x.tar.gz"), ".gz");
  EXPECT_EQ(FileExtension("name."), ".");
}

}  // namespace
}  // namespace kelvara::run
