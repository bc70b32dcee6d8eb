#include "run/ShardMerge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "BatchRunFixture.h"
#include "run/ShardJournal.h"
#include "run/TreeScanner.h"

namespace kelvara::run {
namespace {

using testing::contains;
using testing::count;
using testing::readFile;

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t p = text.find(from); p != std::string::npos; p = text.find(from, p + to.size())) {
    text.replace(p, from.size(), to);
  }
  return text;
}

TEST(WalkOrderKeyTest, SortsPlacesAsTheScannerWalksThem) {
  kelvara::testing::ScratchDir tmp;
  for (const char* file :
       {"a.doc", "A.doc", "a b.doc", "ab.doc", "Ä.doc", "z/a.doc", "a/x.doc", "a/b/y.doc",
        "a/B c/y.doc", "ab/x.doc", "A/x.doc", "a.d/x.doc", "a/b/c/d.doc"}) {
    tmp.file("in/" + std::string(file));
  }
  tmp.dir("in/empty");
  TreeScanner scanner;
  scanner.InitialDirectory = tmp / "in/";
  scanner.setFileMask("*.*");
  WalkPlaces places(tmp / "in/");
  std::vector<std::string> walked;
  scanner.OnDirectoryFound = [&](TreeScanner& s) {
    walked.push_back(places.entered(s.FileFound()));
  };
  scanner.OnFileFound = [&](TreeScanner& s) { walked.push_back(places.file(s.FileFound())); };
  scanner.OnDirectoryDone = [&](TreeScanner&) { walked.push_back(places.done()); };
  scanner.Search();
  ASSERT_EQ(walked.size(), 13u + 2u * 10u);

  std::vector<std::string> sorted = walked;
  std::shuffle(sorted.begin(), sorted.end(), std::mt19937(7));
  const auto key = [](const std::string& label) {
    return WalkOrderKey(static_cast<WalkPlace>(label[0]), label.substr(1));
  };
  std::sort(sorted.begin(), sorted.end(),
            [&](const std::string& a, const std::string& b) { return key(a) < key(b); });
  EXPECT_EQ(sorted, walked);
}

TEST(ShardJournalTest, AnEntryReadsBackAsWrittenWhateverItsTextHolds) {
  JournalEntry entry;
  entry.place = WalkPlace::File;
  entry.path = "tab\there/100% done\r\n.doc";
  entry.logText = {"line one\r\n\ttab %41\x1e\x1f\r\n", "", "w", ""};
  entry.index = {{IndexEvent::Kind::FileBegins, {}},
                 {IndexEvent::Kind::FileConverted, {"/in/a%\t.doc", "a", "", "a.rtf"}}};
  entry.delta.FilesAnalyzed = 1;
  entry.delta.FilesInError = 1;
  const std::string header = "kelvara-shard-record\t1\t2\t3\t1011\t/in/\t/out/\n";
  const std::string line = JournalEntryLine(entry);
  std::optional<ShardRecord> record = ReadShardJournal(header + line + "Z\t1\n");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->header.shard, (ShardSpec{2, 3}));
  EXPECT_EQ(record->header.logsOpen, (std::array<bool, 4>{true, false, true, true}));
  ASSERT_EQ(record->entries.size(), 1u);
  EXPECT_EQ(record->entries[0].path, entry.path);
  EXPECT_EQ(record->entries[0].logText, entry.logText);
  EXPECT_EQ(record->entries[0].index, entry.index);
  EXPECT_EQ(record->entries[0].delta.FilesInError, 1);
  EXPECT_TRUE(record->ended && record->complete);

  // A shard killed while writing leaves a cut last line: what came before stands.
  record = ReadShardJournal(header + line + line.substr(0, line.size() / 2));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->entries.size(), 1u);
  EXPECT_FALSE(record->ended);
  EXPECT_FALSE(ReadShardJournal("something else\n"));
  EXPECT_FALSE(ReadShardJournal(header.substr(0, 20)));
}

