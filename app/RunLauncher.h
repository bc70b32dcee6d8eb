#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "config/Settings.h"
#include "format/FormatParameterSet.h"
#include "platform/Locale.h"
#include "run/BatchRun.h"
#include "run/RunView.h"
#include "run/ShardPartition.h"
#include "word/DocumentEngine.h"
#include "word/FormatTables.h"

namespace kelvara::app {

// Makes the office for the k-th place of the pool (k from 1; the first office is the caller's).
using EngineFactory = std::function<std::unique_ptr<word::DocumentEngine>(int32_t k)>;

// Everything one execution of the Run command needs; the window and the console fill it alike.
struct RunRequest {
  config::Settings* settings = nullptr;
  const format::FormatParameterSet* formats = nullptr;
  word::DocumentEngine* engine = nullptr;  // connected, kept after the run
  EngineFactory moreEngines;               // may be empty: one office
  int32_t engineCount = 1;
  run::RunView* view = nullptr;
  platform::Locale locale;
  word::FormatSelection selection;
  run::RunControl* control = nullptr;
  std::optional<run::ShardSpec> shard;
};

// Runs once with formatting and the outputs' metadata, on a pool of engineCount offices; the
// extra offices are ended afterwards. report sees the finished run (counters, logs, index).
// False when the run did not start.
bool LaunchRun(const RunRequest& request, const std::function<void(const run::BatchRun&)>& report);

}  // namespace kelvara::app
