#include <gmock/gmock.h>

#include "unit/metadata/MetadataFixture.h"

namespace kelvara::metadata {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SecurityStageTest : public MetadataFixture {
 protected:
  void SetUp() override {
    MetadataFixture::SetUp();
    settings.InpPath = tmp.path() + "in/";
    settings.DateMode = 1;
    settings.LogAttributesChange = false;
    settings.FileTakeOwnership = settings.FolderTakeOwnership = false;
    for (const std::string* path : {&source, &sourceDir}) {
      fake.at(*path).owner = {1001, 2002};
      fake.at(*path).acl = "user::rw-,user:1234:r--,group::r--,group:2345:rw-,mask::rw-,other::---";
    }
    fake.at(sourceDir).defaultAcl = "user::rwx,group::r-x,other::---";
    fake.at(targetDir).defaultAcl = "user::rwx,group::rwx,other::rwx";
  }
  MetadataStep ready() {
    MetadataStep s = step();
    s.CheckNtfsDrives();
    return s;
  }
  void perPart(bool on) { settings.FilesCopySecurityAll = settings.FoldersCopySecurityAll = !on; }
};

TEST_F(SecurityStageTest, CopyAllGivesOwnerGroupAndAclsWithOneLine) {
  ready().CopyFileMetadata(source, target);
  EXPECT_EQ(fake.at(target).owner.uid, 1001u);
  EXPECT_EQ(fake.at(target).owner.gid, 2002u);
  EXPECT_EQ(fake.at(target).acl, fake.at(source).acl);
  EXPECT_THAT(lines, ElementsAre("log: File Security data Copied"));
  EXPECT_THAT(lamps, ElementsAre("2/0"));

  lines.clear();
  ready().CopyFolderMetadata(sourceDir, targetDir);
  EXPECT_EQ(fake.at(targetDir).acl, fake.at(sourceDir).acl);
  EXPECT_EQ(fake.at(targetDir).defaultAcl, fake.at(sourceDir).defaultAcl);
  EXPECT_THAT(lines, ElementsAre("log: Folder Security data Copied"));

  // A folder's lines need the folder-operations log as well; a file's do not.
  lines.clear();
  settings.LogFoldersOperation = false;
  ready().CopyFolderMetadata(sourceDir, targetDir);
  ready().CopyFileMetadata(source, target);
  EXPECT_THAT(lines, ElementsAre("log: File Security data Copied"));
}

TEST_F(SecurityStageTest, CopyAllThatSetsTheOwnerButNotTheAclIsNotReportedAsCopied) {
  fake.failures.insert(target + "|acl");
  ready().CopyFileMetadata(source, target);
  EXPECT_THAT(lines, ElementsAre("error: Error in Setting Security Info: Permission denied"));
  EXPECT_THAT(lamps, ElementsAre("2/2"));
}

TEST_F(SecurityStageTest, EachPartIsCopiedAndLoggedOnItsOwnAndTheAuditListIsNothingToWrite) {
  perPart(true);
  settings.CopyFilesGroup = false;
  ready().CopyFileMetadata(source, target);
  EXPECT_EQ(fake.at(target).owner.uid, 1001u);
  EXPECT_EQ(fake.at(target).owner.gid, 0u);
  EXPECT_EQ(fake.at(target).acl, fake.at(source).acl);
  EXPECT_THAT(lines, ElementsAre("log: Owner Copied", "log: DACL Copied", "log: SACL Copied"));
}

TEST_F(SecurityStageTest, FailuresGiveTheirOwnTextsAndTheFollowingPartsStillRun) {
  perPart(true);
  fake.failures.insert(target + "|owner");
  fake.failures.insert(target + "|acl");
  ready().CopyFileMetadata(source, target);
  EXPECT_THAT(lines, ElementsAre("error: Error in Setting Security Info: Permission denied",
                                 "error: Error in Setting Security Info: Permission denied",
                                 "error: Error in Settting Security Info: Permission denied",
                                 "log: SACL Copied"));
  EXPECT_THAT(lamps, ElementsAre("2/2", "2/2", "2/2", "2/0"));

  lines.clear();
  lamps.clear();
  fake.failures = {source + "|readOwner"};
  ready().CopyFileMetadata(source, target);
  EXPECT_THAT(lines, ElementsAre("error: Error in Getting Security Info: Permission denied",
                                 "error: Error in Gettting Security Info: Permission denied",
                                 "error: Error in Getting Security Info: Permission denied",
                                 "error: Error in Gettting Security Info: Permission denied"));
  // A DACL that cannot be read leaves the lamp as it is.
  EXPECT_THAT(lamps, ElementsAre("2/2", "2/2", "2/2"));
}

TEST_F(SecurityStageTest, TakingOwnershipReplacesTheAclAndFallsBackToChangingTheOwner) {
  perPart(true);
  settings.CopyFilesOwner = settings.CopyFilesGroup = false;
  settings.CopyFilesDACL = settings.CopyFilesSACL = false;
  settings.FileTakeOwnership = true;
  ready().CopyFileMetadata(source, target);
  EXPECT_EQ(fake.at(target).acl, "user::rw-,group::r--,group:0:rw-,mask::rw-,other::r--");
  EXPECT_THAT(lines, ElementsAre("log: Successfully changed DACL", "log: File Ownership taken"));

  // Refused while another user owns it: root (Administrators) becomes the owner first.
  lines.clear();
  fake.at(target).owner = {4321, 4321};
  fake.failures.insert(target + "|acl");
  fake.onChange = [&](const std::string& path) {
    if (fake.at(path).owner.uid == 0) {
      fake.failures.erase(path + "|acl");
    }
  };
  ready().CopyFileMetadata(source, target);
  EXPECT_EQ(fake.at(target).owner.uid, 0u);
  EXPECT_THAT(lines, ElementsAre("log: Successfully changed DACL", "log: File Ownership taken"));
}

TEST_F(SecurityStageTest, TakingOwnershipWithoutTheCapabilityAsksForAnAdministrator) {
  perPart(true);
  settings.CopyFilesOwner = settings.CopyFilesGroup = false;
  settings.CopyFilesDACL = settings.CopyFilesSACL = false;
  settings.FileTakeOwnership = true;
  fake.chownEffective = fake.chownPermitted = false;
  fake.failures.insert(target + "|acl");
  ready().CopyFileMetadata(source, target);
  EXPECT_THAT(lines, ElementsAre("box: The token does not have the specified privilege.",
                                 "error: You must be logged on as Administrator."));
  EXPECT_EQ(fake.at(target).owner.uid, 0u);
}

TEST_F(SecurityStageTest, EveryoneRwedOpensOtherAndAFolderHandsItOn) {
  perPart(true);
  settings.CopyFoldersOwner = settings.CopyFoldersGroup = false;
  settings.CopyFoldersDACL = settings.CopyFoldersSACL = false;
  settings.FolderSetEveryoneRWED = true;
  fake.at(targetDir).acl = "user::rwx,group::r-x,other::---";
  fake.at(targetDir).defaultAcl = "";
  ready().CopyFolderMetadata(sourceDir, targetDir);
  EXPECT_EQ(fake.at(targetDir).acl, "user::rwx,group::r-x,other::rwx");
  EXPECT_EQ(fake.at(targetDir).defaultAcl, "user::rwx,group::r-x,other::rwx");
  EXPECT_THAT(lines, ElementsAre("log: Folder Everyone RWED access set"));
}

TEST_F(SecurityStageTest, WithoutAclsOnTheOutputSideTheStageWarnsOnceAndDoesNothing) {
  fake.security = false;
  ready().CopyFileMetadata(source, target);
  EXPECT_THAT(lines,
              ElementsAre("box: Warning! Source drive is not NTFS so the authorizations can't be "
                          "copied.",
                          "box: Warning! destination drive is not NTFS so the authorizations "
                          "can't be set."));
  EXPECT_THAT(lamps, Contains("2/0 off"));
  EXPECT_EQ(fake.at(target).owner.uid, 0u);
  EXPECT_THAT(fake.writes, Contains(target + " attributes 32"));
}

TEST_F(SecurityStageTest, WithoutTheSecurityPrivilegesTheGateNamesTheOutputFolder) {
  fake.privilegesEnabled.clear();
  fake.privilegesHeld = {"SeBackupPrivilege", "SeRestorePrivilege"};
  ready().CopyFileMetadata(source, target);
  EXPECT_THAT(lines, ElementsAre("error: Error on setting TakeOwnership/Security privileges: "
                                 "privileges not copied: " +
                                 settings.OutPath));
  EXPECT_EQ(fake.at(target).owner.uid, 0u);
}

}  // namespace
}  // namespace kelvara::metadata
