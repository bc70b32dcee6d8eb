// What each office spends its time on: the line per document and the stages it adds up.
#include "word/lo/StageTimer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "support/FakeDocumentEngine.h"
#include "support/ScratchDir.h"

namespace kelvara::word::lo {
namespace {

using kelvara::testing::FakeDocumentEngine;
using kelvara::testing::ScratchDir;

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) {
    out.push_back(field);
  }
  return out;
}

std::vector<std::string> lines(const std::string& path) {
  std::vector<std::string> out;
  std::istringstream in(testing::readFile(path));
  std::string line;
  while (std::getline(in, line)) {
    out.push_back(line);
  }
  return out;
}

// One conversion as the pipeline runs it: open, count, save, count again, close.
void convert(StageTimer& timer, FakeDocumentEngine& engine, const std::string& input,
             const std::string& output, double launchMs) {
  timer.beginDocument(launchMs);
  std::unique_ptr<Document> document;
  {
    const StageClock clock = timer.openClock(input);
    document = engine.open(OpenRequest{input, 0, false, false});
  }
  document = timer.timed(std::move(document));
  ASSERT_TRUE(document);
  document->computeStatistics();
  document->saveAs(SaveRequest{output, 0, std::nullopt});
  document->computeStatistics();
  document->close();
  timer.endDocument();
}

TEST(StageTimerTest, WritesOneLinePerDocumentWithEveryStage) {
  EXPECT_EQ(stageTimesLine("kelvara-9-1", {"/in/a b.doc", 312.25, 20, 3.04, 41.96, 0.5, 7.25, 1.5}),
            "kelvara-9-1\t/in/a b.doc\t312.2\t20.0\t3.0\t42.0\t0.5\t7.2\t1.5\n");

  ScratchDir dir;
  const std::string file = dir / "stages.tsv";
  FakeDocumentEngine engine;
  StageTimer timer("kelvara-9", file);
  convert(timer, engine, dir.file("in/a.doc"), dir / "a.pdf", 250);
  convert(timer, engine, dir.file("in/b.doc"), dir / "b.pdf", 0);

  // The timed document passed every call on, each once.
  EXPECT_EQ(engine.calls,
            (std::vector<std::string>{
                "open a.doc format 0", "statistics a.doc", "save a.doc -> " + (dir / "a.pdf"),
                "statistics a.doc", "close a.doc", "open b.doc format 0", "statistics b.doc",
                "save b.doc -> " + (dir / "b.pdf"), "statistics b.doc", "close b.doc"}));
  const auto written = lines(file);
  ASSERT_EQ(written.size(), 2u);
  const auto first = fields(written[0]);
  ASSERT_EQ(first.size(), 9u);
  EXPECT_EQ(first[0], "kelvara-9");
  EXPECT_EQ(first[1], dir / "in/a.doc");
  EXPECT_EQ(first[2], "250.0");
  for (size_t i = 3; i < first.size(); ++i) {
    EXPECT_GE(std::stod(first[i]), 0.0) << i;
  }
  EXPECT_EQ(fields(written[1])[1], dir / "in/b.doc");
  EXPECT_EQ(fields(written[1])[2], "0.0");
}

TEST(StageTimerTest, TimesRefusedAndFailedDocumentsAndPassesTheirFailureOn) {
  ScratchDir dir;
  FakeDocumentEngine engine;
  FakeDocumentEngine::Script slowRefusal;
  slowRefusal.openMilliseconds = 30;
  slowRefusal.refuseOpen = true;
  engine.scripts["refused.doc"] = slowRefusal;
  FakeDocumentEngine::Script lostOnSave;
  lostOnSave.loseEngineOnSave = true;
  engine.scripts["lost.doc"] = lostOnSave;
  StageTimer timer("kelvara-9", dir / "stages.tsv");

  timer.beginDocument(0);
  std::unique_ptr<Document> refused;
  {
    const StageClock clock = timer.openClock(dir / "refused.doc");
    refused = engine.open(OpenRequest{dir / "refused.doc", 0, false, false});
  }
  EXPECT_EQ(timer.timed(std::move(refused)), nullptr);
  timer.endDocument();

  timer.beginDocument(0);
  std::unique_ptr<Document> lost;
  {
    const StageClock clock = timer.openClock(dir.file("lost.doc"));
    lost = engine.open(OpenRequest{dir / "lost.doc", 0, false, false});
  }
  lost = timer.timed(std::move(lost));
  try {
    lost->saveAs(SaveRequest{dir / "lost.pdf", 0, std::nullopt});
    FAIL() << "the save should have failed";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.kind(), EngineError::Kind::Lost);
    EXPECT_STREQ(e.what(), "Binary URP bridge disposed");
  }
  timer.endDocument();
  // A document closed after its line was written adds no line.
  lost->close();
  timer.endDocument();

  const auto written = lines(dir / "stages.tsv");
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(fields(written[0])[1], dir / "refused.doc");
  EXPECT_GE(std::stod(fields(written[0])[3]), 30.0);
  EXPECT_EQ(fields(written[1])[1], dir / "lost.doc");
}

TEST(StageTimerTest, MeasuresOnlyWhenTheVariableNamesAFile) {
  ScratchDir dir;
  ::unsetenv(StageTimer::kVariable);
  EXPECT_EQ(StageTimer::fromEnvironment("kelvara-9"), nullptr);
  ::setenv(StageTimer::kVariable, "", 1);
  EXPECT_EQ(StageTimer::fromEnvironment("kelvara-9"), nullptr);
  ::setenv(StageTimer::kVariable, (dir / "stages.tsv").c_str(), 1);
  EXPECT_NE(StageTimer::fromEnvironment("kelvara-9"), nullptr);
  ::unsetenv(StageTimer::kVariable);
}

}  // namespace
}  // namespace kelvara::word::lo
