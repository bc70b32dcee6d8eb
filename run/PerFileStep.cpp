#include <exception>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "run/BatchRun.h"
#include "run/CountCheck.h"
#include "run/FileFilters.h"
#include "run/OutputNaming.h"
#include "run/OwnOutputs.h"
#include "word/WordStarCheck.h"

namespace kelvara::run {
namespace {

const std::string kDashLine = " " + std::string(58, '-');
constexpr const char* kInactive = "Inactive";

std::string fileNamePart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string BatchRun::trayCounts() const {
  return "\r\nCnv.: " + std::to_string(counters_.FilesConverted) +
         "\r\nErr.: " + std::to_string(counters_.FilesInError) +
         "\r\nWrn.: " + std::to_string(counters_.FilesWithWarnings) +
         "\r\nSkp.: " + std::to_string(counters_.FilesSkipped);
}

std::optional<std::string> BatchRun::filterSkipLine(const std::string& inpFileName) const {
  return FilterSkipLine(inpFileName, ReadFileFacts(inpFileName, settings_), settings_, clock_(),
                        locale_);
}

void BatchRun::writePending(const word::PendingLog& log) {
  using Target = word::PendingLog::Target;
  for (const word::PendingLog::Line& line : log.lines()) {
    switch (line.target) {
      case Target::Main:
        logs_.WriteLogLn(line.text);
        break;
      case Target::Error:
        logs_.WriteErrLogLn(line.text);
        break;
      case Target::Warnings:
        logs_.WriteWrnLogLn(line.text);
        break;
      case Target::Deletion:
        logs_.WriteDelLogLn(line.text);
        break;
      case Target::IOError:
        logs_.ReportIOError(line.text, static_cast<IOOperation>(line.operation), 0, line.code);
        break;
      case Target::Progress:
        view_.setProgress(line.text);
        break;
      case Target::StateHint:
        view_.setConversionStateHint(line.text);
        break;
    }
  }
}

void BatchRun::PerFileStep(const std::string& inpFileName, bool folderMode) {
  if (folderMode) {
    if (!scanner_.Active()) {
      return;
    }
    settings_.InpFileName = inpFileName;
    waitWhilePaused();
    // Earlier outputs in an output tree nested in the input, and the run's own logs, are not
    // documents; every other file is handled and counted.
    if (IsOwnOutput(folderLayout(), CurInputDir_, fileNamePart(inpFileName))) {
      return;
    }
    // Another shard's file: not this run's to convert, count or log.
    if (!inShard(inpFileName)) {
      return;
    }
  }
  const std::string docName = fileNamePart(inpFileName);

  if (std::optional<std::string> skipLine = filterSkipLine(inpFileName)) {
    commits_.push([this, docName, line = std::move(*skipLine)](const word::ConversionOutcome*) {
      logs_.WriteSkpLogLn(line);
      commitSkipped(docName);
    });
    commits_.commitReady();
    return;
  }

  // A document in flight may still write the name this one starts from; the names it was
  // given are taken, as they would be on disk in a sequential run.
  const std::string plain =
      PlainOutputName(inpFileName, CurOutputDir_, selection_.OutExt, settings_);
  waitForName(plain);
  auto job = std::make_shared<DocumentJob>();
  job->inpFileName = inpFileName;
  job->docName = docName;
  job->curInputDir = CurInputDir_;
  job->curOutputDir = CurOutputDir_;
  const OutputName name = FormOutputName(
      inpFileName, CurOutputDir_, selection_.OutExt, settings_,
      [job](const std::string& line) { job->namingLog.push_back(line); },
      [this](const std::string& n) { return nameInFlight(n) || platform::exists(n); });
  job->outputFileName = name.OutputFileName;
  job->outName = name.OutName;
  job->reservedNames = {plain, name.OutputFileName};
  namesUncommitted_.insert(job->reservedNames.begin(), job->reservedNames.end());
  OutputFileName_ = job->outputFileName;

  if (!folderMode) {
    view_.setPathBoxes(inpFileName, OutputFileName_);
  }
  view_.setConversionState("Conversion " + docName + " -> " + job->outName + "...         ");
  view_.setProgress("");
  checkpoint();

  const auto commit = [this, job](const word::ConversionOutcome* outcome) {
    commitDocument(*job, *outcome);
  };
  // Input files are never modified, whatever the naming options say.
  if (platform::sameFile(inpFileName, job->outputFileName)) {
    std::promise<word::ConversionOutcome> refused;
    word::ConversionOutcome outcome;
    outcome.failed = true;
    outcome.failure =
        "Output file " + job->outputFileName + " is the input file: it is not overwritten";
    refused.set_value(std::move(outcome));
    commits_.push(refused.get_future().share(), commit);
  } else {
    view_.setDocumentHint(inpFileName);
    std::shared_future<word::ConversionOutcome> outcome =
        pool_->submit([this, job](word::DocumentEngine& engine) { return convert(engine, *job); })
            .share();
    for (const std::string& reserved : job->reservedNames) {
      namesInFlight_.emplace(reserved, outcome);
    }
    commits_.push(std::move(outcome), commit);
  }
  commits_.commitReady();
  // A bounded number of documents in flight keeps memory flat on huge trees.
  while (commits_.documentsInFlight() > maxInFlight()) {
    commits_.commitHead([this] { checkpoint(); });
  }
}

word::ConversionOutcome BatchRun::convert(word::DocumentEngine& engine, const DocumentJob& job) {
  // With one engine the conversion runs on the run's thread and may process the view's
  // messages; workers of a pool only honour Pause, and Stop for documents not yet begun.
  std::function<void()> checkpoint = [this] { waitWhilePaused(); };
  if (pool_->threaded()) {
    if (control_.stopRequested) {
      word::ConversionOutcome notStarted;
      notStarted.cancelled = true;
      return notStarted;
    }
    checkpoint = [this] { waitWhilePausedQuietly(); };
  }
  word::PendingLog wordStarLog;
  int32_t wordStarIssues = 0;
  if (runSettings_->Preprocess &&
      selection_.inputFormatName.find("WordStar") != std::string::npos) {
    wordStarIssues = word::CheckWordStarFile(
        job.inpFileName, {job.curInputDir, job.curOutputDir, job.docName, job.outName},
        wordStarLog);
  }
  word::PipelineContext context{*runSettings_, engine, checkpoint, formatting_, nullptr};
  if (!pool_->threaded()) {
    context.progress = [this](const std::string& text) { view_.setSectionProgress(text); };
  }
  word::ConversionOutcome outcome =
      word::ConvertDocument(context, job.inpFileName, job.outputFileName, selection_);
  outcome.wordStarIssues = wordStarIssues;
  wordStarLog.append(outcome.preConversionLog);
  outcome.preConversionLog = std::move(wordStarLog);
  return outcome;
}

void BatchRun::commitSkipped(const std::string& docName) {
  ++counters_.FilesSkipped;
  view_.setProgress("");
  view_.setConversionState("Skipped " + docName);
  showCounters();
  view_.setTrayHint(std::string(kTrayTitle) + "\r\n" + trayCounts());
  checkpoint();
  ++counters_.FilesAnalyzed;
  showCounters();
  view_.setConversionState("");
}

void BatchRun::commitDocument(const DocumentJob& job, const word::ConversionOutcome& outcome) {
  for (const std::string& reserved : job.reservedNames) {
    nameInFlight(reserved);  // forgets the names of conversions that have ended
    if (const auto held = namesUncommitted_.find(reserved); held != namesUncommitted_.end()) {
      namesUncommitted_.erase(held);
    }
  }
  if (outcome.cancelled) {
    return;
  }
  if (pool_->threaded()) {
    // Later documents were shown while this one converted; what follows is about this one.
    view_.setConversionState("Conversion " + job.docName + " -> " + job.outName + "...         ");
  }
  for (const std::string& line : job.namingLog) {
    logs_.WriteLogLn(line);
  }
  logs_.WriteLogLn("Input Path: " + job.curInputDir + " - Output Path: " + job.curOutputDir);
  logs_.WriteLogLn(" Conversion " + job.docName + " -> " + job.outName);
  writePending(outcome.preConversionLog);
  index_.FileBegins();
  if (outcome.conversionStarted) {
    logs_.WriteLog("   Conversion ");
    writePending(outcome.conversionLog);
    writeFormattingLog(outcome.formattingLog);
  }

  // A document can carry a WordStar warning and still fail.
  bool docWarned = outcome.wordStarIssues > 0;
  if (outcome.failed) {
    if (outcome.conversionStarted) {
      view_.setDocumentHint(kInactive);
      logs_.WriteErrLogLn(outcome.failedSection != 0
                              ? "Error on Section " + std::to_string(outcome.failedSection)
                              : std::string("Error on conversion"));
      logs_.WriteErrLogLn(outcome.failure);
      logs_.WriteLogLn(outcome.failure);
      view_.setProgress(outcome.failure);
    }
    onConversionError(outcome.failure, job);
  } else if (const std::optional<std::string> failure = commitConverted(job, outcome, docWarned)) {
    onConversionError(*failure, job);
  }

  if (docWarned) {
    ++counters_.FilesWithWarnings;
  }
  showCounters();
  view_.setTrayHint(std::string(kTrayTitle) + trayCounts());
  checkpoint();
  ++counters_.FilesAnalyzed;
  showCounters();
}

std::optional<std::string> BatchRun::commitConverted(const DocumentJob& job,
                                                     const word::ConversionOutcome& outcome,
                                                     bool& docWarned) {
  if (outcome.saved) {
    const word::DocumentStatistics& s = outcome.saved->statistics;
    logs_.WriteLog("              " + std::to_string(s.pages) + " Pages");
    logs_.WriteLog(" - " + std::to_string(s.paragraphs) + " Paragraphs");
    logs_.WriteLog(" - " + std::to_string(s.lines) + " Lines");
    logs_.WriteLog(" - " + std::to_string(s.words) + " words");
    logs_.WriteLog(" - " + std::to_string(s.charactersWithSpaces) + " Characters&Spaces");
    logs_.WriteLogLn(" - " + std::to_string(s.characters) + " Characters");
    if (outcome.saved->revisions && outcome.saved->spellingErrors) {
      logs_.WriteLog("   " + std::to_string(*outcome.saved->revisions) + " Changes");
      logs_.WriteLog(" - " + std::to_string(*outcome.saved->spellingErrors) + " Spelling Err.");
      logs_.WriteLogLn("");
    }
    for (const std::string& language : outcome.saved->languagesWithoutDictionary) {
      if (languagesWithoutDictionary_.insert(language).second) {
        logs_.WriteLogLn("No spelling dictionary for the language " + language +
                         ": its spelling errors are not counted");
      }
    }
  }
  view_.setDocumentHint(kInactive);
  if (metadata_) {
    // A source gone since its conversion fails the document; its output is not reported.
    if (std::optional<std::string> failure =
            metadata_->CopyFileMetadata(job.inpFileName, job.outputFileName)) {
      return failure;
    }
  }
  view_.refreshFreeDisk();

  std::vector<std::string> warnings = outcome.loadWarnings;
  if (CountCheck(outcome.inputCounts, outcome.statistics, settings_) > 0) {
    warnings.push_back(CountWarningLine(outcome.inputCounts, outcome.statistics));
  }
  if (!warnings.empty()) {
    docWarned = true;
    logs_.WriteWrnLogLn(kDashLine);
    logs_.WriteWrnLogLn("Input Path: " + job.curInputDir + " - Output Path: " + job.curOutputDir);
    logs_.WriteWrnLogLn("Conversion " + job.docName + " -> " + job.outName);
    for (const std::string& line : warnings) {
      logs_.WriteWrnLogLn(line);
    }
    logs_.WriteWrnLogLn("");
  }

  logs_.WriteLogLn(" Result OK - at: " + timeText());
  logs_.WriteLogLn("");
  index_.FileConverted(job.inpFileName, job.docName, job.outputFileName, job.outName);
  ++counters_.FilesConverted;
  view_.setProgress("");
  view_.setConversionState("Converted " + job.docName + " -> " + job.outName + ": OK      ");
  if (!scanner_.Active()) {
    view_.setConversionStateHint("No errors");
  }
  return std::nullopt;
}

void BatchRun::writeFormattingLog(const std::string& text) {
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    logs_.WriteLogLn(std::string_view(text).substr(start, end - start));
    start = end + 1;
  }
  if (start < text.size()) {
    logs_.WriteLog(std::string_view(text).substr(start));
  }
}

void BatchRun::onConversionError(const std::string& message, const DocumentJob& job) {
  const std::string at = timeText();
  view_.setConversionStateHint(message);
  view_.setConversionState("Conversion " + job.docName + " -> " + job.outName + ": Error ");

  logs_.WriteLogLn(kDashLine);
  logs_.WriteLogLn(" Result ERROR - " + message + " at:" + at);
  logs_.WriteLogLn("");

  logs_.WriteErrLogLn("Input Path: " + job.curInputDir + " - Output Path: " + job.curOutputDir);
  logs_.WriteErrLogLn("Conversion " + job.docName + " -> " + job.outName);
  logs_.WriteErrLogLn(kDashLine);
  logs_.WriteErrLogLn(" Result ERROR - " + message + " at:" + at);
  logs_.WriteErrLogLn("");

  index_.FileFailed(job.inpFileName, job.docName, job.outName);
  ++counters_.FilesInError;
  showCounters();
  view_.beep();
  checkpoint();
}

}  // namespace kelvara::run
