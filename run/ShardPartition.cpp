#include "run/ShardPartition.h"

#include <charconv>

#include "run/CaseFold.h"

namespace kelvara::run {
namespace {

std::optional<uint32_t> toNumber(const std::string& text) {
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) {
    return std::nullopt;
  }
  return value;
}

ShardChoice checked(uint32_t index, uint32_t count, const std::string& what) {
  if (count == 0 || count > kMaxShards) {
    return {std::nullopt,
            what + ": the number of shards must be 1 to " + std::to_string(kMaxShards)};
  }
  if (index >= count) {
    return {std::nullopt, what + ": shard " + std::to_string(index) + " is not one of 0 to " +
                              std::to_string(count - 1)};
  }
  return {ShardSpec{index, count}, {}};
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// "a(2)" is the name version control gives the second copy of "a": both stay together.
std::u32string withoutVersionNumber(std::u32string base) {
  if (base.size() < 3 || base.back() != U')') {
    return base;
  }
  size_t open = base.size() - 1;
  while (open > 0 && base[open - 1] >= U'0' && base[open - 1] <= U'9') {
    --open;
  }
  if (open == base.size() - 1 || open == 0 || base[open - 1] != U'(' || open - 1 == 0) {
    return base;
  }
  base.resize(open - 1);
  return base;
}

}  // namespace

ShardChoice ParseShard(const std::string& text) {
  const size_t slash = text.find('/');
  const std::optional<uint32_t> index =
      slash == std::string::npos ? std::nullopt : toNumber(text.substr(0, slash));
  const std::optional<uint32_t> count =
      slash == std::string::npos ? std::nullopt : toNumber(text.substr(slash + 1));
  if (!index || !count) {
    return {std::nullopt,
            "--shard takes K/N (shard K of N, counted from 0) or from-env, not \"" + text + "\""};
  }
  return checked(*index, *count, "--shard " + text);
}

ShardChoice ShardFromEnvironment(const EnvironmentLookup& lookup) {
  if (const std::optional<std::string> index = lookup("JOB_COMPLETION_INDEX")) {
    const std::optional<std::string> count = lookup("KELVARA_SHARD_COUNT");
    if (!count) {
      return {std::nullopt,
              "JOB_COMPLETION_INDEX is set but KELVARA_SHARD_COUNT is not: give the job's "
              "completions in KELVARA_SHARD_COUNT"};
    }
    const std::optional<uint32_t> k = toNumber(*index);
    const std::optional<uint32_t> n = toNumber(*count);
    if (!k || !n) {
      return {std::nullopt, "JOB_COMPLETION_INDEX=" + *index + " KELVARA_SHARD_COUNT=" + *count +
                                ": both must be numbers"};
    }
    return checked(*k, *n, "JOB_COMPLETION_INDEX=" + *index + " KELVARA_SHARD_COUNT=" + *count);
  }
  if (const std::optional<std::string> id = lookup("SLURM_ARRAY_TASK_ID")) {
    // Tasks run again on their own form an array of other ids and count: the count of the
    // whole run, given explicitly, then takes the task ids as they are.
    if (const std::optional<std::string> total = lookup("KELVARA_SHARD_COUNT")) {
      const std::optional<uint32_t> k = toNumber(*id);
      const std::optional<uint32_t> n = toNumber(*total);
      const std::string what = "SLURM_ARRAY_TASK_ID=" + *id + " KELVARA_SHARD_COUNT=" + *total;
      if (!k || !n) {
        return {std::nullopt, what + ": both must be numbers"};
      }
      return checked(*k, *n, what);
    }
    const std::optional<std::string> count = lookup("SLURM_ARRAY_TASK_COUNT");
    const std::string first = lookup("SLURM_ARRAY_TASK_MIN").value_or("0");
    const std::optional<uint32_t> k = toNumber(*id);
    const std::optional<uint32_t> n = count ? toNumber(*count) : std::nullopt;
    const std::optional<uint32_t> min = toNumber(first);
    const std::string what = "SLURM_ARRAY_TASK_ID=" + *id +
                             " SLURM_ARRAY_TASK_COUNT=" + count.value_or("(not set)") +
                             " SLURM_ARRAY_TASK_MIN=" + first;
    if (!k || !n || !min || *k < *min) {
      return {std::nullopt, what + ": not a task of an array of consecutive numbers"};
    }
    // An array with steps ("0-99:2") has ids beyond its count and is refused here.
    return checked(*k - *min, *n, what);
  }
  return {std::nullopt,
          "--shard from-env: neither JOB_COMPLETION_INDEX (Kubernetes Indexed Job) nor "
          "SLURM_ARRAY_TASK_ID (Slurm job array) is set"};
}

std::string ShardGroupKey(const std::string& relativeFolder, const std::string& fileName,
                          bool outputTreeMirrored) {
  std::u32string base = foldedCodePoints(fileName);
  if (const size_t dot = base.find(U'.'); dot != std::u32string::npos) {
    base.resize(dot);
  }
  for (size_t size = 0; size != base.size();) {
    size = base.size();
    base = withoutVersionNumber(std::move(base));
  }
  std::string key;
  if (outputTreeMirrored) {
    for (char32_t cp : foldedCodePoints(relativeFolder)) {
      appendUtf8(key, cp);
    }
  }
  key.push_back('\0');
  for (char32_t cp : base) {
    appendUtf8(key, cp);
  }
  return key;
}

uint32_t ShardOfKey(const std::string& key, uint32_t count) {
  // FNV-1a, then a 64-bit finaliser so that keys differing only in their last bytes spread
  // over all shards. Both are fixed here: a shard run again must find the same files.
  uint64_t h = 0xcbf29ce484222325ULL;
  for (unsigned char c : key) {
    h ^= c;
    h *= 0x100000001b3ULL;
  }
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 33;
  return count <= 1 ? 0 : static_cast<uint32_t>(h % count);
}

uint32_t ShardOfFile(const std::string& root, const std::string& inpFileName,
                     bool outputTreeMirrored, uint32_t count) {
  const size_t slash = inpFileName.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : inpFileName.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? inpFileName : inpFileName.substr(slash + 1);
  // Relative to the root, so that machines mounting the archive at different places agree.
  const std::string relative =
      folder.compare(0, root.size(), root) == 0 ? folder.substr(root.size()) : folder;
  return ShardOfKey(ShardGroupKey(relative, name, outputTreeMirrored), count);
}

std::string ShardFolderName(const ShardSpec& shard) {
  return std::to_string(shard.index) + "-of-" + std::to_string(shard.count);
}

std::optional<ShardSpec> ShardOfFolderName(const std::string& name) {
  const size_t of = name.find("-of-");
  if (of == std::string::npos) {
    return std::nullopt;
  }
  const std::optional<uint32_t> index = toNumber(name.substr(0, of));
  const std::optional<uint32_t> count = toNumber(name.substr(of + 4));
  if (!index || !count || *count == 0 || *count > kMaxShards || *index >= *count) {
    return std::nullopt;
  }
  return ShardSpec{*index, *count};
}

}  // namespace kelvara::run
