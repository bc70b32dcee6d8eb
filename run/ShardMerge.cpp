#include "run/ShardMerge.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "config/Settings.h"
#include "platform/FileSystem.h"
#include "run/CaseFold.h"
#include "run/HtmlIndex.h"
#include "run/RunSummary.h"
#include "run/ShardPartition.h"

namespace kelvara::run {
namespace {

// Said once per run, so once in a merged run whatever shards said it.
constexpr std::string_view kOncePerRun = "No spelling dictionary for the language ";

// A name as the scanner sorts it: folded code points, then the bytes of the name itself.
void appendName(std::string& key, char rank, const std::string& name) {
  key.push_back(rank);
  for (char32_t cp : foldedCodePoints(name)) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      key.push_back(static_cast<char>((cp >> shift) & 0xFF));
    }
  }
  key.append(4, '\0');
  key += name;
  key.push_back('\0');
}

// Drops the repeats of lines a run writes once.
std::string withoutRepeats(const std::string& text, std::set<std::string>& said) {
  if (text.find(kOncePerRun) == std::string::npos) {
    return text;
  }
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    end = end == std::string::npos ? text.size() : end + 2;
    const std::string line = text.substr(start, end - start);
    if (line.compare(0, kOncePerRun.size(), kOncePerRun) != 0 || said.insert(line).second) {
      out += line;
    }
    start = end;
  }
  return out;
}

bool hasText(const JournalEntry& entry) {
  return std::any_of(entry.logText.begin(), entry.logText.end(),
                     [](const std::string& t) { return !t.empty(); });
}

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string list(const std::vector<uint32_t>& shards) {
  std::string text;
  for (uint32_t k : shards) {
    text += (text.empty() ? "" : ", ") + std::to_string(k);
  }
  return text;
}

}  // namespace

std::string WalkOrderKey(WalkPlace place, const std::string& relativePath) {
  // Ranks within a folder: 0 its entry, 1 a file, 2 a subfolder, 3 its end.
  std::string key;
  const bool isFolder = place != WalkPlace::File;
  const size_t folderEnd = isFolder ? relativePath.size() : relativePath.rfind('/') + 1;
  size_t start = 0;
  for (size_t slash = relativePath.find('/'); slash != std::string::npos && slash < folderEnd;
       slash = relativePath.find('/', start)) {
    appendName(key, 2, relativePath.substr(start, slash - start));
    start = slash + 1;
  }
  switch (place) {
    case WalkPlace::FolderEntered:
      key.push_back(0);
      break;
    case WalkPlace::File:
      appendName(key, 1, relativePath.substr(folderEnd));
      break;
    case WalkPlace::FolderDone:
      key.push_back(3);
      break;
  }
  return key;
}

MergedRun MergeShards(uint32_t count, std::vector<ShardRecord> records) {
  MergedRun run;
  run.count = count;
  std::sort(records.begin(), records.end(), [](const ShardRecord& a, const ShardRecord& b) {
    return a.header.shard.index < b.header.shard.index;
  });
  std::vector<bool> present(count, false);
  for (const ShardRecord& record : records) {
    const uint32_t k = record.header.shard.index;
    if (k >= count || present[k]) {
      continue;
    }
    present[k] = true;
    if (!record.ended) {
      run.unfinished.push_back(k);
    } else if (!record.complete) {
      run.stopped.push_back(k);
    }
  }
  for (uint32_t k = 0; k < count; ++k) {
    if (!present[k]) {
      run.missing.push_back(k);
    }
  }
  if (!records.empty()) {
    run.logsOpen = records.front().header.logsOpen;
    run.preamble = records.front().preamble;
  }

  // Every place once, in walk order; of a folder's copies, the one with lines wins, and its
  // end counts the folder if any shard counted it.
  std::map<std::string, JournalEntry> places;
  for (ShardRecord& record : records) {
    for (JournalEntry& entry : record.entries) {
      std::string key = WalkOrderKey(entry.place, entry.path);
      auto found = places.find(key);
      if (found == places.end()) {
        places.emplace(std::move(key), std::move(entry));
        continue;
      }
      JournalEntry& kept = found->second;
      if (!hasText(kept) && hasText(entry)) {
        kept.logText = std::move(entry.logText);
      }
      if (kept.index.empty()) {
        kept.index = std::move(entry.index);
      }
      kept.delta.DirCount = std::max(kept.delta.DirCount, entry.delta.DirCount);
    }
  }
  std::set<std::string> said;
  run.entries.reserve(places.size());
  for (auto& [key, entry] : places) {
    entry.logText[static_cast<size_t>(LogKind::Main)] =
        withoutRepeats(entry.logText[static_cast<size_t>(LogKind::Main)], said);
    const RunCounters& d = entry.delta;
    run.counters.DirCount += d.DirCount;
    run.counters.FilesAnalyzed += d.FilesAnalyzed;
    run.counters.FilesConverted += d.FilesConverted;
    run.counters.FilesInError += d.FilesInError;
    run.counters.FilesWithWarnings += d.FilesWithWarnings;
    run.counters.FilesSkipped += d.FilesSkipped;
    run.entries.push_back(std::move(entry));
  }
  return run;
}

