#include "platform/FileInfo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include "platform/DosAttributes.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "support/ScratchDir.h"

namespace kelvara::platform {
namespace {

using testing::ScratchDir;

TEST(FileInfoTest, AttributesWithoutStoredValuesFollowTheFileItself) {
  ScratchDir tmp;
  const std::string plain = tmp.file("plain.doc");
  const std::string dotted = tmp.file(".dotted.doc");
  const std::string locked = tmp.file("locked.doc");
  ::chmod(locked.c_str(), 0444);
  const std::string folder = tmp.dir("folder");

  EXPECT_EQ(fileAttributes(plain), kDosArchive);
  EXPECT_EQ(fileAttributes(dotted), kDosArchive | kDosHidden);
  EXPECT_EQ(fileAttributes(locked), kDosArchive | kDosReadOnly);
  EXPECT_EQ(fileAttributes(folder), kDosDirectory);
  EXPECT_FALSE(fileAttributes(tmp / "missing.doc"));
}

TEST(FileInfoTest, StoredAttributesAndCreationTimeWin) {
  ScratchDir tmp;
  const std::string file = tmp.file("stored.doc");
  const FileTime created = unixToFileTime(946'684'800);  // 2000-01-01 UTC
  if (!testing::trySetXattr(file, kDosAttribXattr,
                            encodeDosAttribV5(kDosHidden | kDosSystem, created))) {
    GTEST_SKIP() << "the temporary folder's file system keeps no user.DOSATTRIB";
  }
  // No archive bit stored, so none is added; the directory bit of a file is never believed.
  EXPECT_EQ(fileAttributes(file), kDosHidden | kDosSystem);
  EXPECT_EQ(creationTime(file), created);
}

TEST(FileInfoTest, CreationTimeOfAnOrdinaryFileIsWhenItWasMade) {
  ScratchDir tmp;
  const FileTime before = unixToFileTime(std::time(nullptr) - 2);
  const std::string file = tmp.file("new.doc");
  const std::optional<FileTime> created = creationTime(file);
  ASSERT_TRUE(created);
  EXPECT_GE(*created, before);
  EXPECT_LE(*created, unixToFileTime(std::time(nullptr) + 2));
  EXPECT_FALSE(creationTime(tmp / "missing.doc"));
}

TEST(FileInfoTest, FileTimeToLocalIsTheInverseOfLocalToFileTime) {
  for (const DateTime dt : {DateTime{2024, 2, 29, 23, 59, 59}, DateTime{1969, 12, 31, 12, 0, 1},
                            DateTime{1601, 1, 2, 0, 0, 0}}) {
    EXPECT_EQ(fileTimeToLocal(localToFileTime(dt)), dt);
  }
}

TEST(FileInfoTest, BareProgramNamesAreFoundInThePath) {
  EXPECT_EQ(findProgram("/no/such/tool"), "/no/such/tool");
  EXPECT_EQ(findProgram("sub/tool"), "sub/tool");
  const std::string sh = findProgram("sh");
  EXPECT_EQ(sh.front(), '/');
  EXPECT_TRUE(isRegularFile(sh));
  EXPECT_EQ(findProgram("kelvara-no-such-program"), "kelvara-no-such-program");
}

}  // namespace
}  // namespace kelvara::platform
