#include "run/TreeScanner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

#include "platform/DosAttributes.h"
#include "support/ScratchDir.h"
#include "unit/run/AccessGuard.h"

namespace kelvara::run {
namespace {

using testing::ScratchDir;

// Records the events of a walk as "dir:", "file:", "done", "end" lines, with paths relative to
// the scratch root.
class Recorder {
 public:
  Recorder(TreeScanner& scanner, const std::string& root) : root_(root) {
    scanner.OnDirectoryFound = [this](TreeScanner& s) {
      EXPECT_EQ(s.FileSize(), 0);
      EXPECT_TRUE(s.SearchInProgress());
      events.push_back("dir:" + rel(s.FileFound()));
    };
    scanner.OnFileFound = [this](TreeScanner& s) {
      events.push_back("file:" + rel(s.FileFound()));
      if (onFile) {
        onFile(s);
      }
    };
    scanner.OnDirectoryDone = [this](TreeScanner& s) {
      EXPECT_EQ(s.FileSize(), 0);
      events.push_back("done");
    };
    scanner.OnSearchDone = [this](TreeScanner& s) {
      EXPECT_FALSE(s.SearchInProgress());
      events.push_back("end");
    };
  }

  std::vector<std::string> events;
  std::function<void(TreeScanner&)> onFile;

 private:
  std::string rel(const std::string& path) const {
    return path.compare(0, root_.size(), root_) == 0 ? path.substr(root_.size()) : path;
  }
  std::string root_;
};

std::vector<std::string> filesOnly(const std::vector<std::string>& events) {
  std::vector<std::string> out;
  for (const std::string& e : events) {
    if (e.rfind("file:", 0) == 0) {
      out.push_back(e.substr(5));
    }
  }
  return out;
}

class TreeScannerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scanner.InitialDirectory = tmp.path();
    scanner.setFileMask("*.*");
  }
  std::vector<std::string> walk() {
    Recorder recorder(scanner, tmp.path());
    scanner.Search();
    return recorder.events;
  }

  ScratchDir tmp;
  TreeScanner scanner;
};

TEST_F(TreeScannerTest, FilesOfAFolderComeBeforeItsSortedSubfolders) {
  tmp.file("b");
  tmp.file("a");
  tmp.file("Y/y1");
  tmp.file("X/x1");
  EXPECT_EQ(walk(),
            (std::vector<std::string>{"dir:", "file:a", "file:b", "dir:X/", "file:X/x1", "done",
                                      "dir:Y/", "file:Y/y1", "done", "done", "end"}));
}

TEST_F(TreeScannerTest, RootWithoutTrailingSlashGetsExactlyOne) {
  tmp.file("a");
  scanner.InitialDirectory = tmp.path().substr(0, tmp.path().size() - 1);
  Recorder recorder(scanner, tmp.path());
  scanner.Search();
  EXPECT_EQ(scanner.InitialDirectory, tmp.path());
  EXPECT_EQ(recorder.events.front(), "dir:");
  EXPECT_EQ(recorder.events[1], "file:a");
}

TEST_F(TreeScannerTest, RunMaskListReportsEachMatchingFileOnceInCaseInsensitiveOrder) {
  tmp.file("c.txt");
  tmp.file("b.rtf");
  tmp.file("a.doc");
  tmp.file("D.DOC");
  tmp.file("sub/e.Rtf");
  // The run turns "*.doc;*.rtf" into this comma text.
  scanner.setFileMaskCommaText("*.doc, *.rtf");
  EXPECT_EQ(filesOnly(walk()), (std::vector<std::string>{"a.doc", "b.rtf", "D.DOC", "sub/e.Rtf"}));

  scanner.setFileMaskCommaText("*.doc, a*");  // a.doc matches both masks
  EXPECT_EQ(filesOnly(walk()), (std::vector<std::string>{"a.doc", "D.DOC"}));
}

TEST_F(TreeScannerTest, OrderIgnoresCaseToTheEndOfTheAlphabet) {
  for (const char* name :
       {"zeta.doc", "Éclair.doc", "Zulu.doc", "alpha.doc", "Yak.doc", "ÄRA.doc", "Beta.doc"}) {
    tmp.file(name);
  }
  tmp.file("zz/1.doc");
  tmp.file("ZY/2.doc");
  tmp.file("Ω/3.doc");
  scanner.setFileMask("*.DOC");
  EXPECT_EQ(filesOnly(walk()),
            (std::vector<std::string>{"alpha.doc", "Beta.doc", "Yak.doc", "zeta.doc", "Zulu.doc",
                                      "ÄRA.doc", "Éclair.doc", "ZY/2.doc", "zz/1.doc", "Ω/3.doc"}));
}

TEST_F(TreeScannerTest, MasksDifferingOnlyInCaseAreOneMask) {
  tmp.file("a.doc");
  scanner.setFileMaskCommaText("*.doc, *.DOC");
  EXPECT_EQ(scanner.masks().masks().size(), 1u);
  EXPECT_EQ(filesOnly(walk()), (std::vector<std::string>{"a.doc"}));
}

