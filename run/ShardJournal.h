#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/HtmlIndex.h"
#include "run/RunCounters.h"
#include "run/RunLogs.h"
#include "run/ShardPartition.h"

namespace kelvara::run {

// Where in the walk a commit belongs. Every shard walks the whole tree, so folders appear in
// every shard's record and files in one.
enum class WalkPlace : char { FolderEntered = 'E', File = 'F', FolderDone = 'D' };

// A commit's label: the place and the path relative to the walk's root (folders end with "/").
std::string PlaceLabel(WalkPlace place, const std::string& relativePath);

// Turns the walk's events into labels, keeping the folders that are open.
class WalkPlaces {
 public:
  explicit WalkPlaces(std::string root) : root_(std::move(root)) {}
  std::string entered(const std::string& folder);
  std::string file(const std::string& path) const;
  std::string done();

 private:
  std::string relative(const std::string& path) const;
  std::string root_;
  std::vector<std::string> open_;
};

// What one commit wrote: the bytes of each log, the calls to the index, the change of the
// counters.
struct JournalEntry {
  WalkPlace place = WalkPlace::File;
  std::string path;
  std::array<std::string, 4> logText;  // by LogKind
  std::vector<IndexEvent> index;
  RunCounters delta;
};

struct JournalHeader {
  ShardSpec shard;
  std::array<bool, 4> logsOpen{};  // by LogKind: the logs the shard wrote
  std::string inpPath;
  std::string outPath;
};

// A shard's record as read back. A record cut short (a killed shard) keeps what was complete.
struct ShardRecord {
  JournalHeader header;
  std::array<std::string, 4> preamble;  // written to the logs before the first commit
  std::vector<JournalEntry> entries;
  bool ended = false;     // the run reached its end and wrote its summary
  bool complete = false;  // ... after walking the whole tree (not stopped)
};

// The name of the record in a shard's log folder.
inline constexpr const char* kJournalName = "ShardRecord.txt";

// Writes a shard's record beside its logs: one line per commit, each written whole at once, so
// that a shard killed at any moment leaves every earlier commit readable. Never throws.
class ShardJournal {
 public:
  // Starts the record at path, replacing an earlier attempt's. The lines of folders the earlier
  // attempt created are kept: those folders exist now and this attempt will not say so again.
  // Null with the errno in *error when the file cannot be written.
  static std::unique_ptr<ShardJournal> Open(const std::string& path, const JournalHeader& header,
                                            int* error);
  ~ShardJournal();
  ShardJournal(const ShardJournal&) = delete;
  ShardJournal& operator=(const ShardJournal&) = delete;

  void logBytes(LogKind kind, std::string_view bytes);
  void indexEvent(const IndexEvent& event);
  // A commit with this label begins or has ended; now holds the counters at that moment.
  void begin(const std::string& label, const RunCounters& now);
  void end(const RunCounters& now);
  // The run has committed everything; what it writes after this (its summary) is not recorded.
  void finish(bool complete);
  // A write of the record failed.
  bool failed() const { return failed_; }

 private:
  explicit ShardJournal(std::FILE* file) : file_(file) {}
  void write(const std::string& line);
  void writePreamble();

  std::FILE* file_;
  bool failed_ = false;
  bool preambleWritten_ = false;
  bool finished_ = false;
  std::optional<JournalEntry> current_;
  RunCounters before_;
  std::array<std::string, 4> pending_;  // written outside a commit
  std::vector<IndexEvent> pendingIndex_;
};

// Reads a record; nullopt when it is none.
std::optional<ShardRecord> ReadShardJournal(std::string_view text);

// The line of a record for an entry (for tests and the writer).
std::string JournalEntryLine(const JournalEntry& entry);

}  // namespace kelvara::run
