#include "run/BatchRun.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/FileSystem.h"
#include "run/IOError.h"
#include "run/OwnOutputs.h"
#include "run/RunSummary.h"

namespace kelvara::run {
namespace {

constexpr size_t kInFlightPerEngine = 64;

constexpr const char* kSameFolderWarning =
    "Warning! Input and Output directory are the same.\r\n\r\n"
    "This cause the overwritting of input file(s)\r\n"
    "if input and output extensions are the same.\r\n"
    "In batch mode with scanning of subdirectories\r\n"
    "files in subdirectories won't be processed.\r\n\r\n"
    "Do you want to continue?";
constexpr const char* kSubFolderWarning =
    "Warning! Output directory is a subdirectory of input directory.\r\n\r\n"
    "If there are some files on the output directory and its subtree they won't be processed\r\n"
    "\r\n"
    "Do you want to continue?";

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::string relativeTo(const std::string& path, const std::string& base) {
  return startsWith(path, base) ? path.substr(base.size()) : path;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t p = text.find(from); p != std::string::npos; p = text.find(from, p + to.size())) {
    text.replace(p, from.size(), to);
  }
  return text;
}

}  // namespace

BatchRun::BatchRun(config::Settings& settings, const format::FormatParameterSet& formats,
                   word::DocumentEngine& engine, RunView& view, platform::Locale locale,
                   word::FormatSelection selection, RunControl& control)
    : settings_(settings),
      formats_(formats),
      engine_(engine),
      view_(view),
      locale_(std::move(locale)),
      selection_(std::move(selection)),
      control_(control),
      clock_(platform::now),
      logs_(settings_, view_, locale_, [this] { return clock_(); }) {
  // A shard's commits are labelled with their place in the walk, for the merge.
  scanner_.OnDirectoryFound = [this](TreeScanner& s) {
    if (places_) {
      commits_.setLabel(places_->entered(s.FileFound()));
    }
    FolderEntered(s);
  };
  scanner_.OnDirectoryDone = [this](TreeScanner& s) {
    if (places_) {
      commits_.setLabel(places_->done());
    }
    FolderDone(s);
  };
  scanner_.OnFileFound = [this](TreeScanner& s) {
    if (places_) {
      commits_.setLabel(places_->file(s.FileFound()));
    }
    PerFileStep(s.FileFound(), true);
  };
  scanner_.OnSearchDone = [this](TreeScanner&) { EndOfRun(); };
  scanner_.ProcessPendingMessages = [this] { checkpoint(); };
}

BatchRun::~BatchRun() {
  // A run abandoned at a question leaves its open logs to be closed here.
  for (LogKind kind : {LogKind::Main, LogKind::Error, LogKind::Warnings, LogKind::Skipped}) {
    if (logs_.isOpen(kind)) {
      logs_.Close(kind);
    }
  }
}

FolderLayout BatchRun::folderLayout() const {
  return FolderLayout{settings_.InpPath, settings_.OutPath, logs_.logDir()};
}

std::string BatchRun::indexPath() const {
  return logs_.logDir() + "Index.html";
}

std::string BatchRun::timeText() const {
  return locale_.formatLongTime(clock_());
}

void BatchRun::checkpoint() {
  if (fileCount_ && !totalShown_) {
    if (const std::optional<int> total = fileCount_->total()) {
      view_.setTotalEstimate(*total);
      totalShown_ = true;
    }
  }
  view_.processPendingMessages();
  if (control_.stopRequested && scanner_.Active()) {
    scanner_.Stop();
  }
}

