#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/DosAttributes.h"
#include "platform/SystemError.h"
#include "support/ScratchDir.h"
#include "unit/run/AccessGuard.h"

namespace kelvara::platform {
namespace {

using kelvara::testing::ScratchDir;

const DirEntry* find(const std::vector<DirEntry>& entries, const std::string& name) {
  const auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const DirEntry& e) { return e.name == name; });
  return it == entries.end() ? nullptr : &*it;
}

TEST(FileSystemTest, CreateOneFolderLevel) {
  ScratchDir dir;
  EXPECT_EQ(createDirectory(dir / "a/b"), ENOENT);
  EXPECT_EQ(createDirectory(dir / "a"), 0);
  EXPECT_EQ(createDirectory(dir / "a/"), EEXIST);
  EXPECT_TRUE(isDirectory(dir / "a"));
}

TEST(FileSystemTest, CreateNestedFolders) {
  ScratchDir dir;
  EXPECT_EQ(createDirectories(dir / "x/y/z/"), 0);
  EXPECT_TRUE(isDirectory(dir / "x/y/z"));
  EXPECT_EQ(createDirectories(dir / "x/y/z"), 0);  // already there
  dir.file("plain");
  EXPECT_EQ(createDirectories(dir / "plain/sub"), ENOTDIR);
  EXPECT_EQ(createDirectories(""), ENOENT);
}

TEST(FileSystemTest, ListingClassifiesEntries) {
  ScratchDir dir;
  dir.file("a.doc", "12345");
  dir.file(".hidden.doc");
  dir.dir("folder");
  dir.dir(".config");
  std::filesystem::create_symlink(dir / "a.doc", dir / "link.doc");
  std::filesystem::create_symlink(dir / "folder", dir / "folderlink");
  std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);

  int error = -1;
  const auto entries = listDirectory(dir.path(), &error);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(entries.size(), 5u);

  const DirEntry* a = find(entries, "a.doc");
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->isFile);
  EXPECT_FALSE(a->isDirectory || a->isHidden || a->isSystem);
  EXPECT_EQ(a->size, 5u);

  const DirEntry* link = find(entries, "link.doc");
  ASSERT_TRUE(link);
  EXPECT_TRUE(link->isFile);
  EXPECT_EQ(link->size, 5u);

  ASSERT_TRUE(find(entries, ".hidden.doc"));
  EXPECT_TRUE(find(entries, ".hidden.doc")->isHidden);
  ASSERT_TRUE(find(entries, "folder"));
  EXPECT_TRUE(find(entries, "folder")->isDirectory);
  EXPECT_FALSE(find(entries, "folder")->isHidden);
  ASSERT_TRUE(find(entries, ".config"));
  EXPECT_TRUE(find(entries, ".config")->isHidden);
  EXPECT_FALSE(find(entries, "folderlink"));
  EXPECT_FALSE(find(entries, "dangling"));
  EXPECT_FALSE(find(entries, "pipe"));
}

TEST(FileSystemTest, ListingReadsDosHiddenAndSystemBits) {
  ScratchDir dir;
  const std::string h = dir.file("h.doc");
  const std::string s = dir.dir("s");
  if (!kelvara::testing::trySetXattr(h, kDosAttribXattr, "0x22")) {
    GTEST_SKIP() << "the file system refuses user extended attributes";
  }
  ASSERT_TRUE(kelvara::testing::trySetXattr(s, kDosAttribXattr,
                                            encodeDosAttribV5(kDosDirectory | kDosSystem, {})));
  const auto entries = listDirectory(dir.path());
  ASSERT_TRUE(find(entries, "h.doc"));
  EXPECT_TRUE(find(entries, "h.doc")->isHidden);
  EXPECT_FALSE(find(entries, "h.doc")->isSystem);
  ASSERT_TRUE(find(entries, "s"));
  EXPECT_TRUE(find(entries, "s")->isSystem);
  EXPECT_FALSE(find(entries, "s")->isHidden);
}

TEST(FileSystemTest, UnlistableFoldersGiveNothing) {
  ScratchDir dir;
  int error = 0;
  EXPECT_TRUE(listDirectory(dir / "missing", &error).empty());
  EXPECT_EQ(error, ENOENT);
  kelvara::testing::PermissionsBind binding;
  if (binding.active()) {
    const std::string locked = dir.dir("locked");
    dir.file("locked/x");
    ::chmod(locked.c_str(), 0);
    EXPECT_TRUE(listDirectory(locked, &error).empty());
    EXPECT_EQ(error, EACCES);
  }
}

TEST(FileSystemTest, ExistenceSizesAndIdentity) {
  ScratchDir dir;
  const std::string a = dir.file("a", "abc");
  std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
  std::filesystem::create_symlink(dir.path(), dir / "self");
  std::filesystem::create_hard_link(a, dir / "hard");

  EXPECT_TRUE(exists(a));
  EXPECT_TRUE(exists(dir / "dangling"));
  EXPECT_FALSE(exists(dir / "missing"));
  EXPECT_TRUE(isDirectory(dir / "self"));
  EXPECT_FALSE(isDirectory(a));

  EXPECT_EQ(fileSize(a), 3);
  EXPECT_EQ(fileSize(dir / "missing"), -1);

  EXPECT_TRUE(sameFile(a, dir / "hard"));
  EXPECT_TRUE(sameFile(a, dir / "self/a"));
  EXPECT_FALSE(sameFile(a, dir / "missing"));
  EXPECT_FALSE(sameFile(dir / "missing", dir / "missing"));
  dir.file("b", "abc");
  EXPECT_FALSE(sameFile(a, dir / "b"));
}

TEST(FileSystemTest, RemoveAndRenameReportErrno) {
  ScratchDir dir;
  const std::string a = dir.file("a");
  EXPECT_EQ(renameFile(a, dir / "b"), 0);
  EXPECT_FALSE(exists(a));
  EXPECT_EQ(renameFile(a, dir / "c"), ENOENT);
  EXPECT_EQ(removeFile(dir / "b"), 0);
  EXPECT_EQ(removeFile(dir / "b"), ENOENT);
}

TEST(FileSystemTest, CurrentFolderAndFreeSpace) {
  EXPECT_EQ(currentDirectory(), std::filesystem::current_path().string());
  ScratchDir dir;
  EXPECT_TRUE(freeSpace(dir.path()).has_value());
  EXPECT_FALSE(freeSpace(dir / "missing").has_value());
}

TEST(SystemErrorTest, MessageTexts) {
  EXPECT_EQ(systemErrorText(ENOSPC), "No space left on device");
  EXPECT_EQ(systemErrorText(ENOENT), "No such file or directory");
  EXPECT_FALSE(systemErrorText(123456).empty());
}

}  // namespace
}  // namespace kelvara::platform
