#include <sys/stat.h>
#include <sys/xattr.h>

#include <filesystem>

#include "platform/MetadataPlatform.h"
#include "unit/run/BatchRunFixture.h"

namespace kelvara::run {
namespace {

constexpr platform::FileTime kCreated = 126227808000000000LL;  // 2001-01-01
constexpr platform::FileTime kWritten = kCreated + 86400LL * 10000000LL * 30;

// Runs with the real metadata platform over sources of known dates.
class BatchRunMetadataTest : public BatchRunFixture {
 protected:
  void SetUp() override {
    BatchRunFixture::SetUp();
    metadataPlatform = &system;
    settings.LogDateChanges = true;
  }
  // False when the scratch folder's file system keeps no creation times.
  bool date(const std::string& path) {
    return system.setFileTime(path, kCreated, platform::FileTimeKind::Creation) == 0 &&
           system.setFileTime(path, kWritten, platform::FileTimeKind::LastWrite) == 0;
  }
  platform::MetadataPlatform& system = platform::systemMetadata();
};

TEST_F(BatchRunMetadataTest, OutputsAndCreatedFoldersGetTheirSourcesDatesWithTheirLines) {
  settings.FilesCopySecurityAll = settings.FoldersCopySecurityAll = false;
  settings.FileTakeOwnership = settings.FolderTakeOwnership = false;
  settings.CopyFilesOwner = settings.CopyFilesGroup = false;
  settings.CopyFilesDACL = settings.CopyFilesSACL = false;
  settings.CopyFoldersOwner = settings.CopyFoldersGroup = false;
  settings.CopyFoldersDACL = settings.CopyFoldersSACL = false;
  const std::string doc = tmp.file("in/sub/a.doc");
  if (!date(doc) || !date(in + "sub/")) {
    GTEST_SKIP() << "the scratch folder's file system keeps no user extended attributes";
  }
  ASSERT_TRUE(run());
  EXPECT_EQ(counters.FilesConverted, 1);
  for (const std::string& path : {out + "sub/a.rtf", out + "sub/"}) {
    EXPECT_EQ(system.creationTime(path, nullptr), kCreated) << path;
    // The folder keeps its date although the document was written into it afterwards.
    EXPECT_EQ(system.lastWriteTime(path, nullptr), kWritten) << path;
  }
  const std::string conv = log("ConvLog.txt");
  const size_t folder = conv.find("Folder " + out +
                                  "sub/ created\r\n"
                                  "Folder Creation and LastWrite Date changed to original "
                                  "folder' dates\r\n");
  const size_t file = conv.find(
      "Spelling Err.\r\nFile Creation and LastWrite Date changed to original file's dates\r\n"
      " Result OK");
  EXPECT_NE(folder, std::string::npos) << conv;
  EXPECT_NE(file, std::string::npos) << conv;
  EXPECT_LT(folder, file);
}

TEST_F(BatchRunMetadataTest, AReadOnlyHiddenSourceGivesSuchAnOutputThatTheNextRunReplaces) {
  const std::string doc = tmp.file("in/a.doc");
  if (system.setAttributes(doc, 0x22) != 0) {
    GTEST_SKIP() << "the scratch folder's file system keeps no user extended attributes";
  }
  ::chmod(doc.c_str(), 0444);
  settings.ScanHFiles = true;
  for (int pass = 1; pass <= 2; ++pass) {
    ASSERT_TRUE(run());
    EXPECT_EQ(counters.FilesConverted, 1) << "pass " << pass;
    EXPECT_EQ(system.attributes(out + "a.rtf"), 0x23u);
    struct stat st;
    ASSERT_EQ(::stat((out + "a.rtf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u);
  }
}

TEST_F(BatchRunMetadataTest, ASourceGoneBeforeItsMetadataFailsTheDocumentAndTheRunGoesOn) {
  tmp.file("in/a.doc");
  tmp.file("in/b.doc");
  engine.onOpen = [&](const std::string& path) {
    if (path.find("a.doc") != std::string::npos) {
      std::filesystem::remove(path);
    }
  };
  ASSERT_TRUE(run());
  EXPECT_EQ(counters.FilesConverted, 1);
  EXPECT_EQ(counters.FilesInError, 1);
  const std::string errors = log("ErrorLog.txt");
  EXPECT_NE(errors.find("Conversion a.doc -> a.rtf"), std::string::npos) << errors;
  EXPECT_NE(errors.find(" Result ERROR - System Error.  Code: 2. "), std::string::npos) << errors;
  EXPECT_EQ(errors.find("b.doc"), std::string::npos) << errors;
}

}  // namespace
}  // namespace kelvara::run
