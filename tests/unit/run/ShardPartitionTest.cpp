#include "run/ShardPartition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace kelvara::run {
namespace {

TEST(ShardPartitionTest, ReadsShardOfCountAndRefusesWhatNamesNone) {
  EXPECT_EQ(ParseShard("0/3").shard, (ShardSpec{0, 3}));
  EXPECT_EQ(ParseShard("999/1000").shard, (ShardSpec{999, 1000}));
  for (const char* bad : {"3/3", "1/0", "3", "a/3", "-1/3", "1/3x", "/3", "1/", "1/1000001"}) {
    const ShardChoice choice = ParseShard(bad);
    EXPECT_FALSE(choice.shard) << bad;
    EXPECT_FALSE(choice.error.empty()) << bad;
  }
  EXPECT_NE(ParseShard("3/3").error.find("not one of 0 to 2"), std::string::npos);
}

TEST(ShardPartitionTest, TakesTheShardFromKubernetesOrSlurm) {
  std::map<std::string, std::string> env;
  const EnvironmentLookup lookup = [&env](const std::string& name) -> std::optional<std::string> {
    const auto found = env.find(name);
    return found == env.end() ? std::nullopt : std::optional<std::string>(found->second);
  };
  EXPECT_FALSE(ShardFromEnvironment(lookup).shard);
  EXPECT_NE(ShardFromEnvironment(lookup).error.find("SLURM_ARRAY_TASK_ID"), std::string::npos);

  env = {{"JOB_COMPLETION_INDEX", "7"}, {"KELVARA_SHARD_COUNT", "1000"}};
  EXPECT_EQ(ShardFromEnvironment(lookup).shard, (ShardSpec{7, 1000}));
  env.erase("KELVARA_SHARD_COUNT");
  EXPECT_NE(ShardFromEnvironment(lookup).error.find("KELVARA_SHARD_COUNT"), std::string::npos);

  // Slurm arrays may start at 1 ("--array=1-1000"): the first task is shard 0.
  env = {{"SLURM_ARRAY_TASK_ID", "1000"},
         {"SLURM_ARRAY_TASK_COUNT", "1000"},
         {"SLURM_ARRAY_TASK_MIN", "1"}};
  EXPECT_EQ(ShardFromEnvironment(lookup).shard, (ShardSpec{999, 1000}));
  env = {{"SLURM_ARRAY_TASK_ID", "4"}, {"SLURM_ARRAY_TASK_COUNT", "5"}};
  EXPECT_EQ(ShardFromEnvironment(lookup).shard, (ShardSpec{4, 5}));
  // An array with steps has ids beyond its count.
  env = {{"SLURM_ARRAY_TASK_ID", "8"}, {"SLURM_ARRAY_TASK_COUNT", "5"}};
  EXPECT_FALSE(ShardFromEnvironment(lookup).shard);
  env = {{"SLURM_ARRAY_TASK_ID", "4"}};
  EXPECT_FALSE(ShardFromEnvironment(lookup).shard);
  // Two tasks of a run in 1000 shards run again as an array of their own ("--array=17,243").
  env = {{"SLURM_ARRAY_TASK_ID", "243"},
         {"SLURM_ARRAY_TASK_COUNT", "2"},
         {"SLURM_ARRAY_TASK_MIN", "17"},
         {"KELVARA_SHARD_COUNT", "1000"}};
  EXPECT_EQ(ShardFromEnvironment(lookup).shard, (ShardSpec{243, 1000}));
}

TEST(ShardPartitionTest, FilesVersionControlComparesStayInOneShard) {
  // One output name for all of these in one output folder, with or without numbers.
  const std::vector<std::string> together = {"Report.doc",       "report.RTF",     "REPORT(2).doc",
                                             "report(1)(1).rtf", "report.doc.bak", "Report"};
  for (uint32_t n = 2; n <= 64; ++n) {
    const uint32_t first = ShardOfFile("/in/", "/in/x/" + together[0], true, n);
    for (const std::string& name : together) {
      EXPECT_EQ(ShardOfFile("/in/", "/in/x/" + name, true, n), first) << name << " of " << n;
    }
  }
  EXPECT_EQ(ShardGroupKey("Ärzte/", "Bericht.doc", true),
            ShardGroupKey("äRZTE/", "BERICHT.rtf", true));
  // Other folders write other output folders, unless every folder writes into one.
  EXPECT_NE(ShardGroupKey("a/", "report.doc", true), ShardGroupKey("b/", "report.doc", true));
  EXPECT_EQ(ShardGroupKey("a/", "report.doc", false), ShardGroupKey("b/", "report.doc", false));
  EXPECT_NE(ShardGroupKey("a/", "report1.doc", true), ShardGroupKey("a/", "report.doc", true));
}

TEST(ShardPartitionTest, TheShardOfAFileIsFixedWhereverTheArchiveIsMounted) {
  const std::string file = "letters/1998/Smith, J. (draft).doc";
  for (uint32_t n : {2u, 3u, 10u, 1000u}) {
    EXPECT_EQ(ShardOfFile("/mnt/archive/", "/mnt/archive/" + file, true, n),
              ShardOfFile("/srv/a/", "/srv/a/" + file, true, n));
  }
  EXPECT_EQ(ShardOfFile("/in/", "/in/a.doc", true, 1), 0u);
  // Fixed values: a shard run again by a later build must redo the same files.
  EXPECT_EQ(ShardOfKey(std::string("a/\0report", 9), 1000), 505u);
  EXPECT_EQ(ShardOfKey(std::string("\0x", 2), 1000), 705u);
}

TEST(ShardPartitionTest, ATreeOfAHundredThousandNamesSplitsEvenly) {
  // Folders of very different sizes and names that share prefixes, as archives have them.
  std::vector<std::string> files;
  for (int folder = 0; folder < 400; ++folder) {
    const int size = 1 + (folder * 37) % 499;
    for (int i = 0; i < size && files.size() < 100000; ++i) {
      files.push_back("/in/dept" + std::to_string(folder % 13) + "/case" + std::to_string(folder) +
                      "/Letter " + std::to_string(i) + ".doc");
    }
  }
  for (int i = 0; files.size() < 100000; ++i) {
    files.push_back("/in/flat/DOC" + std::to_string(i) + ".DOC");
  }
  ASSERT_EQ(files.size(), 100000u);
  for (uint32_t n : {2u, 3u, 10u, 32u}) {
    std::vector<int> sizes(n, 0);
    for (const std::string& f : files) {
      ++sizes[ShardOfFile("/in/", f, true, n)];
    }
    const double mean = 100000.0 / n;
    const auto [least, most] = std::minmax_element(sizes.begin(), sizes.end());
    EXPECT_GT(*least, mean * 0.96) << n << " shards";
    EXPECT_LT(*most, mean * 1.04) << n << " shards";
  }
}

TEST(ShardPartitionTest, FolderNamesOfShards) {
  EXPECT_EQ(ShardFolderName({4, 10}), "4-of-10");
  EXPECT_EQ(ShardOfFolderName("4-of-10"), (ShardSpec{4, 10}));
  for (const char* other : {"10-of-10", "x-of-3", "4of10", "4-of-", "-of-3", "4-of-0"}) {
    EXPECT_FALSE(ShardOfFolderName(other)) << other;
  }
}

}  // namespace
}  // namespace kelvara::run
