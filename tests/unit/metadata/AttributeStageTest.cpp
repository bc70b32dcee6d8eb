#include <gmock/gmock.h>

#include "unit/metadata/MetadataFixture.h"

namespace kelvara::metadata {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr uint32_t kReadOnly = 0x01, kHidden = 0x02, kSystem = 0x04, kArchive = 0x20;
constexpr uint32_t kNotIndexed = 0x2000;

class AttributeStageTest : public MetadataFixture {
 protected:
  void SetUp() override {
    MetadataFixture::SetUp();
    settings.DateMode = 1;
    settings.FilesCopySecurityAll = settings.FoldersCopySecurityAll = false;
  }
};

TEST_F(AttributeStageTest, CopyModeCopiesTheWordSilentlyAndMakesTheFileReadOnlyLast) {
  settings.DateMode = 0;
  fake.at(source).attributes = kReadOnly | kHidden | kArchive | kNotIndexed;
  EXPECT_EQ(step().CopyFileMetadata(source, target), std::nullopt);
  EXPECT_EQ(fake.at(target).attributes, kReadOnly | kHidden | kArchive | kNotIndexed);
  EXPECT_TRUE(fake.at(target).readOnlyBits);
  // The dates are written while the file may still be written to.
  ASSERT_GE(fake.writes.size(), 3u);
  EXPECT_EQ(fake.writes.front(), target + " attributes " + std::to_string(0x2023));
  EXPECT_EQ(fake.writes.back(), target + " readOnly 1");
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find("Attributes"), std::string::npos) << line;
  }
}

TEST_F(AttributeStageTest, AdjustModeWithEveryRuleCopyKeepsTheFourAndDropsTheRest) {
  settings.CopyFilesAttr = false;
  fake.at(source).attributes = kSystem | kArchive | kNotIndexed;
  step().CopyFileMetadata(source, target);
  EXPECT_EQ(fake.at(target).attributes, kSystem | kArchive);
  EXPECT_FALSE(fake.at(target).readOnlyBits);
  EXPECT_THAT(lines, ElementsAre("log: File Attributes changed from --SA-- to --SA--"));
}

TEST_F(AttributeStageTest, EachRuleSetsClearsOrCopiesItsAttribute) {
  settings.CopyFilesAttr = false;
  settings.ReadOnlyAttrb = 1;  // Off
  settings.HiddenAttrb = 2;    // Copy
  settings.ArchiveAttrb = 0;   // On
  settings.SystemAttrb = 1;    // Off
  fake.at(source).attributes = kHidden;
  fake.at(source).readOnlyBits = true;
  fake.at(target).readOnlyBits = true;  // a writable output is what Off means
  step().CopyFileMetadata(source, target);
  EXPECT_EQ(fake.at(target).attributes, kArchive | kHidden);
  EXPECT_FALSE(fake.at(target).readOnlyBits);
  EXPECT_THAT(lines, ElementsAre("log: File Attributes changed from -R---H to ---A-H"));

  lines.clear();
  settings.LogAttributesChange = false;
  step().CopyFileMetadata(source, target);
  EXPECT_THAT(lines, IsEmpty());
}

TEST_F(AttributeStageTest, AnUnreadableSourceReadsAsEveryBitAndChangesNothingInCopyMode) {
  fake.entries.erase(source);
  settings.DateMode = 1;
  step().CopyFileMetadata(source, target);
  EXPECT_THAT(fake.writes, IsEmpty());

  settings.CopyFilesAttr = false;
  settings.ReadOnlyAttrb = 1;
  settings.SystemAttrb = 0;
  step().CopyFileMetadata(source, target);
  EXPECT_EQ(fake.at(target).attributes, 0x10u | kHidden | kArchive | kSystem);
  EXPECT_THAT(lines, ElementsAre("log: File Attributes changed from DRSA*H to D-SA-H"));
}

TEST_F(AttributeStageTest, AReadOnlyFolderKeepsItsPermissionsSoTheRunCanFillIt) {
  settings.CopyFilesAttr = false;
  settings.ReadOnlyAttrb = 0;
  step().CopyFolderMetadata(sourceDir, targetDir);
  EXPECT_EQ(fake.at(targetDir).attributes, 0x10u | kReadOnly);
  EXPECT_FALSE(fake.at(targetDir).readOnlyBits);
  EXPECT_THAT(lines, ElementsAre("log: File Attributes changed from D----- to DR----"));
}

}  // namespace
}  // namespace kelvara::metadata
