#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Locale.h"
#include "run/RunCounters.h"
#include "run/RunLogs.h"
#include "run/RunView.h"
#include "run/ShardJournal.h"

namespace kelvara::run {

// A key whose byte order is the order in which the tree scanner meets walk places: a folder's
// entry, its files, its subfolders, its end; names compared as the scanner compares them.
std::string WalkOrderKey(WalkPlace place, const std::string& relativePath);

// One run over the whole tree, put together from the records of its shards.
struct MergedRun {
  uint32_t count = 0;
  std::array<bool, 4> logsOpen{};
  std::array<std::string, 4> preamble;
  std::vector<JournalEntry> entries;  // walk order, one per place
  RunCounters counters;
  std::vector<uint32_t> missing;     // no record
  std::vector<uint32_t> unfinished;  // a record without its end: running, or ended by a kill
  std::vector<uint32_t> stopped;     // ended before its walk did
  bool whole() const { return missing.empty() && unfinished.empty() && stopped.empty(); }
};

// Merges the records of shards of a run in count shards, given in any order. A folder is in
// every shard's record: its lines come from the shard that made it, and it counts once.
MergedRun MergeShards(uint32_t count, std::vector<ShardRecord> records);

// The records found under <output>/Log/shards/, all of one count of shards.
struct FoundShards {
  uint32_t count = 0;
  std::vector<ShardRecord> records;
  std::string error;  // why nothing can be merged
};
FoundShards FindShardRecords(const std::string& outPath);

// What writing a merged run left where.
struct MergeOutput {
  std::string logDir;
  std::array<std::string, 4> logNames;
  std::array<bool, 4> incomplete{};
  std::string indexPath;
  bool indexWritten = false;
  std::vector<std::string> notes;  // the shards the run lacks, one line each
};

// Writes the four logs (replacing earlier merges) and Index.html into logDir as one run would
// have written them, followed in the main log by notes on the shards that are missing or
// incomplete.
MergeOutput WriteMergedRun(const MergedRun& run, const std::string& logDir, RunView& view,
                           const platform::Locale& locale,
                           std::function<platform::DateTime()> clock = platform::now);

}  // namespace kelvara::run
