// An office that dies, hangs or wears out between and during documents.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "EngineTestSupport.h"
#include "platform/Process.h"

namespace kelvara::word {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;

const char* kRtf = "{\\rtf1\\ansi \\pard One small document.\\par}";

class EngineRecoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    input_ = state_.file("small.rtf");
    testing::writeFile(input_, kRtf);
  }

  std::unique_ptr<DocumentEngine> start(int timeoutSeconds, int recycleAfter) {
    LibreOfficeOptions options = testing::testOptions(state_, "recovery");
    options.docTimeoutSeconds = timeoutSeconds;
    options.recycleAfterDocuments = recycleAfter;
    auto engine = makeLibreOfficeEngine(options);
    engine->connect();
    return engine;
  }

  // One whole conversion, as the pipeline runs it.
  void convert(DocumentEngine& engine, const std::string& name) {
    engine.beginDocument(false);
    auto document = engine.open(OpenRequest{input_, 0, false, false});
    ASSERT_TRUE(document) << engine.lastErrorText();
    EXPECT_EQ(document->computeStatistics().words, 3);
    document->saveAs(SaveRequest{state_.file(name), 16, {}});
    document->close();
    engine.endDocument();
    EXPECT_TRUE(std::filesystem::exists(state_.file(name)));
  }

  TempDir state_{"recovery"};
  std::string input_;
};

TEST_F(EngineRecoveryTest, RelaunchesAnOfficeKilledBetweenDocuments) {
  auto engine = start(60, 0);
  convert(*engine, "a.docx");
  const int first = testing::officePid(state_.str());
  ASSERT_GT(first, 0);

  engine->beginDocument(false);
  auto open = engine->open(OpenRequest{input_, 0, false, false});
  ASSERT_TRUE(open);
  ASSERT_TRUE(platform::killProcessTree(first));
  try {
    open->computeStatistics();
    FAIL() << "a dead office answered";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.kind(), EngineError::Kind::Lost) << e.what();
  }
  open->close();  // nothing left to close, and no error about it
  engine->endDocument();
  EXPECT_FALSE(engine->connected());

  const auto started = std::chrono::steady_clock::now();
  convert(*engine, "b.docx");
  EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
  const int second = testing::officePid(state_.str());
  EXPECT_GT(second, 0);
  EXPECT_NE(second, first);
  // A document of the dead office stays dead.
  EXPECT_THROW(open->computeStatistics(), EngineError);
}

TEST_F(EngineRecoveryTest, EndsAHungOfficeAfterTheTimeLimit) {
  auto engine = start(3, 0);
  convert(*engine, "before.docx");
  const int hung = testing::officePid(state_.str());
  ASSERT_GT(hung, 0);

  engine->beginDocument(false);
  ASSERT_TRUE(platform::sendSignal(hung, platform::Signal::Stop));
  const auto started = std::chrono::steady_clock::now();
  try {
    auto document = engine->open(OpenRequest{input_, 0, false, false});
    FAIL() << "a stopped office opened a document";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.kind(), EngineError::Kind::TimedOut);
    EXPECT_EQ(std::string(e.what()), "Conversion timed out after 3 s");
  }
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_GE(waited, 2500ms);
  EXPECT_LT(waited, 15s);
  engine->endDocument();
  // The watchdog's kill is sent; a large office takes a moment to go, longer on a busy machine.
  for (int i = 0; i < 500 && platform::isProcessAlive(hung); ++i) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_FALSE(platform::isProcessAlive(hung));

  convert(*engine, "after.docx");
  EXPECT_NE(testing::officePid(state_.str()), hung);
}

TEST_F(EngineRecoveryTest, RecyclesAWornOffice) {
  auto engine = start(60, 2);
  convert(*engine, "1.docx");
  const int first = testing::officePid(state_.str());
  convert(*engine, "2.docx");
  EXPECT_EQ(testing::officePid(state_.str()), first);
  convert(*engine, "3.docx");
  const int second = testing::officePid(state_.str());
  EXPECT_NE(second, first);
  EXPECT_FALSE(platform::isProcessAlive(first));
}

TEST_F(EngineRecoveryTest, QuitsWithAnOpenDocument) {
  auto engine = start(60, 0);
  engine->beginDocument(false);
  auto document = engine->open(OpenRequest{input_, 0, false, false});
  ASSERT_TRUE(document);
  const int pid = testing::officePid(state_.str());
  engine->quit();
  for (int i = 0; i < 300 && platform::isProcessAlive(pid); ++i) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_FALSE(platform::isProcessAlive(pid));
  EXPECT_THROW(document->computeStatistics(), EngineError);
}

// Stage times: one line per document, with the office's launch before the first document and
// its relaunch after a crash, and nothing for launching in between.
TEST_F(EngineRecoveryTest, TimesEachDocumentsStagesAndTheRelaunchAfterACrash) {
  const std::string times = state_.file("stages.tsv");
  ::setenv("KELVARA_STAGE_TIMES", times.c_str(), 1);
  auto engine = makeLibreOfficeEngine(testing::testOptions(state_, "timed"));
  ::unsetenv("KELVARA_STAGE_TIMES");
  convert(*engine, "a.pdf");
  convert(*engine, "b.pdf");
  engine->beginDocument(false);
  auto crashed = engine->open(OpenRequest{input_, 0, false, false});
  ASSERT_TRUE(crashed);
  ASSERT_TRUE(platform::killProcessTree(testing::officePid(state_.str())));
  EXPECT_THROW(crashed->computeStatistics(), EngineError);
  crashed->close();
  engine->endDocument();
  convert(*engine, "c.pdf");
  engine->quit();

  std::istringstream text(testing::readFile(times));
  std::vector<std::vector<std::string>> lines;
  for (std::string line; std::getline(text, line);) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
      fields.push_back(field);
    }
    ASSERT_EQ(fields.size(), 9u) << line;
    EXPECT_EQ(fields[0], "kelvara-test-timed");
    EXPECT_EQ(fields[1], input_);
    EXPECT_GT(std::stod(fields[3]), 0.0) << "open: " << line;
    lines.push_back(fields);
  }
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_GT(std::stod(lines[0][2]), 0.0);
  EXPECT_EQ(lines[1][2], "0.0");
  EXPECT_EQ(lines[2][2], "0.0");
  EXPECT_EQ(lines[2][5], "0.0");  // the crashed document was never saved
  EXPECT_GT(std::stod(lines[3][2]), 0.0);
  EXPECT_GT(std::stod(lines[3][5]), 0.0);
}

}  // namespace
}  // namespace kelvara::word
