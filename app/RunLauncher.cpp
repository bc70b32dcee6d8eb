#include "app/RunLauncher.h"

#include <vector>

#include "format/ApplyFormatting.h"
#include "platform/MetadataPlatform.h"

namespace kelvara::app {

bool LaunchRun(const RunRequest& request, const std::function<void(const run::BatchRun&)>& report) {
  // The other offices of the pool start with their first document.
  std::vector<std::unique_ptr<word::DocumentEngine>> poolEngines;
  if (request.moreEngines) {
    for (int32_t k = 1; k < request.engineCount; ++k) {
      poolEngines.push_back(request.moreEngines(k));
    }
  }
  // The run formats with its own copy: the parameter dialogs may change the caller's set while
  // the run is paused, and documents in flight on other threads must not see half a change.
  const format::FormatParameterSet formats = *request.formats;
  run::BatchRun batch(*request.settings, formats, *request.engine, *request.view, request.locale,
                      request.selection, *request.control);
  format::DocumentFormatter formatter(formats, word::kRevisionRulesVersion);
  batch.setFormattingStep(&formatter);
  batch.setMetadataPlatform(&platform::systemMetadata());
  if (request.shard) {
    batch.setShard(*request.shard);
  }
  for (const auto& more : poolEngines) {
    batch.addEngine(*more);
  }
  const bool started = batch.Run();
  for (const auto& more : poolEngines) {
    more->quit();
  }
  if (started && report) {
    report(batch);
  }
  return started;
}

}  // namespace kelvara::app
