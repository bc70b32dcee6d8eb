#include "app/console/ConsoleView.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace kelvara::app {
namespace {

// What a redirected console shows: one plain line per result, problems in words.
class ConsoleViewTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (file_) {
      std::fclose(file_);
    }
  }
  std::string shown() {
    std::fflush(file_);
    std::rewind(file_);
    std::string text;
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, file_)) > 0) {
      text.append(buf, n);
    }
    return text;
  }
  std::FILE* file_ = std::tmpfile();
};

TEST_F(ConsoleViewTest, RedirectedOutputHasOneLinePerResult) {
  ConsoleView view(file_, false, false);
  view.setConversionState("Conversion a.doc -> a.pdf...         ");
  view.setConversionState("Converted a.doc -> a.pdf: OK      ");
  view.setConversionState("Conversion b.doc -> b.pdf...         ");
  view.setConversionStateHint("Can't open file /in/b.doc. Error: [Error:3878] File is corrupt");
  view.setConversionState("Conversion b.doc -> b.pdf: Error ");
  view.setConversionState("Skipped c.doc");
  view.setProgress("Folder /out/X/ created");
  view.setProgress("\r\n");
  view.setProgress(std::string(68, '_'));
  EXPECT_EQ(shown(),
            "Converted a.doc -> a.pdf: OK\n"
            "Conversion b.doc -> b.pdf: Error - Can't open file /in/b.doc. Error: [Error:3878] "
            "File is corrupt\n"
            "Skipped c.doc\n"
            "Folder /out/X/ created\n");
}

TEST_F(ConsoleViewTest, QuestionsGetTheCautiousAnswerUnlessTold) {
  ConsoleView cautious(file_, false, false);
  EXPECT_FALSE(
      cautious.askYesNo("Warning! Input and Output directory are the same.\r\n\r\n"
                        "Do you want to continue?",
                        "Warning"));
  const std::string text = shown();
  EXPECT_NE(text.find("Warning! Input and Output directory are the same.\n\nDo you want"),
            std::string::npos);
  EXPECT_NE(text.find("Answered No (give --yes to answer Yes)."), std::string::npos);

  ConsoleView willing(file_, false, true);
  EXPECT_TRUE(willing.askYesNo("Do you want to continue without log?", "Confirm"));
}

TEST_F(ConsoleViewTest, TerminalRedrawsOneProgressLine) {
  ConsoleView view(file_, true, false);
  view.clock = [] { return std::chrono::steady_clock::time_point{}; };
  run::RunCounters counters;
  counters.FilesAnalyzed = 3;
  counters.FilesConverted = 2;
  counters.FilesInError = 1;
  view.setCounters(counters);
  view.setConversionState("Conversion d.doc -> d.pdf...         ");
  view.finish();
  const std::string text = shown();
  EXPECT_NE(text.find("\r\033[K[3 docs: 2 ok, 1 err, 0 skip] Conversion d.doc -> d.pdf"),
            std::string::npos);
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST(ConsoleText, LineBreakPairsBecomeNewlines) {
  EXPECT_EQ(ConsoleText("\r\na\r\nb\r\n"), "a\nb");
  EXPECT_EQ(ConsoleText("\r\n"), "");
}

TEST_F(ConsoleViewTest, ProgressShowsTheRateAndOnceTheTotalIsKnownTheTimeLeft) {
  ConsoleView view(file_, false, false);
  auto now = std::chrono::steady_clock::time_point{};
  view.clock = [&now] { return now; };
  view.setCounters(run::RunCounters{});
  EXPECT_EQ(view.progressSummary(), "0 docs");

  run::RunCounters c;
  c.FilesAnalyzed = 20;
  now += std::chrono::seconds(8);
  view.setCounters(c);
  EXPECT_EQ(view.progressSummary(), "20 docs, 2.5/s");

  view.setTotalEstimate(170);
  EXPECT_EQ(view.progressSummary(), "20/170 docs, 2.5/s, 1:00 left");

  // A tree that grew while it was walked: never more done than the total says.
  c.FilesAnalyzed = 180;
  now += std::chrono::seconds(64);
  view.setCounters(c);
  EXPECT_EQ(view.progressSummary(), "180/180 docs, 2.5/s");
}

}  // namespace
}  // namespace kelvara::app
