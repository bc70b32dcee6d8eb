#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/Settings.h"
#include "word/DocumentEngine.h"
#include "word/FormatTables.h"

namespace kelvara::run {
class RunLogs;
class RunView;
}  // namespace kelvara::run

namespace kelvara::word {

// Counts of the input file from the counting program; -1 when absent.
struct InputCounts {
  int32_t words = -1;
  int32_t lines = -1;
  int32_t characters = -1;
};

// Re-formats an open document; currentSection tells a failure handler where it stopped.
class FormattingStep {
 public:
  virtual ~FormattingStep() = default;
  virtual void ApplyFormatting(Document& document, int32_t& currentSection) = 0;
};

struct PipelineContext {
  const config::Settings& settings;
  DocumentEngine& engine;
  run::RunLogs& logs;
  run::RunView& view;
  // Where pending window messages would be processed; also waits while the run is paused.
  std::function<void()> checkpoint;
  FormattingStep* formatting = nullptr;
};

struct ConversionResult {
  // Taken right after opening, before any formatting.
  DocumentStatistics statistics;
  InputCounts inputCounts;
  // What the engine repaired or ignored in the input, one line each.
  std::vector<std::string> loadWarnings;
};

// Turns inpFileName into outputFileName through the engine. Throws EConvError or EngineError
// with the message to log; a failure never leaves a document of this conversion open.
ConversionResult ConvertDocument(PipelineContext& context, const std::string& inpFileName,
                                 const std::string& outputFileName, const FormatSelection& formats);

}  // namespace kelvara::word
