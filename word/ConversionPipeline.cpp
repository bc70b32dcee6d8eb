#include "word/ConversionPipeline.h"

#include <memory>
#include <string>

#include "run/RunLogs.h"
#include "run/RunView.h"
#include "word/ConvError.h"

namespace kelvara::word {
namespace {

constexpr const char* kInactive = "Inactive";

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

void logStatistics(run::RunLogs& logs, Document& document) {
  const DocumentStatistics s = document.computeStatistics();
  logs.WriteLog("              " + std::to_string(s.pages) + " Pages");
  logs.WriteLog(" - " + std::to_string(s.paragraphs) + " Paragraphs");
  logs.WriteLog(" - " + std::to_string(s.lines) + " Lines");
  logs.WriteLog(" - " + std::to_string(s.words) + " words");
  logs.WriteLog(" - " + std::to_string(s.charactersWithSpaces) + " Characters&Spaces");
  logs.WriteLogLn(" - " + std::to_string(s.characters) + " Characters");
  const int32_t revisions = document.revisionCount();
  const int32_t spelling = document.spellingErrorCount();
  logs.WriteLog("   " + std::to_string(revisions) + " Changes");
  logs.WriteLog(" - " + std::to_string(spelling) + " Spelling Err.");
  logs.WriteLogLn("");
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

ConversionResult ConvertDocument(PipelineContext& context, const std::string& inpFileName,
                                 const std::string& outputFileName,
                                 const FormatSelection& formats) {
  const config::Settings& settings = context.settings;
  ConversionResult result;
  // Input counts come from the counting program; without one they stay absent.

  DocumentScope scope(context.engine, settings.Debug);
  int32_t currentSection = 0;
  std::unique_ptr<Document> document;
  try {
    context.logs.WriteLog("   Conversion ");
    context.checkpoint();
    const OpenRequest open{inpFileName, formats.openFormat, false, settings.Debug};
    document = context.engine.open(open);
    if (!document) {
      throw EConvError("Can't open file " + inpFileName +
                       ". Error: " + context.engine.lastErrorText());
    }
    context.view.setDocumentHint(document->path() + "/" + document->name());
    context.checkpoint();

    result.loadWarnings = document->loadWarnings();
    result.statistics = document->computeStatistics();
    if (context.formatting) {
      context.formatting->ApplyFormatting(*document, currentSection);
    }
    document->saveAs(saveRequestFor(settings, context.engine.version(), outputFileName, formats));

    try {
      logStatistics(context.logs, *document);
    } catch (const std::exception&) {
      // The output is written; a failure to measure it again does not undo the conversion.
    }

    context.checkpoint();
    context.view.setDocumentHint(kInactive);
    closeQuietly(document);
    return result;
  } catch (const std::exception& e) {
    const std::string message = e.what();
    context.view.setDocumentHint(kInactive);
    if (currentSection != 0) {
      context.logs.WriteErrLogLn("Error on Section " + std::to_string(currentSection));
    } else {
      context.logs.WriteErrLogLn("Error on conversion");
    }
    context.logs.WriteErrLogLn(message);
    context.logs.WriteLogLn(message);
    context.view.setProgress(message);
    if (document && !engineGone(e)) {
      // Keep what was done so far: the partly processed document is saved under the output
      // name, as a finished one would be. Its own failure changes nothing.
      try {
        document->saveAs(
            saveRequestFor(settings, context.engine.version(), outputFileName, formats));
      } catch (...) {
      }
    }
    closeQuietly(document);
    context.checkpoint();
    throw;
  }
}

}  // namespace kelvara::word
