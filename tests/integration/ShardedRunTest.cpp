// kelvara-batch run as shards by several processes at once, as a cluster scheduler runs it, and
// merged: the merge must read as one run over the whole tree.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <regex>
#include <thread>

#include "EngineTestSupport.h"
#include "run/ShardPartition.h"
#include "run/TreeScanner.h"
#include "support/ScratchDir.h"
#include "support/Subprocess.h"
#include "support/TextSearch.h"

namespace kelvara {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::contains;
using testing::count;
using testing::readFile;

const std::string kCorpus = KELVARA_CORPUS_DIR;
const char* const kMergedFiles[] = {"ConvLog.txt", "ErrorLog.txt", "WarnsLog.txt", "SkipsLog.txt",
                                    "Index.html"};

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    result.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  result.push_back(text.substr(start));
  return result;
}

// A file with the shards' output folder named as the single run's, dates and times masked.
std::vector<std::string> masked(const std::string& text, const std::string& from,
                                const std::string& to) {
  std::string t = text;
  for (size_t p = from.empty() ? std::string::npos : t.find(from); p != std::string::npos;
       p = t.find(from, p + to.size())) {
    t.replace(p, from.size(), to);
  }
  static const std::regex kTime(R"(\d{1,2}:\d{2}:\d{2})");
  static const std::regex kDate(R"(\d{1,4}[./-]\d{1,2}[./-]\d{1,4})");
  return lines(std::regex_replace(std::regex_replace(t, kTime, "hh:mm:ss"), kDate, "date"));
}

// The same with the office's counts of each document masked too.
std::vector<std::string> withoutCounts(std::vector<std::string> lines) {
  static const std::regex kNumber(R"(\d+)");
  for (std::string& line : lines) {
    if (line.find(" Pages - ") != std::string::npos ||
        line.find(" Spelling Err.") != std::string::npos) {
      line = std::regex_replace(line, kNumber, "n");
    }
  }
  return lines;
}

class ShardedRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(tmp / "config");
    fs::create_directories(tmp / "state");
    fs::create_directories(tmp / "in");
  }

  std::map<std::string, std::string> env() const {
    return {{"KELVARA_CONFIG_DIR", tmp / "config"},
            {"XDG_STATE_HOME", tmp / "state"},
            {"XDG_RUNTIME_DIR", tmp / "state"}};
  }

  // One office per process: the shards share two cores.
  std::vector<std::string> runArgs(const std::string& out) const {
    return {KELVARA_BATCH_EXE, "-j", "1", "/i:", tmp / "in/", "/o:", out, "/of:", "8"};
  }
  pid_t startShard(uint32_t k, uint32_t n, const std::string& proc) {
    std::vector<std::string> argv = runArgs(tmp / "sharded/");
    argv.push_back("--shard");
    argv.push_back(std::to_string(k) + "/" + std::to_string(n));
    return testing::StartProgram(argv, env(), tmp.dir("proc/" + proc));
  }
  testing::ProcessResult wait(pid_t pid, const std::string& proc) {
    return testing::WaitProgram(pid, tmp / ("proc/" + proc));
  }
  testing::ProcessResult single() {
    return testing::RunProgram(runArgs(tmp / "single/"), env(), tmp.dir("proc/single"));
  }
  testing::ProcessResult merge() {
    return testing::RunProgram({KELVARA_BATCH_EXE, "--merge", tmp / "sharded"}, env(),
                               tmp.dir("proc/merge"));
  }

  // The merged logs and index equal the single run's, line by line; with officeCounts false,
  // but for the counts the office gives each document.
  void expectMergeEqualsSingleRun(bool officeCounts = true) {
    for (const char* name : kMergedFiles) {
      const std::string merged = readFile(tmp / "sharded/Log/" + name);
      ASSERT_FALSE(merged.empty()) << name;
      std::vector<std::string> got = masked(merged, tmp / "sharded/", tmp / "single/");
      std::vector<std::string> want = masked(readFile(tmp / "single/Log/" + name), "", "");
      if (!officeCounts) {
        got = withoutCounts(std::move(got));
        want = withoutCounts(std::move(want));
      }
      const auto differ = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
      EXPECT_TRUE(differ.first == got.end() && differ.second == want.end())
          << name << " line " << (differ.first - got.begin() + 1) << ": merged \""
          << (differ.first == got.end() ? "(end)" : *differ.first) << "\", one run \""
          << (differ.second == want.end() ? "(end)" : *differ.second) << "\"";
    }
  }

  testing::ScratchDir tmp;
};

TEST(ShardBalance, TheCorpusSplitsEvenlyByFileCount) {
  CORPUS_OR_SKIP();
  std::vector<std::string> files;
  run::TreeScanner scanner;
  scanner.InitialDirectory = kCorpus + "/";
  scanner.setFileMask("*.*");
  scanner.OnFileFound = [&](run::TreeScanner& s) { files.push_back(s.FileFound()); };
  scanner.Search();
  ASSERT_GT(files.size(), 300u);
  for (uint32_t n : {2u, 3u, 4u}) {
    std::vector<int> sizes(n, 0);
    for (const std::string& f : files) {
      ++sizes[run::ShardOfFile(kCorpus + "/", f, true, n)];
    }
    std::string shown;
    for (int size : sizes) {
      shown += " " + std::to_string(size);
    }
    std::cout << files.size() << " files in " << n << " shards:" << shown << "\n";
    const double mean = static_cast<double>(files.size()) / n;
    for (int size : sizes) {
      // A few hundred files: chance alone spreads them by about 1/sqrt(mean).
      EXPECT_NEAR(size, mean, mean * 0.12) << n << " shards:" << shown;
    }
  }
}

