// kelvara-batch over a small tree of documents with varied dates, attributes and ACLs: every
// output and created folder is compared with its source through stat, getfattr and getfacl.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/DosAttributes.h"
#include "platform/MetadataPlatform.h"
#include "support/ScratchDir.h"
#include "support/Subprocess.h"

namespace kelvara {
namespace {

namespace fs = std::filesystem;
using platform::AclKind;
using platform::FileTimeKind;

// What a command prints, without the file names, so that two files' answers compare.
std::string facts(const std::string& command, const std::string& path) {
  std::string text;
  if (FILE* pipe = ::popen((command + " '" + path + "' 2>&1").c_str(), "r")) {
    char buffer[512];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) {
      text.append(buffer, n);
    }
    ::pclose(pipe);
  }
  for (size_t p = text.find(path); p != std::string::npos; p = text.find(path)) {
    text.erase(p, path.size());
  }
  return text;
}

bool haveTools() {
  return std::system("command -v getfattr >/dev/null && command -v getfacl >/dev/null") == 0;
}

TEST(MetadataBatchTest, OutputsAndCreatedFoldersCarryTheirSourcesMetadata) {
  if (!haveTools()) {
    GTEST_SKIP() << "getfattr and getfacl are missing (Debian packages attr and acl)";
  }
  testing::ScratchDir tmp;
  platform::MetadataPlatform& system = platform::systemMetadata();
  const std::string letter = tmp.file("in/letter.rtf", "{\\rtf1\\ansi A letter.\\par}");
  const std::string sub = tmp.dir("in/sub");
  const std::string memo = tmp.file("in/sub/memo.rtf", "{\\rtf1\\ansi A memo.\\par}");
  if (system.setAttributes(letter, platform::kDosArchive | platform::kDosSystem) != 0 ||
      system.setAcl(memo, AclKind::Access, "u::rw-,u:1234:r--,g::r--,g:2345:rw-,m::rw-,o::---") !=
          0) {
    GTEST_SKIP() << "the scratch folder's file system keeps no user extended attributes or ACLs";
  }
  constexpr platform::FileTime k1999 = 125600000000000000LL;
  system.setFileTime(letter, k1999, FileTimeKind::Creation);
  system.setFileTime(letter, k1999 + 5000000000LL, FileTimeKind::LastWrite);
  system.setFileTime(memo, k1999 + 7000000000LL, FileTimeKind::Creation);
  system.setFileTime(memo, k1999 + 9000000000LL, FileTimeKind::LastWrite);
  system.setAttributes(memo, platform::kDosArchive | platform::kDosReadOnly);
  ::chmod(memo.c_str(), 0440);
  system.setFileTime(sub, k1999 + 1000000000LL, FileTimeKind::Creation);
  system.setFileTime(sub, k1999 + 3000000000LL, FileTimeKind::LastWrite);
  system.setAcl(sub, AclKind::Default, "u::rwx,u:1234:r-x,g::r-x,m::r-x,o::---");
  const std::string before =
      facts("stat -c '%a %Y' ", letter) + facts("getfacl --absolute-names -n", memo);

  // The ACLs are copied, not taken over.
  fs::create_directories(tmp / "config");
  std::ofstream(tmp / "config/Kelva.ini")
      << "[Conversion Options]\nFileTakeOwnership=0\nFolderTakeOwnership=0\n";
  const testing::ProcessResult result =
      testing::RunProgram({KELVARA_BATCH_EXE, "/i:", tmp / "in/", "/o:", tmp / "out/", "/of:", "8"},
                          {{"KELVARA_CONFIG_DIR", tmp / "config"},
                           {"XDG_STATE_HOME", tmp / "state"},
                           {"XDG_RUNTIME_DIR", tmp / "state"}},
                          tmp.dir("proc"));
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;

  const std::pair<std::string, std::string> pairs[] = {
      {letter, tmp / "out/letter.rtf"}, {memo, tmp / "out/sub/memo.rtf"}, {sub, tmp / "out/sub"}};
  for (const auto& [from, to] : pairs) {
    SCOPED_TRACE(to);
    // Mode, owner, group and last-write time; the DOS attributes with the creation time;
    // the access and default ACLs.
    EXPECT_EQ(facts("stat -c '%a %u %g %Y'", to), facts("stat -c '%a %u %g %Y'", from));
    EXPECT_EQ(facts("getfattr --absolute-names -e hex -n user.DOSATTRIB", to),
              facts("getfattr --absolute-names -e hex -n user.DOSATTRIB", from));
    EXPECT_EQ(facts("getfacl --absolute-names -n", to), facts("getfacl --absolute-names -n", from));
  }
  // No input was changed.
  EXPECT_EQ(facts("stat -c '%a %Y' ", letter) + facts("getfacl --absolute-names -n", memo), before);
  const std::string log = testing::readFile(tmp / "out/Log/ConvLog.txt");
  EXPECT_NE(log.find("File Creation and LastWrite Date changed to original file's dates"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Folder Security data Copied"), std::string::npos) << log;
}

}  // namespace
}  // namespace kelvara