FoundShards FindShardRecords(const std::string& outPath) {
  FoundShards found;
  const std::string root = outPath + "Log/shards/";
  int error = 0;
  std::map<uint32_t, std::vector<std::string>> byCount;
  for (const platform::DirEntry& entry : platform::listDirectory(root, &error)) {
    if (!entry.isDirectory) {
      continue;
    }
    if (const std::optional<ShardSpec> shard = ShardOfFolderName(entry.name)) {
      byCount[shard->count].push_back(root + entry.name + "/");
    }
  }
  if (byCount.empty()) {
    found.error = "No shard logs in " + root;
    return found;
  }
  if (byCount.size() > 1) {
    found.error = "The shards in " + root + " belong to runs in";
    for (const auto& [count, folders] : byCount) {
      found.error += " " + std::to_string(count);
    }
    found.error += " shards: move away the folders of the runs not to merge";
    return found;
  }
  found.count = byCount.begin()->first;
  for (const std::string& folder : byCount.begin()->second) {
    if (std::optional<ShardRecord> record = ReadShardJournal(readWhole(folder + kJournalName))) {
      found.records.push_back(std::move(*record));
    }
  }
  return found;
}

MergeOutput WriteMergedRun(const MergedRun& run, const std::string& logDir, RunView& view,
                           const platform::Locale& locale,
                           std::function<platform::DateTime()> clock) {
  MergeOutput output;
  // The switches the shards ran with; a merge replaces what an earlier merge wrote.
  config::Settings settings;
  settings.LogErrors = run.logsOpen[static_cast<size_t>(LogKind::Main)];
  settings.LogWarnings = run.logsOpen[static_cast<size_t>(LogKind::Warnings)];
  settings.LogSlippedFiles = run.logsOpen[static_cast<size_t>(LogKind::Skipped)];
  settings.OverwriteLogs = true;
  settings.NewLogFile = false;
  settings.StopOnErrors = false;

  RunLogs logs(settings, view, locale, clock);
  logs.setLogDir(logDir);
  output.logDir = logs.logDir();
  const LogKind kinds[] = {LogKind::Main, LogKind::Error, LogKind::Warnings, LogKind::Skipped};
  for (LogKind kind : kinds) {
    logs.OpenRunLog(kind);
  }
  HtmlIndex index;
  index.Start();
  for (LogKind kind : kinds) {
    logs.WriteRaw(kind, run.preamble[static_cast<size_t>(kind)]);
  }
  for (const JournalEntry& entry : run.entries) {
    for (LogKind kind : kinds) {
      logs.WriteRaw(kind, entry.logText[static_cast<size_t>(kind)]);
    }
    for (const IndexEvent& event : entry.index) {
      index.Replay(event);
    }
  }
  WriteRunSummary(logs, run.counters);

  const std::string of = " of " + std::to_string(run.count);
  if (!run.missing.empty()) {
    output.notes.push_back("Shards without logs (not started, or their logs are elsewhere): " +
                           list(run.missing) + of);
  }
  if (!run.unfinished.empty()) {
    output.notes.push_back(
        "Shards still running, or ended before the end of their run: " + list(run.unfinished) + of);
  }
  if (!run.stopped.empty()) {
    output.notes.push_back("Shards stopped before the end of their walk: " + list(run.stopped) +
                           of);
  }
  if (!output.notes.empty()) {
    logs.WriteLogLn("");
    for (const std::string& note : output.notes) {
      logs.WriteLogLn(note);
    }
  }
  for (LogKind kind : kinds) {
    logs.Close(kind);
    const std::string& name = logs.fileName(kind);
    output.logNames[static_cast<size_t>(kind)] = name;
    output.incomplete[static_cast<size_t>(kind)] =
        !name.empty() && (logs.openFailed(kind) || logs.incomplete(kind));
  }
  output.indexPath = output.logDir + "Index.html";
  output.indexWritten = index.End(output.indexPath);
  return output;
}

}  // namespace kelvara::run
