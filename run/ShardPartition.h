#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kelvara::run {

// One part of a tree converted by one of several processes, each run by a cluster scheduler
// over a shared file system: shard index of count, 0 <= index < count.
struct ShardSpec {
  uint32_t index = 0;
  uint32_t count = 1;
  bool operator==(const ShardSpec&) const = default;
};

// The largest number of shards: far beyond what a scheduler's array runs, small enough that a
// typo is caught.
inline constexpr uint32_t kMaxShards = 1000000;

// Either a shard or the reason the text names none.
struct ShardChoice {
  std::optional<ShardSpec> shard;
  std::string error;
};

// Reads "K/N".
ShardChoice ParseShard(const std::string& text);

// An environment variable's value, or nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string&)>;

// The shard a scheduler gave this process: a Kubernetes Indexed Job's JOB_COMPLETION_INDEX
// with KELVARA_SHARD_COUNT (the job's completions, which the pod does not see otherwise), or a
// Slurm array task's SLURM_ARRAY_TASK_ID less SLURM_ARRAY_TASK_MIN with
// SLURM_ARRAY_TASK_COUNT, or with KELVARA_SHARD_COUNT when set (tasks run again by themselves).
ShardChoice ShardFromEnvironment(const EnvironmentLookup& lookup);

// What keeps files together in one shard: the folder relative to the root of the walk (empty
// when every folder writes into one output folder) and the case-folded name up to its first
// dot, less a final "(n)". Every pair of files whose output names version control may compare
// (same output folder, same base name, a numbered name of a base) share a key.
std::string ShardGroupKey(const std::string& relativeFolder, const std::string& fileName,
                          bool outputTreeMirrored);

// The shard of a key: a stable 64-bit hash of its bytes, spread over the shards.
uint32_t ShardOfKey(const std::string& key, uint32_t count);

// The shard that converts an input file found in a walk from root (both folders end with "/").
uint32_t ShardOfFile(const std::string& root, const std::string& inpFileName,
                     bool outputTreeMirrored, uint32_t count);

// "K-of-N": the shard's folder under the output's Log folder.
std::string ShardFolderName(const ShardSpec& shard);
// The shard a folder name stands for, or nullopt when it names none.
std::optional<ShardSpec> ShardOfFolderName(const std::string& name);

}  // namespace kelvara::run
