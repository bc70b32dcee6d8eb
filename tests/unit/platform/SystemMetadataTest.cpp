#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/DosAttributes.h"
#include "platform/FileInfo.h"
#include "platform/MetadataPlatform.h"
#include "unit/run/AccessGuard.h"

namespace kelvara::platform {
namespace {

// A scratch folder on the file system under test: the disk's (the temporary folder) and
// tmpfs (/dev/shm), which differ in what they keep.
class Scratch {
 public:
  explicit Scratch(const std::string& root) {
    std::string pattern = root + "/kelvara-meta-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern + "/";
    }
  }
  ~Scratch() {
    if (!path_.empty()) {
      std::error_code ec;
      std::filesystem::remove_all(path_, ec);
    }
  }
  bool ok() const { return !path_.empty(); }
  std::string file(const std::string& name) const {
    std::ofstream(path_ + name) << "x";
    return path_ + name;
  }
  std::string dir(const std::string& name) const {
    std::filesystem::create_directory(path_ + name);
    return path_ + name + "/";
  }

 private:
  std::string path_;
};

class SystemMetadataTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(GetParam())) {
      GTEST_SKIP() << GetParam() << " is missing";
    }
    scratch = std::make_unique<Scratch>(GetParam());
    if (!scratch->ok()) {
      GTEST_SKIP() << "no scratch folder can be made in " << GetParam();
    }
  }
  // Skips unless the file system keeps user extended attributes.
  bool userXattrs(const std::string& path) {
    if (::setxattr(path.c_str(), "user.kelvara-probe", "1", 1, 0) != 0) {
      return false;
    }
    ::removexattr(path.c_str(), "user.kelvara-probe");
    return true;
  }

  MetadataPlatform& system = systemMetadata();
  std::unique_ptr<Scratch> scratch;
};

constexpr FileTime kJan2001 = 126227808000000000LL + 1234567;  // with 100 ns left over

TEST_P(SystemMetadataTest, TimesWrittenAreReadBackWithTheOtherTimesUnchanged) {
  const std::string file = scratch->file("a.doc");
  const std::string folder = scratch->dir("sub");
  if (!userXattrs(file)) {
    GTEST_SKIP() << GetParam() << " keeps no user extended attributes";
  }
  for (const std::string& path : {file, folder}) {
    const FileTime written = *system.lastWriteTime(path, nullptr);
    ASSERT_EQ(system.setFileTime(path, kJan2001, FileTimeKind::Creation), 0);
    EXPECT_EQ(system.creationTime(path, nullptr), kJan2001) << path;
    EXPECT_EQ(system.lastWriteTime(path, nullptr), written) << path;
    ASSERT_EQ(system.setFileTime(path, kJan2001 + 10, FileTimeKind::LastWrite), 0);
    EXPECT_EQ(system.lastWriteTime(path, nullptr), kJan2001 + 10) << path;
    EXPECT_EQ(system.creationTime(path, nullptr), kJan2001) << path;
  }
  // Samba's own form: a version-5 value with the attribute and create-time parts.
  const std::optional<DosAttrib> stored = readDosAttrib(file);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->createTime, kJan2001);
  EXPECT_EQ(stored->attributes, kDosArchive);
}

TEST_P(SystemMetadataTest, CreationTimeFallsBackFromTheStoredValueToBirthToLastWrite) {
  const std::string file = scratch->file("a.doc");
  ASSERT_EQ(system.setFileTime(file, kJan2001, FileTimeKind::LastWrite), 0);
  struct statx sx;
  ASSERT_EQ(::statx(AT_FDCWD, file.c_str(), 0, STATX_BTIME, &sx), 0);
  const FileTime unstored = *system.creationTime(file, nullptr);
  if (sx.stx_mask & STATX_BTIME) {
    EXPECT_EQ(unstored,
              unixToFileTime(static_cast<std::time_t>(sx.stx_btime.tv_sec), sx.stx_btime.tv_nsec));
  } else {
    EXPECT_EQ(unstored, kJan2001);
  }
  if (userXattrs(file)) {
    ASSERT_EQ(system.setFileTime(file, kJan2001 - 50, FileTimeKind::Creation), 0);
    EXPECT_EQ(system.creationTime(file, nullptr), kJan2001 - 50);
  }
}

TEST_P(SystemMetadataTest, AttributesKeepTheCreationTimeAndReadOnlyLivesInTheWriteBits) {
  const std::string file = scratch->file("a.doc");
  if (!userXattrs(file)) {
    GTEST_SKIP() << GetParam() << " keeps no user extended attributes";
  }
  ::chmod(file.c_str(), 0664);
  ASSERT_EQ(system.setFileTime(file, kJan2001, FileTimeKind::Creation), 0);
  ASSERT_EQ(system.setAttributes(file, kDosHidden | kDosSystem), 0);
  EXPECT_EQ(system.creationTime(file, nullptr), kJan2001);
  EXPECT_EQ(system.attributes(file), kDosHidden | kDosSystem);

  ASSERT_EQ(system.mirrorReadOnly(file, true), 0);
  struct stat st;
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
  EXPECT_EQ(system.attributes(file), kDosReadOnly | kDosHidden | kDosSystem);
  ASSERT_EQ(system.mirrorReadOnly(file, false), 0);
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_P(SystemMetadataTest, AFileWithoutWriteBitsTakesNoMoreAttributesSoReadOnlyComesLast) {
  const std::string file = scratch->file("a.doc");
  if (!userXattrs(file)) {
    GTEST_SKIP() << GetParam() << " keeps no user extended attributes";
  }
  kelvara::testing::PermissionsBind bind;
  if (!bind.active()) {
    GTEST_SKIP() << "file permissions cannot be made to bind this process";
  }
  ASSERT_EQ(system.mirrorReadOnly(file, true), 0);
  EXPECT_EQ(system.setFileTime(file, kJan2001, FileTimeKind::Creation), EACCES);
  EXPECT_EQ(system.setAttributes(file, kDosArchive), EACCES);
}

TEST_P(SystemMetadataTest, AMissingEntryGivesItsErrno) {
  int code = 0;
  EXPECT_FALSE(system.creationTime(GetParam() + "/kelvara-none/x", &code).has_value());
  EXPECT_EQ(code, ENOENT);
  code = 0;
  EXPECT_FALSE(system.lastWriteTime(GetParam() + "/kelvara-none/x", &code).has_value());
  EXPECT_EQ(code, ENOENT);
  EXPECT_EQ(system.setFileTime(GetParam() + "/kelvara-none/x", kJan2001, FileTimeKind::Creation),
            ENOENT);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, SystemMetadataTest,
                         ::testing::Values(std::filesystem::temp_directory_path().string(),
                                           std::string("/dev/shm")),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           return param.index == 0 ? "Disk" : "Tmpfs";
                         });

TEST(FileTimeConversionTest, UnixTimeKeepsEveryHundredNanosecondsAlsoBefore1970) {
  for (const FileTime t : {kJan2001, FileTime{116444736000000000LL - 1}, FileTime{0}}) {
    const UnixTime u = fileTimeToUnix(t);
    EXPECT_GE(u.nanoseconds, 0);
    EXPECT_EQ(unixToFileTime(static_cast<std::time_t>(u.seconds), u.nanoseconds), t);
  }
}

}  // namespace
}  // namespace kelvara::platform