TEST_F(TreeScannerTest, NamesDifferingOnlyInCaseAreDistinctFiles) {
  tmp.file("report.doc");
  tmp.file("Report.doc");
  EXPECT_EQ(filesOnly(walk()), (std::vector<std::string>{"Report.doc", "report.doc"}));
}

TEST_F(TreeScannerTest, DotNamesAreHiddenUnlessAsked) {
  tmp.file("a.doc");
  tmp.file(".b.doc");
  tmp.file(".cache/c.doc");
  EXPECT_EQ(walk(), (std::vector<std::string>{"dir:", "file:a.doc", "done", "end"}));

  scanner.FindHiddenFiles = true;
  EXPECT_EQ(filesOnly(walk()), (std::vector<std::string>{".b.doc", "a.doc"}));

  scanner.FindHiddenFiles = false;
  scanner.FindHiddenFolders = true;
  EXPECT_EQ(filesOnly(walk()), (std::vector<std::string>{"a.doc", ".cache/c.doc"}));
}

TEST_F(TreeScannerTest, DosHiddenAndSystemAttributes) {
  const std::string hiddenFile = tmp.file("h.doc");
  const std::string systemFile = tmp.file("s.doc");
  const std::string hiddenDir = tmp.dir("hdir");
  const std::string systemDir = tmp.dir("sdir");
  tmp.file("hdir/in-hidden.doc");
  tmp.file("sdir/in-system.doc");
  using namespace platform;
  if (!testing::trySetXattr(hiddenFile, kDosAttribXattr, encodeDosAttribV5(kDosHidden, {}))) {
    GTEST_SKIP() << "the file system refuses user extended attributes";
  }
  ASSERT_TRUE(testing::trySetXattr(systemFile, kDosAttribXattr, "0x24"));
  ASSERT_TRUE(testing::trySetXattr(hiddenDir, kDosAttribXattr,
                                   encodeDosAttribV5(kDosDirectory | kDosHidden, {})));
  ASSERT_TRUE(testing::trySetXattr(systemDir, kDosAttribXattr,
                                   encodeDosAttribV5(kDosDirectory | kDosSystem, {})));

  // System files are reported; hidden ones and folders are not; system folders never entered.
  EXPECT_EQ(walk(), (std::vector<std::string>{"dir:", "file:s.doc", "done", "end"}));

  scanner.FindHiddenFiles = true;
  scanner.FindHiddenFolders = true;
  EXPECT_EQ(walk(), (std::vector<std::string>{"dir:", "file:h.doc", "file:s.doc", "dir:hdir/",
                                              "file:hdir/in-hidden.doc", "done", "done", "end"}));
}

TEST_F(TreeScannerTest, NonRecursiveWalkReportsOnlyTheRoot) {
  tmp.file("a");
  tmp.file("X/x1");
  scanner.Recursive = false;
  EXPECT_EQ(walk(), (std::vector<std::string>{"dir:", "file:a", "done", "end"}));
}

TEST_F(TreeScannerTest, StopInAFolderClosesOpenFoldersAndEndsOnce) {
  tmp.file("a");
  tmp.file("X/x1");
  tmp.file("X/x2");
  tmp.file("X/x3");
  tmp.file("X/Z/z1");
  tmp.file("Y/y1");
  Recorder recorder(scanner, tmp.path());
  recorder.onFile = [](TreeScanner& s) {
    if (s.FileFound().ends_with("x2")) {
      s.Stop();
    }
  };
  scanner.Search();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"dir:", "file:a", "dir:X/", "file:X/x1",
                                                       "file:X/x2", "done", "done", "end"}));
  EXPECT_FALSE(scanner.Active());
  EXPECT_FALSE(scanner.Recursive);
  EXPECT_FALSE(scanner.SearchInProgress());
}

TEST_F(TreeScannerTest, StopAtAFolderCheckpointRaisesNothingForThatFolder) {
  tmp.file("a");
  tmp.file("X/x1");
  tmp.file("Y/y1");
  int checkpoints = 0;
  scanner.ProcessPendingMessages = [&] {
    if (++checkpoints == 3) {  // root, X, then Y
      scanner.Stop();
    }
  };
  EXPECT_EQ(walk(), (std::vector<std::string>{"dir:", "file:a", "dir:X/", "file:X/x1", "done",
                                              "done", "end"}));
  EXPECT_EQ(checkpoints, 3);
}

TEST_F(TreeScannerTest, UnreadableFolderYieldsNoEntriesAndTheWalkGoesOn) {
  testing::PermissionsBind binding;
  if (!binding.active()) {
    GTEST_SKIP() << "this process reads every folder";
  }
  tmp.file("A/locked/secret.doc");
  tmp.file("B/b.doc");
  ::chmod(tmp.dir("A/locked").c_str(), 0);
  EXPECT_EQ(walk(), (std::vector<std::string>{"dir:", "dir:A/", "dir:A/locked/", "done", "done",
                                              "dir:B/", "file:B/b.doc", "done", "done", "end"}));
}

