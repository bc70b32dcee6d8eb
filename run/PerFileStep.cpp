#include <exception>
#include <string>

#include "platform/FileSystem.h"
#include "run/BatchRun.h"
#include "run/CountCheck.h"
#include "run/OutputNaming.h"
#include "run/OwnOutputs.h"
#include "word/ConvError.h"

namespace kelvara::run {
namespace {

const std::string kDashLine = " " + std::string(58, '-');

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

bool BatchRun::skippedByFilters(const std::string& /*inpFileName*/) {
  // The selection filters (attributes, dates, age, size) are not applied yet.
  return false;
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
  }
  const std::string docName = fileNamePart(inpFileName);

  if (skippedByFilters(inpFileName)) {
    ++counters_.FilesSkipped;
    view_.setProgress("");
    view_.setConversionState("Skipped " + docName);
    showCounters();
    view_.setTrayHint(std::string(kTrayTitle) + "\r\n" + trayCounts());
    checkpoint();
    ++counters_.FilesAnalyzed;
    showCounters();
    view_.setConversionState("");
    return;
  }

  const OutputName name =
      FormOutputName(inpFileName, CurOutputDir_, selection_.OutExt, settings_,
                     [this](const std::string& line) { logs_.WriteLogLn(line); });
  OutputFileName_ = name.OutputFileName;
  const std::string& outName = name.OutName;

  bool docWarned = false;
  if (!folderMode) {
    view_.setPathBoxes(inpFileName, OutputFileName_);
  }
  view_.setConversionState("Conversion " + docName + " -> " + outName + "...         ");
  view_.setProgress("");
  checkpoint();

  logs_.WriteLogLn("Input Path: " + CurInputDir_ + " - Output Path: " + CurOutputDir_);
  logs_.WriteLogLn(" Conversion " + docName + " -> " + outName);

  try {
    convertCounted(docName, outName, docWarned);
  } catch (const std::exception& e) {
    onConversionError(e.what(), docName, outName);
  }

  if (docWarned) {
    ++counters_.FilesWithWarnings;
  }
  showCounters();
  view_.setTrayHint(std::string(kTrayTitle) + trayCounts());
  checkpoint();
  ++counters_.FilesAnalyzed;
  showCounters();

  // Single file, or Stop pressed during the conversion: the run ends with this file, and the
  // summary counts it.
  if (!scanner_.Active()) {
    EndOfRun();
  }
}

void BatchRun::convertCounted(const std::string& docName, const std::string& outName,
                              bool& docWarned) {
  const std::string& inpFileName = settings_.InpFileName;
  index_.FileBegins();
  // Input files are never modified, whatever the naming options say.
  if (platform::sameFile(inpFileName, OutputFileName_)) {
    throw word::EConvError("Output file " + OutputFileName_ +
                           " is the input file: it is not overwritten");
  }

  word::PipelineContext context{settings_,  engine_, logs_, view_, [this] { waitWhilePaused(); },
                                formatting_};
  const word::ConversionResult result =
      word::ConvertDocument(context, inpFileName, OutputFileName_, selection_);

  view_.refreshFreeDisk();

  std::vector<std::string> warnings = result.loadWarnings;
  if (CountCheck(result.inputCounts, result.statistics, settings_) > 0) {
    warnings.push_back(CountWarningLine(result.inputCounts, result.statistics));
  }
  if (!warnings.empty()) {
    docWarned = true;
    logs_.WriteWrnLogLn(kDashLine);
    logs_.WriteWrnLogLn("Input Path: " + CurInputDir_ + " - Output Path: " + CurOutputDir_);
    logs_.WriteWrnLogLn("Conversion " + docName + " -> " + outName);
    for (const std::string& line : warnings) {
      logs_.WriteWrnLogLn(line);
    }
    logs_.WriteWrnLogLn("");
  }

  logs_.WriteLogLn(" Result OK - at: " + timeText());
  logs_.WriteLogLn("");
  index_.FileConverted(inpFileName, docName, OutputFileName_, outName);
  ++counters_.FilesConverted;
  view_.setProgress("");
  view_.setConversionState("Converted " + docName + " -> " + outName + ": OK      ");
  if (!scanner_.Active()) {
    view_.setConversionStateHint("No errors");
  }
}

void BatchRun::onConversionError(const std::string& message, const std::string& docName,
                                 const std::string& outName) {
  const std::string at = timeText();
  view_.setConversionStateHint(message);
  view_.setConversionState("Conversion " + docName + " -> " + outName + ": Error ");

  logs_.WriteLogLn(kDashLine);
  logs_.WriteLogLn(" Result ERROR - " + message + " at:" + at);
  logs_.WriteLogLn("");

  logs_.WriteErrLogLn("Input Path: " + CurInputDir_ + " - Output Path: " + CurOutputDir_);
  logs_.WriteErrLogLn("Conversion " + docName + " -> " + outName);
  logs_.WriteErrLogLn(kDashLine);
  logs_.WriteErrLogLn(" Result ERROR - " + message + " at:" + at);
  logs_.WriteErrLogLn("");

  index_.FileFailed(settings_.InpFileName, docName, outName);
  ++counters_.FilesInError;
  showCounters();
  view_.beep();
  checkpoint();
}

}  // namespace kelvara::run
