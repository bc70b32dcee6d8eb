#pragma once

#include <gtest/gtest.h>

#include <string>

#include "format/FormatParameterSet.h"
#include "run/BatchRun.h"
#include "support/FakeDocumentEngine.h"
#include "support/RecordingView.h"
#include "support/ScratchDir.h"
#include "support/TextSearch.h"

namespace kelvara::run {

// A run over a scratch tree ("in/" to "out/", RTF output) with the fake engine, a recording view
// and a fixed clock, so that logs can be compared line for line.
class BatchRunFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    in = tmp.dir("in");
    out = tmp.path() + "out/";
    settings.InpPath = in;
    settings.OutPath = out;
    settings.InpMask = "*.*";
    selection.openFormat = 0;
    selection.saveFormat = 6;
    selection.OutExt = "rtf";
  }

  // Runs once; false when the run did not start.
  bool run(word::FormattingStep* formatting = nullptr) {
    BatchRun batch(settings, formats, engine, view, locale, selection, control);
    batch.setFormattingStep(formatting);
    batch.setMetadataPlatform(metadataPlatform);
    batch.setClock([] { return platform::DateTime{2026, 12, 8, 10, 11, 12}; });
    const bool started = batch.Run();
    counters = batch.counters();
    return started;
  }

  std::string log(const std::string& name) {
    return kelvara::testing::readFile(out + "Log/" + name);
  }

  kelvara::testing::ScratchDir tmp;
  std::string in, out;
  config::Settings settings;
  format::FormatParameterSet formats;
  kelvara::testing::FakeDocumentEngine engine;
  kelvara::testing::RecordingView view;
  platform::Locale locale;
  word::FormatSelection selection;
  RunControl control;
  RunCounters counters;
  platform::MetadataPlatform* metadataPlatform = nullptr;
};

}  // namespace kelvara::run