TEST_F(TreeScannerTest, EmptyInitialDirectoryWalksTheCurrentFolder) {
  tmp.file("here.doc");
  const auto saved = std::filesystem::current_path();
  std::filesystem::current_path(tmp.path());
  scanner.InitialDirectory.clear();
  const auto events = walk();
  std::filesystem::current_path(saved);
  EXPECT_EQ(events, (std::vector<std::string>{"dir:", "file:here.doc", "done", "end"}));
}

TEST_F(TreeScannerTest, HandlerExceptionsAreSwallowed) {
  tmp.file("a");
  tmp.file("b");
  tmp.file("X/x1");
  tmp.file("Y/y1");
  Recorder recorder(scanner, tmp.path());
  recorder.onFile = [](TreeScanner&) { throw std::runtime_error("handler failed"); };
  auto folderFound = scanner.OnDirectoryFound;
  scanner.OnDirectoryFound = [&](TreeScanner& s) {
    folderFound(s);
    if (s.FileFound().ends_with("/X/")) {
      throw std::runtime_error("folder failed");
    }
  };
  scanner.Search();
  // X's handler failed: X is left without its events; the walk goes on with Y.
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"dir:", "file:a", "file:b", "dir:X/", "dir:Y/", "file:Y/y1",
                                      "done", "done", "end"}));
}

TEST_F(TreeScannerTest, FailingRootHandlerStillEndsTheSearch) {
  int ends = 0;
  scanner.OnDirectoryFound = [](TreeScanner&) { throw std::runtime_error("root failed"); };
  scanner.OnSearchDone = [&](TreeScanner&) { ++ends; };
  scanner.Search();
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(scanner.SearchInProgress());
}

TEST_F(TreeScannerTest, FileSizeIsClampedFromFourGibibytes) {
  const std::string big = tmp.file("big.bin", "");
  const std::string mid = tmp.file("mid.bin", "");
  const std::string small = tmp.file("small.bin", "12345");
  std::error_code ec;
  std::filesystem::resize_file(big, 4ull << 30, ec);
  if (!ec) {
    std::filesystem::resize_file(mid, 3ull << 30, ec);
  }
  if (ec) {
    GTEST_SKIP() << "no sparse files here";
  }
  std::map<std::string, int32_t> sizes;
  scanner.OnFileFound = [&](TreeScanner& s) { sizes[s.FileFound()] = s.FileSize(); };
  scanner.Search();
  EXPECT_EQ(sizes[big], 2147483647);
  EXPECT_EQ(sizes[mid], static_cast<int32_t>(static_cast<uint32_t>(3ull << 30)));
  EXPECT_EQ(sizes[small], 5);
  EXPECT_EQ(scanner.FileSize(), 0);
  EXPECT_EQ(ScannerFileSize(0xFFFFFFFFull), -1);
  EXPECT_EQ(ScannerFileSize(0x100000001ull), 2147483647);
}

TEST_F(TreeScannerTest, LinksToFilesAreFilesLinksToFoldersAreNotFollowed) {
  tmp.file("real/r.doc");
  std::filesystem::create_symlink(tmp / "real", tmp / "loop");
  std::filesystem::create_symlink(tmp / "real/r.doc", tmp / "link.doc");
  std::filesystem::create_symlink(tmp / "missing", tmp / "dangling.doc");
  std::filesystem::create_symlink(tmp.path(), tmp / "real/up");  // a cycle if followed
  EXPECT_EQ(walk(), (std::vector<std::string>{"dir:", "file:link.doc", "dir:real/",
                                              "file:real/r.doc", "done", "done", "end"}));
}

TEST_F(TreeScannerTest, MasksCannotChangeDuringASearchAndNewFilesDoNotJoin) {
  tmp.file("a.doc");
  tmp.file("b.doc");
  scanner.setFileMask("*.doc");
  Recorder recorder(scanner, tmp.path());
  recorder.onFile = [&](TreeScanner& s) {
    s.setFileMask("*.none");
    s.setFileMaskCommaText("*.none, *.other");
    std::ofstream(s.FileFound() + ".doc") << "output";  // e.g. an output written beside
  };
  scanner.Search();
  EXPECT_EQ(filesOnly(recorder.events), (std::vector<std::string>{"a.doc", "b.doc"}));
  EXPECT_EQ(scanner.fileMask(), "*.doc");
  EXPECT_EQ(scanner.fileMaskCommaText(), "*.doc");
}

TEST_F(TreeScannerTest, AnEmptyMaskListFindsNoFiles) {
  tmp.file("a.doc");
  TreeScanner fresh;
  fresh.InitialDirectory = tmp.path();
  EXPECT_EQ(fresh.fileMask(), "");
  Recorder recorder(fresh, tmp.path());
  fresh.Search();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"dir:", "done", "end"}));
}

}  // namespace
}  // namespace kelvara::run
