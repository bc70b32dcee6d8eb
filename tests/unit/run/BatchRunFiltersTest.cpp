#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "BatchRunFixture.h"
#include "run/BatchRun.h"
#include "support/FakeDocumentEngine.h"
#include "support/RecordingView.h"
#include "support/ScratchDir.h"
#include "support/TextSearch.h"

namespace kelvara::run {
namespace {

using testing::contains;
using testing::FakeDocumentEngine;
using testing::readFile;
using testing::RecordingView;
using testing::ScratchDir;

class BatchRunFiltersTest : public BatchRunFixture {
 protected:
  void run() { ASSERT_TRUE(BatchRunFixture::run()); }

  bool opened(const std::string& name) const {
    return std::find(engine.calls.begin(), engine.calls.end(), "open " + name + " format 0") !=
           engine.calls.end();
  }
};

TEST_F(BatchRunFiltersTest, AFilteredFileIsLoggedCountedAndNeverOpened) {
  tmp.file("in/small.doc", "x");
  tmp.file("in/large.doc", "large enough");
  tmp.file("in/sub/tiny.doc", "");
  settings.IncludeFilesAtLeastesAttr = true;
  settings.FileMinSize = 5;
  run();

  EXPECT_EQ(counters.FilesAnalyzed, 3);
  EXPECT_EQ(counters.FilesSkipped, 2);
  EXPECT_EQ(counters.FilesConverted, 1);
  EXPECT_FALSE(opened("small.doc"));
  EXPECT_TRUE(opened("large.doc"));
  const std::string skips = readFile(out + "Log/SkipsLog.txt");
  const std::string small = "File " + in +
                            "small.doc Skipped due filter settings. Size - Found: 1, required no "
                            "smaller then: 5\r\n";
  const std::string tiny = "File " + in +
                           "sub/tiny.doc Skipped due filter settings. Size - Found: 0, required no "
                           "smaller then: 5\r\n";
  ASSERT_TRUE(contains(skips, small + tiny));
  EXPECT_TRUE(contains(skips, "Total number of skipped files: 2"));
  EXPECT_TRUE(contains(readFile(out + "Log/ConvLog.txt"), " Files skipped: 2 "));
  EXPECT_NE(std::find(view.states.begin(), view.states.end(), "Skipped small.doc"),
            view.states.end());
  EXPECT_FALSE(contains(readFile(out + "Log/ConvLog.txt"), "small.doc ->"));
}

TEST_F(BatchRunFiltersTest, ASingleFileIsFilteredToo) {
  const std::string file = tmp.file("in/locked.doc");
  ::chmod(file.c_str(), 0444);
  settings.SingleFile = true;
  settings.InpFileName = file;
  settings.IncludeReadOnly = 1;
  run();
  EXPECT_EQ(counters.FilesAnalyzed, 1);
  EXPECT_EQ(counters.FilesSkipped, 1);
  EXPECT_FALSE(opened("locked.doc"));
  EXPECT_TRUE(contains(readFile(out + "Log/SkipsLog.txt"),
                       "File " + file +
                           " Skipped due filter settings. Attributes - Found: -R-A--, required: "
                           "on ------ off-R----\r\n"));
}

TEST_F(BatchRunFiltersTest, TheDateRangeSkipsOnlyWhenItIsSwitchedOn) {
  tmp.file("in/today.doc");
  settings.FromDate = settings.ToDate = platform::DateTime{2000, 1, 3};
  run();
  EXPECT_EQ(counters.FilesConverted, 1);

  settings.IncludeFileDate = true;
  run();
  EXPECT_EQ(counters.FilesSkipped, 1);
  EXPECT_TRUE(contains(readFile(out + "Log/SkipsLog.txt"), ", required to: 2000-01-03\r\n"));
}

}  // namespace
}  // namespace kelvara::run
