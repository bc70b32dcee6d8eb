#include "word/ConversionPipeline.h"

#include <memory>
#include <string>

#include "word/ConvError.h"
#include "word/CountInput.h"
#include "word/ExternalConverter.h"
#include "word/RunProgram.h"

namespace kelvara::word {
namespace {

// Keeps the engine's per-document time limit running exactly as long as the conversion.
class DocumentScope {
 public:
  DocumentScope(DocumentEngine& engine, bool debug) : engine_(engine) {
    engine_.beginDocument(debug);
  }
  ~DocumentScope() { engine_.endDocument(); }
  DocumentScope(const DocumentScope&) = delete;
  DocumentScope& operator=(const DocumentScope&) = delete;

 private:
  DocumentEngine& engine_;
};

SaveRequest saveRequestFor(const config::Settings& settings, const std::string& engineVersion,
                           const std::string& saveName, const FormatSelection& formats) {
  SaveRequest request{saveName, formats.saveFormat, std::nullopt};
  // The older save form passes only the name and the format.
  const bool fullForm = IsKnownVersion(engineVersion) && engineVersion != "9.0";
  if (fullForm && formats.OutExt == "txt") {
    request.text = TextSaveOptions{settings.LineTerm, settings.AllowSubst, settings.InsLineBreaks};
  }
  return request;
}

std::optional<SavedMeasures> measureSaved(Document& document) {
  SavedMeasures measures;
  try {
    measures.statistics = document.computeStatistics();
  } catch (const std::exception&) {
    // The output is written; a failure to measure it again does not undo the conversion.
    return std::nullopt;
  }
  try {
    measures.revisions = document.revisionCount();
    const SpellingErrors spelling = document.spellingErrorCount();
    measures.spellingErrors = spelling.count;
    measures.languagesWithoutDictionary = spelling.languagesWithoutDictionary;
  } catch (const std::exception&) {
  }
  return measures;
}

void closeQuietly(std::unique_ptr<Document>& document) {
  if (!document) {
    return;
  }
  try {
    document->close();
  } catch (...) {
    // Closing is best effort: the engine drops what it cannot close when it is recycled.
  }
  document.reset();
}

bool engineGone(const std::exception& e) {
  const auto* engineError = dynamic_cast<const EngineError*>(&e);
  return engineError && (engineError->kind() == EngineError::Kind::Lost ||
                         engineError->kind() == EngineError::Kind::TimedOut ||
                         engineError->kind() == EngineError::Kind::Unavailable);
}

}  // namespace

ConversionOutcome ConvertDocument(PipelineContext& context, const std::string& inpFileName,
                                  const std::string& outputFileName,
                                  const FormatSelection& formats) {
  const config::Settings& settings = context.settings;
  ConversionOutcome outcome;
  const bool counting =
      settings.WordsCountCheck || settings.LinesCountCheck || settings.CharsCountCheck;
  const bool external = settings.ExtConv && !settings.NoConversion;
  // The outside programs' short-lived files: count files and their error output.
  const std::string temporaryFolder =
      counting || external ? ProgramsTemporaryFolder() : std::string();

  // Without a counting program there is nothing to run: the counts stay absent.
  if (counting && !settings.WordsCountProgram.empty()) {
    try {
      outcome.inputCounts = CountInput(settings, inpFileName, temporaryFolder, context.checkpoint,
                                       outcome.preConversionLog);
    } catch (const EConvError& e) {
      // The count file the program wrote cannot be read: the document goes no further.
      outcome.failed = true;
      outcome.failure = e.what();
      return outcome;
    }
  }

  FormattingReport report;
  report.progress = context.progress;
  std::unique_ptr<Document> document;
  // Where the converter's output is while the engine works on it; empty when there is none.
  std::string converterOutput;
  try {
    OpenRequest open{inpFileName, formats.openFormat, false, settings.Debug};
    if (external) {
      outcome.conversionStarted = true;
      RunExternalConverter(settings, inpFileName, outputFileName, temporaryFolder,
                           context.checkpoint, outcome.conversionLog);
      converterOutput = outputFileName;
      // Only when outputs are overwritten (NoVersionNum, the mode the naming falls back to).
      const bool overwriting = !settings.AddVersNum && !settings.RenBeforeOverWr;
      if (overwriting && !settings.Prefix.empty()) {
        converterOutput = MoveAsidePrefixed(settings, outputFileName, outcome.conversionLog);
      }
      open.fileName = converterOutput;
      open.format = 0;  // the engine recognises what the converter wrote
    }
    DocumentScope scope(context.engine, settings.Debug);
    try {
      outcome.conversionStarted = true;
      context.checkpoint();
      document = context.engine.open(open);
      if (!document) {
        throw EConvError("Can't open file " + inpFileName +
                         ". Error: " + context.engine.lastErrorText());
      }
      context.checkpoint();

      outcome.loadWarnings = document->loadWarnings();
      outcome.statistics = document->computeStatistics();
      if (context.formatting) {
        context.formatting->ApplyFormatting(settings, context.engine, *document, report);
        outcome.formattingLog = report.logText;
      }
      document->saveAs(saveRequestFor(settings, context.engine.version(), outputFileName, formats));
      // The converter's output moved aside under the prefix goes once the document is saved.
      if (!converterOutput.empty() && converterOutput != outputFileName &&
          !settings.KeepExtProgOut) {
        RemoveConverterOutput(converterOutput, outcome.conversionLog);
      }
      outcome.saved = measureSaved(*document);

      context.checkpoint();
      closeQuietly(document);
      return outcome;
    } catch (const std::exception& e) {
      if (document && !engineGone(e)) {
        // Keep what was done so far: the partly processed document is saved under the output
        // name, as a finished one would be; beside it when the converter's output may be open
        // under that name. Its own failure changes nothing.
        const std::string saveName = settings.ExtConv ? outputFileName + "_" : outputFileName;
        try {
          document->saveAs(saveRequestFor(settings, context.engine.version(), saveName, formats));
        } catch (...) {
        }
      }
      closeQuietly(document);
      throw;
    }
  } catch (const std::exception& e) {
    if (!converterOutput.empty() && !settings.KeepExtProgOut) {
      // What the converter wrote is not a converted document: it must not stay under the
      // output name, nor beside it.
      RemoveConverterOutput(converterOutput, outcome.conversionLog);
    }
    outcome.failed = true;
    outcome.failure = e.what();
    outcome.failedSection = report.currentSection;
    outcome.formattingLog = report.logText;
    outcome.saved.reset();
    context.checkpoint();
    return outcome;
  }
}

}  // namespace kelvara::word
