#pragma once

#include <atomic>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/Settings.h"
#include "format/FormatParameterSet.h"
#include "metadata/MetadataStep.h"
#include "platform/DateTime.h"
#include "platform/Locale.h"
#include "platform/MetadataPlatform.h"
#include "run/CommitQueue.h"
#include "run/ConversionPool.h"
#include "run/FileCount.h"
#include "run/HtmlIndex.h"
#include "run/OwnOutputs.h"
#include "run/RunCounters.h"
#include "run/RunLogs.h"
#include "run/RunView.h"
#include "run/ShardJournal.h"
#include "run/ShardPartition.h"
#include "run/TreeScanner.h"
#include "word/ConversionPipeline.h"
#include "word/DocumentEngine.h"
#include "word/FormatTables.h"

namespace kelvara::run {

inline constexpr const char* kTrayTitle = "Kelvara 1.0.2.11";

// Requests that may come from another thread (the window, a signal handler); the run reads them
// at its checkpoints.
struct RunControl {
  std::atomic<bool> paused{false};
  std::atomic<bool> stopRequested{false};
};

// One document on its way: what the walk decided for it, kept until its outcome is committed.
struct DocumentJob {
  std::string inpFileName;
  std::string docName;
  std::string outputFileName;
  std::string outName;
  std::string curInputDir;
  std::string curOutputDir;
  std::vector<std::string> namingLog;      // the naming's main-log lines, written at commit
  std::vector<std::string> reservedNames;  // output names no other document may take meanwhile
};

// One execution of the Run command: checks, logs, the walk or the single file, the summary and
// the index. The walk, every decision and every commit (logs, index, counters, view) happen on
// the calling thread, in walk order; only conversions may run on the engines of a pool.
class BatchRun {
 public:
  BatchRun(config::Settings& settings, const format::FormatParameterSet& formats,
           word::DocumentEngine& engine, RunView& view, platform::Locale locale,
           word::FormatSelection selection, RunControl& control);
  ~BatchRun();

  // Runs once. False when the run did not start (bad output folder, a question answered No,
  // an output format the engine cannot write).
  bool Run();

  const RunCounters& counters() const { return counters_; }
  const RunLogs& logs() const { return logs_; }
  std::string indexPath() const;
  const std::string& OutputFileName() const { return OutputFileName_; }

  // Another engine for a pool of conversions; the run converts on every engine it has at once
  // and still commits in walk order. The engine must outlive the run.
  void addEngine(word::DocumentEngine& engine) { extraEngines_.push_back(&engine); }

  // Converts only the files of this shard of the tree; the logs, the index and a record for the
  // merge go to the shard's own folder under the Log folder. A folder run only.
  void setShard(const ShardSpec& shard) { shard_ = shard; }

  // Test seams.
  void setClock(std::function<platform::DateTime()> clock) { clock_ = std::move(clock); }
  void setFormattingStep(word::FormattingStep* step) { formatting_ = step; }
  // The system the dates, attributes and security of outputs are written through; without one
  // the outputs keep what the conversion gave them.
  void setMetadataPlatform(platform::MetadataPlatform* platform) { metadataPlatform_ = platform; }
  HtmlIndex& index() { return index_; }

 private:
  bool prepareOutputFolder();
  bool confirmFolders();
  void prepareLogFolder();
  bool openLogs();
  // A shard's record of its commits, beside its logs; false when it cannot be written.
  bool openJournal();
  void closeJournal();
  // Whether a file found by the walk belongs to this run's shard (always without shards).
  bool inShard(const std::string& inpFileName) const;
  // Once per run: the text options the engine will not honour, in the progress box and the
  // warnings log.
  void warnIgnoredTextOptions();
  // The metadata step of this run, when the run has a platform to write metadata through.
  void startMetadata();
  void walk();
  void FolderEntered(TreeScanner& scanner);
  void FolderDone(TreeScanner& scanner);
  void EndOfRun();
  void PerFileStep(const std::string& inpFileName, bool folderMode);
  word::ConversionOutcome convert(word::DocumentEngine& engine, const DocumentJob& job);
  void commitSkipped(const std::string& docName);
  void commitDocument(const DocumentJob& job, const word::ConversionOutcome& outcome);
  // Nullopt when the document counts as converted, else why it failed after its conversion.
  std::optional<std::string> commitConverted(const DocumentJob& job,
                                             const word::ConversionOutcome& outcome,
                                             bool& docWarned);
  void onConversionError(const std::string& message, const DocumentJob& job);
  // Formatting's part of the main log: "\n" ends a line.
  void writeFormattingLog(const std::string& text);
  // Documents that may be under conversion at once before the walk waits for the oldest.
  size_t maxInFlight() const;
  // Whether a document whose conversion has not ended was given this output name; forgets the
  // names of those that have ended.
  bool nameInFlight(const std::string& name);
  // Waits until no document in conversion holds the name.
  void waitForName(const std::string& name);
  // The skipped-files line when a selection filter rejects the file.
  std::optional<std::string> filterSkipLine(const std::string& inpFileName) const;
  // Lines a conversion handed over for the logs and boxes.
  void writePending(const word::PendingLog& log);
  FolderLayout folderLayout() const;

  // The place where a window would process pending messages: applies Stop, waits while paused.
  void checkpoint();
  void waitWhilePaused();
  // The same wait for a pool's worker threads, which must not touch the view.
  void waitWhilePausedQuietly() const;
  void showCounters();
  // "\r\nCnv.: n\r\nErr.: n\r\nWrn.: n\r\nSkp.: n" for the tray hint.
  std::string trayCounts() const;
  std::string timeText() const;

  config::Settings& settings_;
  const format::FormatParameterSet& formats_;
  word::DocumentEngine& engine_;
  RunView& view_;
  platform::Locale locale_;
  word::FormatSelection selection_;
  RunControl& control_;
  std::function<platform::DateTime()> clock_;
  word::FormattingStep* formatting_ = nullptr;
  platform::MetadataPlatform* metadataPlatform_ = nullptr;
  std::unique_ptr<metadata::MetadataStep> metadata_;
  std::vector<word::DocumentEngine*> extraEngines_;

  RunLogs logs_;
  HtmlIndex index_;
  TreeScanner scanner_;
  RunCounters counters_;
  std::string CurInputDir_;
  std::string CurOutputDir_;
  std::string OutputFileName_;
  // The settings as the run started, read by the conversions (on any thread).
  std::shared_ptr<const config::Settings> runSettings_;
  std::unique_ptr<ConversionPool> pool_;
  CommitQueue commits_;
  // Output names given to documents whose conversion has not ended: a later document must not
  // be named or written over them until it has, as in a sequential run.
  std::multimap<std::string, std::shared_future<word::ConversionOutcome>> namesInFlight_;
  // The same names until their document is committed: its commit writes the output's metadata,
  // so a later document of that name must not replace the output before it.
  std::multiset<std::string> namesUncommitted_;
  // Languages the run has said it cannot check the spelling of; each is said once.
  std::set<std::string> languagesWithoutDictionary_;
  std::unique_ptr<BackgroundFileCount> fileCount_;
  std::optional<ShardSpec> shard_;
  std::unique_ptr<ShardJournal> journal_;
  std::unique_ptr<WalkPlaces> places_;  // labels the commits of a shard's walk
  bool totalShown_ = false;
  bool UiIdle_ = true;
  bool scanning_ = false;
};

}  // namespace kelvara::run
