#include <gmock/gmock.h>
#include <sys/capability.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "metadata/MetadataStep.h"
#include "platform/MetadataPlatform.h"

namespace kelvara::metadata {
namespace {

using platform::AclKind;

constexpr const char* kNamedEntries =
    "user::rw-,user:1234:r--,group::r--,group:2345:rw-,mask::rw-,other::---";

// The security stage on the real system, on the disk's file system and on tmpfs.
class SystemSecurityTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    std::string pattern = GetParam() + "/kelvara-acl-XXXXXX";
    if (!std::filesystem::is_directory(GetParam()) || ::mkdtemp(pattern.data()) == nullptr) {
      GTEST_SKIP() << "no scratch folder can be made in " << GetParam();
    }
    root = pattern + "/";
    source = root + "a.doc";
    target = root + "a.rtf";
    std::ofstream(source) << "x";
    std::ofstream(target) << "y";
    if (system.setAcl(source, AclKind::Access, kNamedEntries) != 0) {
      GTEST_SKIP() << GetParam() << " keeps no POSIX ACLs";
    }
  }
  void TearDown() override {
    if (!root.empty()) {
      std::error_code ec;
      std::filesystem::remove_all(root, ec);
    }
  }
  MetadataStep step() {
    MetadataReport report;
    report.logLine = [this](std::string_view t) { lines.push_back(std::string(t)); };
    report.errorLine = [this](std::string_view t) { lines.push_back("error: " + std::string(t)); };
    report.message = [this](const std::string& t) { lines.push_back("box: " + t); };
    return MetadataStep(settings, system, locale, report);
  }
  std::string aclOf(const std::string& path, AclKind kind = AclKind::Access) {
    std::string text;
    EXPECT_EQ(system.acl(path, kind, text), 0);
    return text;
  }
  // Runs f in a child process without the given capabilities (neither effective nor
  // permitted); true when f returned true there.
  static bool withoutCapabilities(std::vector<cap_value_t> caps, const std::function<bool()>& f) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      cap_t c = cap_get_proc();
      const bool dropped =
          c && cap_set_flag(c, CAP_EFFECTIVE, int(caps.size()), caps.data(), CAP_CLEAR) == 0 &&
          cap_set_flag(c, CAP_PERMITTED, int(caps.size()), caps.data(), CAP_CLEAR) == 0 &&
          cap_set_proc(c) == 0;
      ::_exit(dropped && f() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  platform::MetadataPlatform& system = platform::systemMetadata();
  config::Settings settings;
  platform::Locale locale;
  std::string root, source, target;
  std::vector<std::string> lines;
};

TEST_P(SystemSecurityTest, TheAclWithNamedEntriesAndItsMaskIsCopiedAsItIs) {
  EXPECT_TRUE(step().CopySecurityPart(source, target, SecurityPart::DACL, false));
  EXPECT_EQ(aclOf(target), aclOf(source));
  EXPECT_EQ(aclOf(target), "u::rw-,u:1234:r--,g::r--,g:2345:rw-,m::rw-,o::---");
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0660u);  // the mask shows as the group bits
}

TEST_P(SystemSecurityTest, AFolderTakesTheDefaultAclOfItsSourceOrLosesItsOwn) {
  const std::string from = root + "in/", to = root + "out/";
  std::filesystem::create_directory(from);
  std::filesystem::create_directory(to);
  ASSERT_EQ(system.setAcl(from, AclKind::Default, "u::rwx,u:1234:r-x,g::r-x,m::r-x,o::---"), 0);
  EXPECT_TRUE(step().CopySecurityPart(from, to, SecurityPart::DACL, true));
  EXPECT_EQ(aclOf(to, AclKind::Default), aclOf(from, AclKind::Default));
  ASSERT_EQ(system.setAcl(from, AclKind::Default, ""), 0);
  EXPECT_TRUE(step().CopySecurityPart(from, to, SecurityPart::DACL, true));
  EXPECT_EQ(aclOf(to, AclKind::Default), "");
}

TEST_P(SystemSecurityTest, TheOwnerIsCopiedOnlyWithTheChownCapability) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "making files of another owner needs root";
  }
  ASSERT_EQ(::chown(source.c_str(), 4321, 4322), 0);
  EXPECT_FALSE(withoutCapabilities({CAP_CHOWN}, [&] {
    return step().CopySecurityPart(source, target, SecurityPart::Owner, false);
  }));
  EXPECT_TRUE(withoutCapabilities({CAP_CHOWN}, [&] {
    step().CopySecurityPart(source, target, SecurityPart::Owner, false);
    return lines == std::vector<std::string>{
                        "error: Error in Setting Security Info: Operation not permitted"};
  }));
  EXPECT_TRUE(step().CopySecurityPart(source, target, SecurityPart::All, false));
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 4322u);
  EXPECT_EQ(aclOf(target), aclOf(source));
}

TEST_P(SystemSecurityTest, TakingOwnershipOfAnotherUsersFileNeedsTheChownCapability) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "making files of another owner needs root";
  }
  ASSERT_EQ(::chown(target.c_str(), 4321, 4321), 0);
  // Without CAP_FOWNER the ACL of another user's file is refused; without CAP_CHOWN as well,
  // root cannot be made its owner.
  EXPECT_TRUE(withoutCapabilities({CAP_FOWNER, CAP_CHOWN}, [&] {
    return !step().TakeOwnershipOfPath(target, false) &&
           lines == std::vector<std::string>{
                        "box: The token does not have the specified "
                        "privilege.",
                        "error: You must be logged on as Administrator."};
  }));
  EXPECT_TRUE(withoutCapabilities({CAP_FOWNER}, [&] {
    return step().TakeOwnershipOfPath(target, false) &&
           lines == std::vector<std::string>{"Successfully changed DACL"};
  }));
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 0u);
  EXPECT_EQ(aclOf(target), "u::rw-,g::r--,g:0:rw-,m::rw-,o::r--");
}

INSTANTIATE_TEST_SUITE_P(FileSystems, SystemSecurityTest,
                         ::testing::Values(std::filesystem::temp_directory_path().string(),
                                           std::string("/dev/shm")),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           return param.index == 0 ? "Disk" : "Tmpfs";
                         });

}  // namespace
}  // namespace kelvara::metadata