void BatchRun::waitWhilePaused() {
  while (control_.paused && !control_.stopRequested) {
    view_.processPendingMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  checkpoint();
}

void BatchRun::waitWhilePausedQuietly() const {
  while (control_.paused && !control_.stopRequested) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

size_t BatchRun::maxInFlight() const {
  // Commits wait for the oldest document; enough others may finish meanwhile that one slow
  // document does not leave the other offices idle. Each is a few strings until committed.
  return pool_->threaded() ? kInFlightPerEngine * pool_->size() : 0;
}

bool BatchRun::nameInFlight(const std::string& name) {
  auto [first, last] = namesInFlight_.equal_range(name);
  while (first != last) {
    if (first->second.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
      first = namesInFlight_.erase(first);
    } else {
      ++first;
    }
  }
  return namesInFlight_.count(name) > 0;
}

void BatchRun::waitForName(const std::string& name) {
  // The commit of a document writes its output's metadata, which may leave the output closed to
  // this process; one of the same name must then not replace that output before it, so
  // committing up to the holder is the wait. A process that permissions do not bind need not:
  // the later document's own commit writes all of its output's metadata again.
  const bool commitFirst = metadata_ && !metadata_->outputsStayWritable();
  while (commitFirst && namesUncommitted_.count(name) > 0 && commits_.size() > 0) {
    commits_.commitHead([this] { checkpoint(); });
  }
  // Without metadata only the conversions holding the name are waited for, not the commit of
  // every document before them: one long document elsewhere in the tree must not leave the
  // other offices idle.
  while (nameInFlight(name)) {
    if (namesInFlight_.find(name)->second.wait_for(std::chrono::milliseconds(50)) !=
        std::future_status::ready) {
      checkpoint();
    }
  }
}

void BatchRun::showCounters() {
  view_.setCounters(counters_);
}

bool BatchRun::Run() {
  const std::string refusal = engine_.cannotSaveReason(selection_.saveFormat);
  if (!refusal.empty()) {
    view_.showError(refusal, "Error");
    return false;
  }
  if (!prepareOutputFolder() || !confirmFolders()) {
    return false;
  }
  prepareLogFolder();
  view_.setCounters(RunCounters{});
  if (!openLogs() || !openJournal()) {
    return false;
  }

  counters_ = RunCounters{};
  languagesWithoutDictionary_.clear();
  showCounters();
  if (settings_.ExtConv && settings_.ExternalConverterProgram.size() < 5) {
    settings_.ExtConv = false;
  }
  if (settings_.WordsCountProgram.size() < 5) {
    settings_.WordsCountCheck = false;
    settings_.LinesCountCheck = false;
    settings_.CharsCountCheck = false;
  }
  index_.Start();
  warnIgnoredTextOptions();
  startMetadata();

  runSettings_ = std::make_shared<const config::Settings>(settings_);
  std::vector<word::DocumentEngine*> engines{&engine_};
  engines.insert(engines.end(), extraEngines_.begin(), extraEngines_.end());
  pool_ = std::make_unique<ConversionPool>(std::move(engines));

  UiIdle_ = false;
  view_.setBusy(true);
  if (settings_.SingleFile) {
    CurInputDir_ = settings_.InpPath;
    CurOutputDir_ = settings_.OutPath;
    view_.setPathHints("Realtive Input Path", "Realtive Output Path");
    PerFileStep(settings_.InpFileName, false);
  } else {
    walk();
  }
  // The end of the walk normally ends the run; this closes a single-file run, and a run
  // whose walk could not report its end.
  EndOfRun();
  closeJournal();
  pool_.reset();
  // A Stop or Pause given to this run is spent; the next run starts without it.
  control_.stopRequested = false;
  control_.paused = false;

  const std::string index = indexPath();
  if (!index_.End(index)) {
    view_.showError(FormatIOError(index, static_cast<int>(IOOperation::Write), errno), "Error");
  }
  return true;
}

void BatchRun::startMetadata() {
  metadata_.reset();
  if (metadataPlatform_ == nullptr) {
    return;
  }
  metadata::MetadataReport report;
  report.logLine = [this](std::string_view text) { logs_.WriteLogLn(text); };
  report.dateLine = [this](std::string_view text) { logs_.WriteDateLogLn(text); };
  report.errorLine = [this](std::string_view text) { logs_.WriteErrLogLn(text); };
  report.message = [this](const std::string& text) { view_.showMessage(text); };
  report.indicator = [this](metadata::Indicator which, metadata::LedColor color, bool off) {
    view_.setIndicator(which, color, off);
  };
  metadata_ = std::make_unique<metadata::MetadataStep>(settings_, *metadataPlatform_, locale_,
                                                       std::move(report));
  metadata_->CheckNtfsDrives();
}

void BatchRun::warnIgnoredTextOptions() {
  if (selection_.OutExt != "txt") {
    return;
  }
  const word::TextSaveOptions asked{settings_.LineTerm, settings_.AllowSubst,
                                    settings_.InsLineBreaks};
  for (const std::string& notice : engine_.ignoredTextOptions(asked)) {
    view_.setProgress(notice);
    logs_.WriteWrnLogLn(notice);
  }
}

bool BatchRun::prepareOutputFolder() {
  const std::string& out = settings_.OutPath;
  if (platform::isDirectory(out)) {
    return true;
  }
  const int code = platform::createDirectories(out);
  if (code == 0) {
    return true;
  }
  logs_.ReportIOError(out, IOOperation::Creation, 0, code);
  view_.beep();
  view_.setOutputPathBox("Dir. Creation error: " + out + " res: " + std::to_string(code));
  view_.showError("Error in Output Directory Creation. Please Select another directory", "Error");
  view_.setRunEnabled(false);
  return false;
}

bool BatchRun::confirmFolders() {
  const std::string& in = settings_.InpPath;
  const std::string& out = settings_.OutPath;
  const char* warning = out == in             ? kSameFolderWarning
                        : startsWith(out, in) ? kSubFolderWarning
                                              : nullptr;
  if (warning && !view_.askYesNo(warning, "Warning")) {
    view_.setRunEnabled(false);
    return false;
  }
  return true;
}

void BatchRun::prepareLogFolder() {
  // Each shard has a folder of its own, so that shards never write into each other's logs.
  const std::string logDir = settings_.OutPath + "Log/" +
                             (shard_ ? "shards/" + ShardFolderName(*shard_) + "/" : std::string());
  logs_.setLogDir(logDir);
  if (platform::isDirectory(logDir)) {
    return;
  }
  const int code = shard_ ? platform::createDirectories(logDir) : platform::createDirectory(logDir);
  if (code == EEXIST && platform::isDirectory(logDir)) {
    return;  // made meanwhile by another process
  }
  if (code != 0) {
    logs_.ReportIOError(logDir, IOOperation::Creation, 0, code);
    view_.beep();
    view_.setOutputPathBox("Dir. Creation error: " + logDir + " res: " + std::to_string(code));
    view_.showError(
        "Error in Output Directory Creation. The Log files will be located on " + settings_.OutPath,
        "Error");
    logs_.setLogDir(settings_.OutPath);
  } else {
    logs_.WriteFolderLogLn("Folder " + logDir + " created");
  }
  logs_.WriteFolderLogLn("\r\n");
}

bool BatchRun::openLogs() {
  struct Step {
    LogKind kind;
    const char* question;
    bool config::Settings::*category;
  };
  const Step steps[] = {
      {LogKind::Main, "Do you want to continue without log?", nullptr},
      {LogKind::Warnings, "Do you want to continue without Warning log?",
       &config::Settings::LogWarnings},
      // Not LogErrors: it also carries the main log's lines. Without their log, the errors go to
      // the progress box.
      {LogKind::Error, "Do you want to continue without error log?", nullptr},
      {LogKind::Skipped, "Do you want to continue without skipped files log?",
       &config::Settings::LogSlippedFiles},
  };
  for (const Step& step : steps) {
    if (logs_.OpenRunLog(step.kind)) {
      continue;
    }
    if (!view_.askYesNo(step.question, "Confirm")) {
      return false;
    }
    logs_.continueWithout(step.kind);
    if (step.category) {
      // Nothing more is written to a log that could not be opened.
      settings_.*step.category = false;
    }
  }
  return true;
}

bool BatchRun::openJournal() {
  if (!shard_) {
    return true;
  }
  JournalHeader header;
  header.shard = *shard_;
  header.logsOpen = {settings_.LogErrors, logs_.isOpen(LogKind::Error),
                     logs_.isOpen(LogKind::Warnings), logs_.isOpen(LogKind::Skipped)};
  header.inpPath = settings_.InpPath;
  header.outPath = settings_.OutPath;
  const std::string path = logs_.logDir() + kJournalName;
  int code = 0;
  journal_ = ShardJournal::Open(path, header, &code);
  if (!journal_) {
    // Without its record the shard's work could not be merged: better not to start.
    logs_.ReportIOError(path, IOOperation::Creation, 0, code);
    view_.showError(FormatIOError(path, static_cast<int>(IOOperation::Creation), code), "Error");
    return false;
  }
  places_ = std::make_unique<WalkPlaces>(settings_.InpPath);
  logs_.setTap([this](LogKind kind, std::string_view bytes) { journal_->logBytes(kind, bytes); });
  index_.setRecorder([this](const IndexEvent& event) { journal_->indexEvent(event); });
  commits_.setObserver([this](const std::string& label, bool committed) {
    if (committed) {
      journal_->end(counters_);
    } else {
      journal_->begin(label, counters_);
    }
  });
  return true;
}

void BatchRun::closeJournal() {
  if (!journal_) {
    return;
  }
  logs_.setTap(nullptr);
  index_.setRecorder(nullptr);
  commits_.setObserver(nullptr);
  commits_.setLabel({});
  places_.reset();
  if (journal_->failed()) {
    view_.showError("The record of shard " + ShardFolderName(*shard_) +
                        " could not be written in full: merge its logs by hand",
                    "Error");
  }
  journal_.reset();
}

bool BatchRun::inShard(const std::string& inpFileName) const {
  return !shard_ || ShardOfFile(settings_.InpPath, inpFileName, settings_.OutDirTree,
                                shard_->count) == shard_->index;
}

void BatchRun::walk() {
  scanner_.Recursive = settings_.ScanSubDir;
  scanner_.FindHiddenFolders = settings_.ScanHFolders;
  scanner_.FindHiddenFiles = settings_.ScanHFiles;
  scanner_.InitialDirectory = settings_.InpPath;
  if (settings_.InpMask.find(';') != std::string::npos) {
    scanner_.setFileMaskCommaText(replaceAll(settings_.InpMask, ";", ", "));
  } else {
    scanner_.setFileMask(settings_.InpMask);
  }
  // Counted alongside, so that progress can show a total and the time left.
  BackgroundFileCount::Walk count{settings_.InpPath,
                                  scanner_.fileMaskCommaText(),
                                  settings_.ScanSubDir,
                                  settings_.ScanHFiles,
                                  settings_.ScanHFolders,
                                  folderLayout(),
                                  nullptr};
  if (shard_) {
    count.accepts = [this](const std::string& path) { return inShard(path); };
  }
  fileCount_ = std::make_unique<BackgroundFileCount>(std::move(count));
  totalShown_ = false;
  scanning_ = true;
  scanner_.Search();
  scanning_ = false;
  fileCount_.reset();
}

void BatchRun::FolderEntered(TreeScanner& scanner) {
  if (!scanner.Active()) {
    return;
  }
  const std::string& inpPath = settings_.InpPath;
  const std::string& outPath = settings_.OutPath;
  CurInputDir_ = scanner.FileFound();
  if (settings_.OutDirTree && inpPath != CurInputDir_) {
    CurOutputDir_ =
        outPath + CurInputDir_.substr(std::min(inpPath.size(), CurInputDir_.size()), 999);
  } else {
    CurOutputDir_ = outPath;
  }
  view_.setPathBoxes("../" + relativeTo(CurInputDir_, inpPath),
                     "../" + relativeTo(CurOutputDir_, outPath));
  checkpoint();

  // The folder is made now, before its documents go to the engines; what the logs and the
  // index say of it waits for the documents before it.
  const bool inOutputTree = InsideNestedOutputTree(folderLayout(), CurInputDir_);
  bool create = !inOutputTree && !platform::isDirectory(CurOutputDir_);
  const int code = create ? platform::createDirectory(CurOutputDir_) : 0;
  if (code == EEXIST && platform::isDirectory(CurOutputDir_)) {
    // Another process (a shard beside this one) made it meanwhile: it is there, not made here.
    create = false;
  }
  commits_.push([this, inputDir = CurInputDir_, outputDir = CurOutputDir_, inOutputTree, create,
                 code](const word::ConversionOutcome*) {
    index_.FolderEntered(outputDir, !inOutputTree && settings_.OutPath != settings_.InpPath);
    if (!create) {
      return;
    }
    if (code != 0) {
      logs_.ReportIOError(outputDir, IOOperation::Creation, 0, code);
      view_.beep();
      view_.setOutputPathBox("Dir. Creation error: " + outputDir + " res: " + std::to_string(code));
    } else {
      logs_.WriteFolderLogLn("Folder " + outputDir + " created");
      if (metadata_) {
        if (const auto failure = metadata_->CopyFolderMetadata(inputDir, outputDir)) {
          logs_.WriteErrLogLn(*failure);
        }
      }
    }
    logs_.WriteFolderLogLn("\r\n");
  });
  commits_.commitReady();
}

void BatchRun::FolderDone(TreeScanner& scanner) {
  commits_.push([this, counted = scanner.Active()](const word::ConversionOutcome*) {
    index_.FolderDone();
    if (counted) {
      ++counters_.DirCount;
      showCounters();
    }
  });
  commits_.commitReady();
}

void BatchRun::EndOfRun() {
  if (UiIdle_) {
    return;
  }
  // Every document handed to an engine is finished and written before the summary.
  commits_.commitAll([this] { checkpoint(); });
  if (metadata_) {
    metadata_->RestoreFolderTimes();
  }
  view_.setPathBoxes("", "");
  view_.setConversionState("Conversion terminated");
  view_.setPathHints("Input File", "Output File");
  view_.setProgress("");

  if (journal_) {
    // What follows is this shard's summary; the merge writes the whole run's.
    journal_->finish(scanner_.Active() && !control_.stopRequested);
  }
  WriteRunSummary(logs_, counters_);

  view_.processPendingMessages();
  logs_.Close(LogKind::Main);
  if (settings_.LogWarnings) {
    logs_.Close(LogKind::Warnings);
  }
  if (settings_.LogErrors) {
    logs_.Close(LogKind::Error);
  }
  if (settings_.LogSlippedFiles) {
    logs_.Close(LogKind::Skipped);
  }

  UiIdle_ = true;
  view_.setBusy(false);
  engine_.disconnect();
  for (word::DocumentEngine* engine : extraEngines_) {
    engine->disconnect();
  }
  view_.setTrayHint(std::string(kTrayTitle) + "\r\nStatus: Idle");
}

}  // namespace kelvara::run
