#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/Settings.h"
#include "word/DocumentEngine.h"
#include "word/FormatTables.h"
#include "word/PendingLog.h"

namespace kelvara::word {

// Counts of the input file from the counting program; -1 when absent.
struct InputCounts {
  int32_t words = -1;
  int32_t lines = -1;
  int32_t characters = -1;
};

// What re-formatting a document reports while it works.
struct FormattingReport {
  // The section being formatted, for a failure's message; 0 outside the section loop.
  int32_t currentSection = 0;
  // Text for the main log, written after "   Conversion "; "\n" ends a line.
  std::string logText;
  // The progress box; empty where nobody watches (a pool's other offices).
  std::function<void(const std::string&)> progress;
};

// Re-formats an open document. Any failure propagates; report says how far it got.
class FormattingStep {
 public:
  virtual ~FormattingStep() = default;
  virtual void ApplyFormatting(const config::Settings& settings, DocumentEngine& engine,
                               Document& document, FormattingReport& report) = 0;
};

struct PipelineContext {
  const config::Settings& settings;
  DocumentEngine& engine;
  // Called between the stages of a conversion: where pending window messages would be
  // processed, and where a paused run waits.
  std::function<void()> checkpoint;
  FormattingStep* formatting = nullptr;
  // The progress box, when the conversion runs where the view can be updated.
  std::function<void(const std::string&)> progress;
};

// The document as saved, measured again for the conversion log.
struct SavedMeasures {
  DocumentStatistics statistics;
  std::optional<int32_t> revisions;  // absent when they could not be read
  std::optional<int32_t> spellingErrors;
  // Languages of the document that no installed dictionary covers.
  std::vector<std::string> languagesWithoutDictionary;
};

// What became of one conversion. The run writes it to its logs, in walk order, so a conversion
// can run anywhere (another thread, another office) without touching the run's state.
struct ConversionOutcome {
  // Taken right after opening, before any formatting.
  DocumentStatistics statistics;
  InputCounts inputCounts;
  // What formatting wrote for the main log (the sections and their orientation), also when it
  // failed half-way.
  std::string formattingLog;
  // What the engine repaired or ignored in the input, one line each.
  std::vector<std::string> loadWarnings;
  // Lines of the steps before the conversion proper (the WordStar check, the words-count
  // program), written after the document's first main-log lines.
  PendingLog preConversionLog;
  // Lines of the external converter and of the file it wrote, written after "   Conversion ".
  PendingLog conversionLog;
  // Problems the WordStar check found; any makes the document one with warnings.
  int32_t wordStarIssues = 0;
  // Absent when the saved document could not be measured (the conversion still counts).
  std::optional<SavedMeasures> saved;

  bool failed = false;
  std::string failure;             // the message to log
  int32_t failedSection = 0;       // 0: the failure was not inside a section's formatting
  bool conversionStarted = false;  // the document reached the engine (open was tried)
  // Never started: the run was stopped while the document waited for an engine. It is then
  // neither logged nor counted, as a file the walk had not reached yet.
  bool cancelled = false;
};

// Turns inpFileName into outputFileName through the engine. Failures are returned, never
// thrown; a failure never leaves a document of this conversion open.
ConversionOutcome ConvertDocument(PipelineContext& context, const std::string& inpFileName,
                                  const std::string& outputFileName,
                                  const FormatSelection& formats);

}  // namespace kelvara::word
