// Two runs of one BatchRun, as the window performs them one after another: nothing of the first
// run may be counted, logged or indexed again by the second, and what the runs keep on purpose
// (the index nesting, the appended logs, earlier outputs) must carry over.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "run/BatchRun.h"
#include "support/FakeDocumentEngine.h"
#include "support/RecordingView.h"
#include "support/ScratchDir.h"
#include "support/TextSearch.h"

namespace kelvara::run {
namespace {

using testing::count;

using testing::readFile;

class BatchRunAgainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.InpPath = in;
    settings.OutPath = out;
    settings.InpMask = "*.*";
    selection.saveFormat = 17;
    selection.OutExt = "pdf";
    batch = std::make_unique<BatchRun>(settings, formats, engine, view, platform::Locale{},
                                       selection, control);
    batch->setClock([] { return platform::DateTime{2026, 12, 8, 10, 11, 12}; });
  }

  std::string log(const std::string& name) { return readFile(out + "Log/" + name); }

  testing::ScratchDir tmp;
  std::string in = tmp.dir("in");
  std::string out = tmp.path() + "out/";
  config::Settings settings;
  format::FormatParameterSet formats;
  testing::FakeDocumentEngine engine;
  testing::RecordingView view;
  word::FormatSelection selection;
  RunControl control;
  std::unique_ptr<BatchRun> batch;
};

TEST_F(BatchRunAgainTest, TheSecondRunCountsOnlyItsOwnDocuments) {
  tmp.file("in/a.doc");
  tmp.file("in/b.rtf");
  tmp.file("in/S/c.doc");
  engine.scripts["b.rtf"].refuseOpen = true;
  ASSERT_TRUE(batch->Run());
  EXPECT_EQ(batch->counters().FilesAnalyzed, 3);
  EXPECT_EQ(batch->counters().FilesInError, 1);
  EXPECT_EQ(batch->counters().DirCount, 2);

  engine.scripts["b.rtf"].refuseOpen = false;
  ASSERT_TRUE(batch->Run());
  const RunCounters& c = batch->counters();
  EXPECT_EQ(c.FilesAnalyzed, 3);
  EXPECT_EQ(c.FilesConverted, 3);
  EXPECT_EQ(c.FilesInError, 0);
  EXPECT_EQ(c.DirCount, 2);

  // The main log holds both runs, each with its own summary; the second appended after the
  // separator.
  const std::string main = log("ConvLog.txt");
  EXPECT_EQ(count(main, "Conversion Log started on day: "), 2u);
  std::string separator;
  for (int i = 0; i < 34; ++i) {
    separator += ":..";
  }
  EXPECT_EQ(count(main, separator), 1u);
  EXPECT_EQ(count(main,
                  " Files analized: 3 Files converted: 2 Files skipped: 0 Files in "
                  "error: 1\r\n"),
            1u);
  EXPECT_EQ(count(main,
                  " Files analized: 3 Files converted: 3 Files skipped: 0 Files in "
                  "error: 0\r\n"),
            1u);
  // The folder created by the first run is not created again.
  EXPECT_EQ(count(main, "Folder " + out + "S/ created"), 1u);
  EXPECT_EQ(count(log("ErrorLog.txt"), "Total number of files in error: 0"), 1u);

  // The index lists the second run only.
  const std::string index = log("Index.html");
  EXPECT_EQ(count(index, "<!DOCTYPE"), 1u);
  EXPECT_EQ(count(index, "b.rtf\">b.rtf</a> -> <a href="), 1u);
  EXPECT_EQ(count(index, "</body></html>"), 1u);
}

TEST_F(BatchRunAgainTest, OutputsOfTheFirstRunAreOlderOutputsForTheSecond) {
  tmp.file("in/letter.doc");
  tmp.file("in/letter.rtf");
  settings.AddVersNum = true;
  ASSERT_TRUE(batch->Run());
  ASSERT_TRUE(batch->Run());
  for (const char* name : {"letter.pdf", "letter(1).pdf", "letter(2).pdf", "letter(3).pdf"}) {
    EXPECT_TRUE(std::filesystem::exists(out + name)) << name;
  }
  const std::string main = log("ConvLog.txt");
  EXPECT_EQ(count(main, "Output file renamed. New name: letter(1).pdf"), 1u);
  EXPECT_EQ(count(main, " Conversion letter.rtf -> letter(3).pdf\r\n"), 1u);
  EXPECT_EQ(batch->OutputFileName(), out + "letter(3).pdf");
}

// The index nesting is the one state the runs share on purpose: a single-file run after a
// folder run opens no list of its own.
TEST_F(BatchRunAgainTest, ASingleFileRunAfterAFolderRunContinuesTheIndexNesting) {
  tmp.file("in/a.doc");
  const std::string only = tmp.file("in/only.doc");
  ASSERT_TRUE(batch->Run());
  EXPECT_EQ(batch->index().level(), 1);

  settings.SingleFile = true;
  settings.InpFileName = only;
  ASSERT_TRUE(batch->Run());
  EXPECT_EQ(batch->counters().FilesAnalyzed, 1);
  const std::string index = log("Index.html");
  EXPECT_EQ(count(index, "<ul>"), 0u);
  EXPECT_EQ(count(index, "only.doc\">only.doc</a> -> <a href=\"" + out + "only.pdf\">"), 1u);
  EXPECT_EQ(count(log("ConvLog.txt"), "End of conversion"), 2u);
}

TEST_F(BatchRunAgainTest, AStopEndsOnlyTheRunItWasGivenTo) {
  tmp.file("in/a.doc");
  tmp.file("in/b.doc");
  engine.onOpen = [this](const std::string&) { control.stopRequested = true; };
  ASSERT_TRUE(batch->Run());
  EXPECT_EQ(batch->counters().FilesAnalyzed, 1);
  engine.onOpen = nullptr;
  ASSERT_TRUE(batch->Run());
  EXPECT_EQ(batch->counters().FilesAnalyzed, 2);
}

}  // namespace
}  // namespace kelvara::run