// A tree converted once by one run and once as shards, logs compared line by line.
class ShardMergeTest : public BatchRunFixture {
 protected:
  void SetUp() override {
    BatchRunFixture::SetUp();
    sharded = tmp.path() + "sharded/";
    for (const char* file :
         {"a.doc", "a.rtf", "b.doc", "c.doc", "100% done.doc", "X/d.doc", "X/e.doc", "X/f.doc",
          "Y/Z/g.doc", "Y/h.doc", "Y/i.doc", "Y/j.doc", "Y/k.doc", "Y/l.doc", "Y/m.doc"}) {
      tmp.file("in/" + std::string(file), "a document");
      files.push_back(in + file);
    }
    tmp.file("in/Y/tiny.doc", "x");  // skipped: too small
    files.push_back(in + "Y/tiny.doc");
    tmp.dir("in/W");
    settings.IncludeFilesAtLeastesAttr = true;
    settings.FileMinSize = 2;
    engine.scripts["c.doc"].refuseOpen = true;
    engine.scripts["e.doc"].loadWarnings = {"Repaired a table"};
    for (const char* name : {"d.doc", "h.doc", "b.doc", "l.doc"}) {
      engine.scripts[name].spelling.languagesWithoutDictionary = {"de-DE"};
    }
  }

  bool runShard(uint32_t k, uint32_t n) {
    config::Settings own = settings;
    own.OutPath = sharded;
    BatchRun batch(own, formats, engine, view, locale, selection, control);
    batch.setShard({k, n});
    batch.setClock(clock);
    return batch.Run();
  }

  MergedRun merge() {
    FoundShards found = FindShardRecords(sharded);
    EXPECT_EQ(found.error, "");
    return MergeShards(found.count, std::move(found.records));
  }

  MergeOutput write(const MergedRun& merged) {
    return WriteMergedRun(merged, sharded + "Log/", view, locale, clock);
  }

  // A merged file with the paths of the single run.
  std::string mergedFile(const std::string& name) {
    return replaceAll(readFile(sharded + "Log/" + name), sharded, out);
  }

  void expectSameAsOneRun() {
    for (const char* name :
         {"ConvLog.txt", "ErrorLog.txt", "WarnsLog.txt", "SkipsLog.txt", "Index.html"}) {
      EXPECT_EQ(mergedFile(name), log(name)) << name;
    }
  }

  int filesOf(std::initializer_list<uint32_t> shards, uint32_t n) const {
    return static_cast<int>(std::count_if(files.begin(), files.end(), [&](const std::string& f) {
      const uint32_t k = ShardOfFile(in, f, true, n);
      return std::find(shards.begin(), shards.end(), k) != shards.end();
    }));
  }

  std::function<platform::DateTime()> clock = [] {
    return platform::DateTime{2026, 12, 8, 10, 11, 12};
  };
  std::string sharded;
  std::vector<std::string> files;
};

TEST_F(ShardMergeTest, ShardsInAnyOrderMergeIntoWhatOneRunWrites) {
  ASSERT_TRUE(run());
  const RunCounters single = counters;
  ASSERT_EQ(single.FilesAnalyzed, 16);
  ASSERT_GT(filesOf({0}, 3), 0);
  ASSERT_GT(filesOf({1}, 3), 0);
  ASSERT_GT(filesOf({2}, 3), 0);
  for (uint32_t k : {2u, 0u, 1u}) {
    ASSERT_TRUE(runShard(k, 3));
    // Each shard counts only its own files, in logs of its own.
    const std::string own =
        readFile(sharded + "Log/shards/" + std::to_string(k) + "-of-3/ConvLog.txt");
    EXPECT_TRUE(contains(own, " Files analized: " + std::to_string(filesOf({k}, 3)) + " "));
  }
  EXPECT_FALSE(std::filesystem::exists(sharded + "Log/ConvLog.txt"));

  FoundShards found = FindShardRecords(sharded);
  ASSERT_EQ(found.records.size(), 3u);
  std::vector<ShardRecord> reversed(found.records.rbegin(), found.records.rend());
  const MergedRun merged = MergeShards(3, std::move(found.records));
  const MergedRun mergedReversed = MergeShards(3, std::move(reversed));
  ASSERT_EQ(merged.entries.size(), mergedReversed.entries.size());
  for (size_t i = 0; i < merged.entries.size(); ++i) {
    EXPECT_EQ(merged.entries[i].logText, mergedReversed.entries[i].logText) << i;
  }
  EXPECT_TRUE(merged.whole());
  EXPECT_EQ(merged.counters.FilesAnalyzed, single.FilesAnalyzed);
  EXPECT_EQ(merged.counters.FilesConverted, single.FilesConverted);
  EXPECT_EQ(merged.counters.FilesInError, single.FilesInError);
  EXPECT_EQ(merged.counters.FilesSkipped, single.FilesSkipped);
  EXPECT_EQ(merged.counters.FilesWithWarnings, single.FilesWithWarnings);
  EXPECT_EQ(merged.counters.DirCount, single.DirCount);

  const MergeOutput written = write(merged);
  EXPECT_TRUE(written.notes.empty());
  EXPECT_TRUE(written.indexWritten);
  expectSameAsOneRun();
  // Said once in the run, though several shards said it.
  EXPECT_EQ(count(mergedFile("ConvLog.txt"), "No spelling dictionary for the language de-DE"), 1u);
  EXPECT_TRUE(
      contains(mergedFile("ConvLog.txt"), "Output file " + out + "a.rtf exists. Overwritten"));

  // A second merge replaces the first.
  write(merge());
  expectSameAsOneRun();
}

