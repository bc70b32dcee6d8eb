#include <gmock/gmock.h>

#include "unit/metadata/MetadataFixture.h"

namespace kelvara::metadata {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DateStageTest : public MetadataFixture {
 protected:
  void SetUp() override {
    MetadataFixture::SetUp();
    // A new output carries the time of the run.
    for (const std::string* path : {&target, &targetDir}) {
      fake.at(*path).creation = 5000;
      fake.at(*path).lastWrite = 5000;
    }
    setSource(1000, 2000);
  }
  void setSource(platform::FileTime created, platform::FileTime written) {
    for (const std::string* path : {&source, &sourceDir}) {
      fake.at(*path).creation = created;
      fake.at(*path).lastWrite = written;
    }
  }
};

TEST_F(DateStageTest, CopyBothGivesTheOutputBothDatesOfItsSourceWithOneLine) {
  step().CopyFileDates(source, target);
  EXPECT_EQ(fake.at(target).creation, 1000);
  EXPECT_EQ(fake.at(target).lastWrite, 2000);
  EXPECT_THAT(
      lines,
      ElementsAre("date: File Creation and LastWrite Date changed to original file's dates"));

  lines.clear();
  step().CopyFolderDates(sourceDir, targetDir);
  EXPECT_EQ(fake.at(targetDir).creation, 1000);
  EXPECT_EQ(fake.at(targetDir).lastWrite, 2000);
  EXPECT_THAT(lines, ElementsAre("date: Folder Creation and LastWrite Date changed to original "
                                 "folder' dates"));
}

TEST_F(DateStageTest, WithoutCopyBothACoherentOutputGetsTheCreationDateAndOnlyAFolderALine) {
  settings.CopyBoth = false;
  step().CopyFileDates(source, target);
  EXPECT_EQ(fake.at(target).creation, 1000);
  EXPECT_EQ(fake.at(target).lastWrite, 5000);
  EXPECT_THAT(lines, IsEmpty());

  step().CopyFolderDates(sourceDir, targetDir);
  EXPECT_EQ(fake.at(targetDir).creation, 1000);
  EXPECT_EQ(fake.at(targetDir).lastWrite, 5000);
  EXPECT_THAT(lines,
              ElementsAre("date: Folder Creation Date changed to original folder' Creation date)"));
}

TEST_F(DateStageTest, AnIncoherentOutputIsRepairedByTheChosenRule) {
  settings.CopyBoth = false;
  setSource(7000, 9000);  // created after the output was last written

  settings.UseCreationDate = true;
  settings.UseLastWriteBoth = false;
  step().CopyFileDates(source, target);
  EXPECT_EQ(fake.at(target).creation, 7000);
  EXPECT_EQ(fake.at(target).lastWrite, 7000);
  EXPECT_THAT(lines,
              ElementsAre("date: File LastWrite Date changed to original file's Creation date"));

  lines.clear();
  fake.at(target).lastWrite = 5000;
  settings.UseCreationDate = false;
  settings.UseLastWriteBoth = true;
  step().CopyFileDates(source, target);
  EXPECT_EQ(fake.at(target).creation, 9000);
  EXPECT_EQ(fake.at(target).lastWrite, 9000);
  EXPECT_THAT(lines, ElementsAre("date: File Creation and LastWrite Date changed to original "
                                 "file's LastWrite date"));

  lines.clear();
  fake.at(targetDir).lastWrite = 5000;
  step().CopyFolderDates(sourceDir, targetDir);
  EXPECT_EQ(fake.at(targetDir).creation, 9000);
  EXPECT_EQ(fake.at(targetDir).lastWrite, 9000);
  EXPECT_THAT(lines, ElementsAre("date: Folder Creation and LastWrite Date changed to original "
                                 "folder's LastWrite date"));
}

TEST_F(DateStageTest, ARepairThatCannotWriteTheLastWriteTimeSaysTheOutputStaysIncoherent) {
  settings.CopyBoth = false;
  settings.UseCreationDate = false;
  settings.UseLastWriteBoth = true;
  setSource(7000, 9000);
  fake.failures.insert(target + "|lastWrite");
  fake.failures.insert(targetDir.substr(0, targetDir.size() - 1) + "|lastWrite");
  step().CopyFileDates(source, target);
  step().CopyFolderDates(sourceDir, targetDir);
  EXPECT_THAT(lines,
              ElementsAre("error: Error on change of file time (LastWrite): " + target,
                          "date: File Creation Date changed to original file's LastWrite date- "
                          "Incoherent",
                          "error: Error on change of folder time (LastWrite): " + targetDir,
                          "date: Folder Creation Date set to original folder's LastWrite date - "
                          "Incoherent"));
  EXPECT_EQ(fake.at(target).creation, 9000);
}

TEST_F(DateStageTest, AFailedCreationWriteStopsTheStageWithItsLine) {
  fake.failures.insert(target + "|creation");
  step().CopyFileDates(source, target);
  EXPECT_THAT(lines, ElementsAre("error: Error on change of file time (Creation): " + target));
  EXPECT_EQ(fake.at(target).lastWrite, 5000);
}

TEST_F(DateStageTest, TheUserDateChangesTheLastWriteTimeOnlyWhenItWouldBeIncoherent) {
  settings.DateMode = 2;
  settings.NewFilesDate = platform::DateTime{2001, 2, 3, 4, 5, 6};
  settings.NewFilesDateUtc = 3000;  // before the output's last write
  step().CopyFileDates(source, target);
  EXPECT_EQ(fake.at(target).creation, 3000);
  EXPECT_EQ(fake.at(target).lastWrite, 5000);

  settings.NewFilesDate = platform::DateTime{2031, 2, 3, 0, 0, 0};
  settings.NewFilesDateUtc = 8000;  // after it
  step().CopyFileDates(source, target);
  EXPECT_EQ(fake.at(target).creation, 8000);
  EXPECT_EQ(fake.at(target).lastWrite, 8000);
  // Midnight shows the date alone.
  EXPECT_THAT(lines,
              ElementsAre("date: File Creation Date changed to 2001-02-03 04:05:06 (user set)",
                          "date: File Creation and LastWrite Date changed to 2031-02-03 (user "
                          "set)"));
}

TEST_F(DateStageTest, CurrentDatesChangeAndLogNothing) {
  settings.DateMode = 1;
  EXPECT_EQ(step().CopyFileMetadata(source, target), std::nullopt);
  EXPECT_EQ(step().CopyFolderMetadata(sourceDir, targetDir), std::nullopt);
  EXPECT_EQ(fake.at(target).creation, 5000);
  EXPECT_EQ(fake.at(targetDir).creation, 5000);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find("Date"), std::string::npos) << line;
  }
}

TEST_F(DateStageTest, WithoutTheBackupPrivilegesTheGateNamesTheOutputFolderAndSkipsTheDates) {
  fake.privilegesEnabled.clear();
  fake.privilegesHeld.erase("SeRestorePrivilege");
  step().CopyFileMetadata(source, target);
  EXPECT_EQ(fake.at(target).creation, 5000);
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "error: Error on setting backup/restore privileges: file time not "
                       "changed: " +
                           settings.OutPath),
            1);
}

TEST_F(DateStageTest, ASourceThatIsGoneEndsTheStepWithTheSystemsReason) {
  fake.entries.erase(source);
  const std::optional<std::string> failure = step().CopyFileMetadata(source, target);
  ASSERT_TRUE(failure.has_value());
  EXPECT_NE(failure->find("Code: 2"), std::string::npos) << *failure;
  EXPECT_NE(failure->find(source), std::string::npos) << *failure;
  EXPECT_EQ(fake.at(target).creation, 5000);
}

}  // namespace
}  // namespace kelvara::metadata