TEST_F(ShardedRun, ThreeShardsOfTheCorpusSideBySideMergeIntoOneRun) {
  CORPUS_OR_SKIP();
  // A part of the corpus of every kind the office reads, WordStar included, in nested folders.
  // Not libwpd: the office counts the pages and characters of its SANYIG01.C3P differently from
  // one run to the next, so no two runs, sharded or not, agree on it.
  for (const char* folder :
       {"mammoth.js", "RomWBW", "python-docx", "antiword", "file-format", "wshtml"}) {
    if (fs::is_directory(kCorpus + "/" + folder)) {
      fs::copy(kCorpus + "/" + folder, tmp / ("in/" + std::string(folder)),
               fs::copy_options::recursive);
    }
  }
  const testing::ProcessResult one = single();
  ASSERT_TRUE(one.exitCode == 0 || one.exitCode == 1) << one.err;

  std::vector<pid_t> shards;
  for (uint32_t k = 0; k < 3; ++k) {
    shards.push_back(startShard(k, 3, std::to_string(k)));
  }
  for (uint32_t k = 0; k < 3; ++k) {
    const testing::ProcessResult shard = wait(shards[k], std::to_string(k));
    EXPECT_TRUE(shard.exitCode == 0 || shard.exitCode == 1) << shard.err;
    EXPECT_FALSE(contains(shard.err, "Dir. Creation error")) << shard.err;
  }
  const testing::ProcessResult merged = merge();
  EXPECT_EQ(merged.exitCode, one.exitCode) << merged.err;
  EXPECT_EQ(lines(merged.out)[0], lines(one.out)[0]) << merged.out;
  EXPECT_TRUE(contains(merged.out, "Shards: 3, all complete")) << merged.out;
  // On a busy machine the office's counts of a few of these documents differ from one run to
  // the next, sharded or not (a paragraph, a word and a character more): the merge only copies
  // them.
  expectMergeEqualsSingleRun(false);
}

TEST_F(ShardedRun, ShardsKilledOrStoppedAndRunAgainCompleteTheMerge) {
  // The second attempt overwrites what the first wrote; one run would not say so.
  std::ofstream(tmp / "config/Kelva.ini") << "[Conversion Options]\nLogDeletions=0\n";
  for (const char* folder : {"", "A/", "B/", "B/C/"}) {
    const std::string dir = tmp.dir("in/" + std::string(folder));
    for (int i = 0; i < 40; ++i) {
      std::ofstream(dir + "doc" + std::to_string(100 + i) + ".rtf")
          << "{\\rtf1\\ansi Document " << i << " of " << folder << ".\\par}";
    }
  }
  ASSERT_EQ(single().exitCode, 0);

  std::vector<pid_t> shards;
  for (uint32_t k = 0; k < 3; ++k) {
    shards.push_back(startShard(k, 3, std::to_string(k)));
  }
  // Shard 1 is killed once it has converted a few documents.
  const std::string log1 = tmp / "sharded/Log/shards/1-of-3/ConvLog.txt";
  bool converting = false;
  for (int i = 0; i < 1200 && !converting; ++i) {
    converting = count(readFile(log1), "Result OK") >= 2;
    std::this_thread::sleep_for(50ms);
  }
  ASSERT_TRUE(converting);
  kill(shards[1], SIGKILL);
  // Shard 2, as far as shard 1, is stopped as a scheduler stops a pod: it ends with its logs
  // and asks to be run again.
  kill(shards[2], SIGTERM);
  EXPECT_EQ(wait(shards[1], "1").exitCode, 128 + SIGKILL);
  EXPECT_EQ(wait(shards[0], "0").exitCode, 0);
  EXPECT_EQ(wait(shards[2], "2").exitCode, 3);

  // Merged meanwhile: what is there, and which shards are not complete.
  const testing::ProcessResult partial = merge();
  EXPECT_EQ(partial.exitCode, 0) << partial.err;
  EXPECT_TRUE(contains(partial.out, "ended before the end of their run: 1 of 3")) << partial.out;
  EXPECT_TRUE(contains(partial.out, "stopped before the end of their walk: 2 of 3")) << partial.out;

  const pid_t again1 = startShard(1, 3, "1-again");
  const pid_t again2 = startShard(2, 3, "2-again");
  EXPECT_EQ(wait(again1, "1-again").exitCode, 0);
  EXPECT_EQ(wait(again2, "2-again").exitCode, 0);
  const testing::ProcessResult merged = merge();
  EXPECT_EQ(merged.exitCode, 0) << merged.err;
  EXPECT_TRUE(contains(merged.out, "Files analized: 160  converted: 160  in error: 0"))
      << merged.out;
  EXPECT_TRUE(contains(merged.out, "Shards: 3, all complete")) << merged.out;
  expectMergeEqualsSingleRun();
}

}  // namespace
}  // namespace kelvara