TEST_F(ShardMergeTest, AShardRunAgainAfterAKillGivesTheSameMerge) {
  // The files its first attempt wrote are overwritten again: with deletions logged, the second
  // attempt would say so where one run does not.
  settings.LogDeletions = false;
  ASSERT_TRUE(run());
  for (uint32_t k : {0u, 1u, 2u}) {
    ASSERT_TRUE(runShard(k, 3));
  }
  // Shard 0 made every output folder; run again, it finds them made.
  ASSERT_TRUE(contains(readFile(sharded + "Log/shards/0-of-3/ConvLog.txt"),
                       "Folder " + sharded + "X/ created"));
  ASSERT_TRUE(runShard(0, 3));
  write(merge());
  expectSameAsOneRun();
}

TEST_F(ShardMergeTest, MissingStoppedAndCutShardsAreNamedAndTheRestIsMerged) {
  engine.onOpen = [this](const std::string& name) {
    if (name.find("i.doc") != std::string::npos) {
      control.stopRequested = true;
    }
  };
  const uint32_t stoppedShard = ShardOfFile(in, in + "Y/i.doc", true, 4);
  for (uint32_t k = 0; k < 4; ++k) {
    if (k != 3 || stoppedShard == 3) {
      ASSERT_TRUE(runShard(k, 4));
    }
  }
  MergedRun merged = merge();
  EXPECT_EQ(merged.stopped, std::vector<uint32_t>{stoppedShard});
  if (stoppedShard != 3) {
    EXPECT_EQ(merged.missing, std::vector<uint32_t>{3});
  }
  EXPECT_LT(merged.counters.FilesAnalyzed, 16);
  EXPECT_TRUE(merged.unfinished.empty());

  // A shard killed while it wrote its record: the lines it finished count.
  const uint32_t cut = (stoppedShard + 1) % 3;
  const std::string record =
      sharded + "Log/shards/" + std::to_string(cut) + "-of-4/" + kJournalName;
  std::string text = readFile(record);
  text.resize(text.rfind("\nC\t") + 10);
  std::ofstream(record, std::ios::binary | std::ios::trunc) << text;
  merged = merge();
  EXPECT_EQ(merged.unfinished, std::vector<uint32_t>{cut});

  const MergeOutput written = write(merged);
  ASSERT_FALSE(written.notes.empty());
  const std::string main = readFile(sharded + "Log/ConvLog.txt");
  EXPECT_TRUE(contains(main, "Shards stopped before the end of their walk: " +
                                 std::to_string(stoppedShard) + " of 4"));
  EXPECT_TRUE(contains(main, "Shards still running, or ended before the end of their run: " +
                                 std::to_string(cut) + " of 4"));
  EXPECT_TRUE(contains(main, " Files analized: " + std::to_string(merged.counters.FilesAnalyzed)));
  // The folders are all there, each once, whichever shards walked them.
  const std::string index = readFile(sharded + "Log/Index.html");
  EXPECT_EQ(count(index, "<ul><li><a href=\"" + sharded + "X/\">"), 1u);
}

TEST_F(ShardMergeTest, NothingToMergeOrShardsOfTwoRunsAreRefused) {
  EXPECT_NE(FindShardRecords(sharded).error.find("No shard logs"), std::string::npos);
  ASSERT_TRUE(runShard(0, 2));
  ASSERT_TRUE(runShard(0, 3));
  EXPECT_NE(FindShardRecords(sharded).error.find("runs in 2 3 shards"), std::string::npos);
}

TEST_F(ShardMergeTest, LogsOfShardsAndOfTheirMergeAreNoDocuments) {
  // Output into the input folder: the logs of the shards lie in the tree the shards walk.
  settings.OutPath = in;
  settings.InpMask = "*.doc;*.txt;*.html";
  sharded = in;
  for (int pass = 0; pass < 2; ++pass) {
    for (uint32_t k : {0u, 1u}) {
      ASSERT_TRUE(runShard(k, 2));
    }
    const MergedRun merged = merge();
    EXPECT_EQ(merged.counters.FilesAnalyzed, 15) << "pass " << pass;
    write(merged);
  }
}

}  // namespace
}  // namespace kelvara::run
