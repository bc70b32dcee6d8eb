// The walks over a document through the real office: the line count from here, watched or not,
// and the one the office does by its own script count alike, and a cursor that stops moving
// does not inflate the count; the sections read by the office's script are those read from here.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "EngineTestSupport.h"
#include "TestOffice.h"

namespace kelvara::word {
namespace {

using testing::TempDir;

constexpr int32_t kMost = 1000000;

class EngineLineCountTest : public testing::OfficeSuite<EngineLineCountTest> {
 protected:
  static void SetUpTestSuite() { startOffice("line-count"); }
};

TEST_F(EngineLineCountTest, EveryWalkCountsAlike) {
  TempDir dir("line-count-made");
  testing::MadeDocument made;
  std::string longParagraph;
  for (int i = 0; i < 120; ++i) {
    longParagraph += "word" + std::to_string(i) + " and some more text ";
  }
  for (int i = 0; i < 40; ++i) {
    made.paragraphs.push_back(i % 5 == 0 ? longParagraph : "Line " + std::to_string(i));
  }
  made.paragraphs.push_back("");
  made.paragraphs.push_back("The end.");
  const std::string path = dir.file("made.odt");
  testing::TestOffice office(dir.file("office"));
  office.write(path, "writer8", made);

  const int32_t cheap = office.countLinesStepByStep(path, {kMost, kMost});
  EXPECT_GT(cheap, 42);  // the long paragraphs wrap
  // Watched from the first step, and watched only past a few steps.
  EXPECT_EQ(office.countLinesStepByStep(path, {0, kMost}), cheap);
  EXPECT_EQ(office.countLinesStepByStep(path, {7, kMost}), cheap);
  // The bound is a bound, watched or not.
  EXPECT_LE(office.countLinesStepByStep(path, {0, 10}), 11);

  // The office's own walk, installed with its profile.
  EXPECT_EQ(office.countLinesInOffice(path, {kMost, kMost}), cheap);
  EXPECT_EQ(office.countLinesInOffice(path, {7, kMost}), cheap);
  EXPECT_EQ(office.countLinesInOffice(path, {0, 10}), office.countLinesStepByStep(path, {0, 10}));
}

TEST_F(EngineLineCountTest, ACursorThatStopsMovingEndsTheCount) {
  // The office's cursor stands still near the end of this document while still reporting
  // steps; walked to the bound, its five pages would show thousands of lines.
  CORPUS_OR_SKIP("wv/feature-examples");
  const std::string path = testing::corpus("wv/feature-examples/supported-paragraph-features.doc");
  engine_->beginDocument(false);
  auto document = engine_->open(OpenRequest{path, 0, false, false});
  ASSERT_TRUE(document) << engine_->lastErrorText();
  const DocumentStatistics stats = document->computeStatistics();
  document->close();
  engine_->endDocument();
  EXPECT_GT(stats.lines, stats.paragraphs);
  EXPECT_LE(stats.lines, 100 * stats.pages);

  TempDir dir("line-count-corpus");
  testing::TestOffice office(dir.file("office"));
  const lo::LineWalkBounds bounds{600, 20000};
  EXPECT_EQ(office.countLinesInOffice(path, bounds), office.countLinesStepByStep(path, bounds));
}

TEST_F(EngineLineCountTest, TheOfficesScriptReadsTheSectionsAsTheStepByStepWalkDoes) {
  TempDir dir("sections-made");
  // Portrait, landscape with a table, portrait again.
  const std::string path = dir.file("sections.rtf");
  testing::writeFile(path,
                     "{\\rtf1\\ansi\\sectd\\pgwsxn12240\\pghsxn15840\\pard One.\\par Two.\\par"
                     "\\sect\\sectd\\lndscpsxn\\pgwsxn15840\\pghsxn12240\\pard Wide.\\par"
                     "\\trowd\\cellx2000\\cellx4000\\intbl A\\cell B\\cell\\row\\pard After.\\par"
                     "\\sect\\sectd\\pgwsxn12240\\pghsxn15840\\pard Three.\\par}");
  testing::TestOffice office(dir.file("office"));
  const std::vector<std::string> stepByStep = office.sectionsStepByStep(path);
  ASSERT_EQ(stepByStep.size(), 3u);
  EXPECT_EQ(office.sectionsInOffice(path), stepByStep);

  // Documents from Word with sections of their own page styles, where the corpus is here.
  if (testing::missingCorpus("wv").empty()) {
    for (const char* name :
         {"wv/examples/section3.doc", "wv/feature-examples/supported-headers-features.doc"}) {
      const std::string file = testing::corpus(name);
      EXPECT_EQ(office.sectionsInOffice(file), office.sectionsStepByStep(file)) << name;
    }
  }
}

}  // namespace
}  // namespace kelvara::word
