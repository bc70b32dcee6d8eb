// A conversion through the real office with a converter and a words-count program of the test's
// own: the office opens what the converter wrote (under the prefixed name, with a "%" in it) by
// its content, and its counts agree with the counting program's.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "EngineTestSupport.h"
#include "support/ProgramScript.h"
#include "support/ScratchDir.h"
#include "support/TextSearch.h"
#include "word/ConversionPipeline.h"

namespace kelvara::word {
namespace {

namespace fs = std::filesystem;
using ::kelvara::testing::contains;
using ::kelvara::testing::programScript;
using ::kelvara::testing::ScratchDir;

constexpr int32_t kText = 2;

// Turns plain text into RTF under the name a DOS converter gives its output.
constexpr const char* kConverter =
    "for a in \"$@\"; do case \"$a\" in in=*) in=\"${a#in=}\";; out=*) out=\"${a#out=}\";; "
    "esac; done\n"
    "base=$(basename \"$out\" | cut -c1-8)\n"
    "printf '{\\\\rtf1\\\\ansi \\\\pard %s\\\\par}' \"$(cat \"$in\")\" > "
    "\"$(dirname \"$out\")/$base.DOC\"";

// Counts as the count step reads them: the fourth line, a six-character field after each label.
constexpr const char* kCounter =
    "set -- $(wc -w -l -m < \"$1\")\n"
    "printf 'counter\\n\\n\\nWords: %6d Lines: %6d Chars: %6d\\n' \"$2\" \"$1\" \"$3\"";

TEST(ExternalProgramsTest, TheOfficeConvertsWhatTheConverterWroteAndCountsAgree) {
  testing::TempDir state("programs-state");
  const std::unique_ptr<DocumentEngine> engine =
      makeLibreOfficeEngine(testing::testOptions(state, "programs"));
  engine->connect();

  ScratchDir tmp;
  const std::string input = tmp.file("in ä/brief eins.ws", "Dear Sir, thank you for the letter.\n");
  const std::string out = tmp.dir("out dir");
  config::Settings settings;
  settings.ExtConv = true;
  settings.ExternalConverterProgram = programScript(tmp, "bin dir/conv", kConverter);
  settings.WordsCountProgram = programScript(tmp, "bin dir/count", kCounter);
  PipelineContext context{settings, *engine, [] {}, nullptr, nullptr};
  FormatSelection selection;
  selection.saveFormat = kText;
  selection.OutExt = "txt";

  const ConversionOutcome outcome =
      ConvertDocument(context, input, out + "brief eins.txt", selection);
  ASSERT_FALSE(outcome.failed) << outcome.failure;
  EXPECT_TRUE(
      contains(testing::readFile(out + "brief eins.txt"), "Dear Sir, thank you for the letter."));
  std::vector<std::string> outputs;
  for (const auto& entry : fs::directory_iterator(out)) {
    outputs.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(outputs, (std::vector<std::string>{"brief eins.txt"}));
  EXPECT_EQ(outcome.inputCounts.words, 7);
  EXPECT_EQ(outcome.statistics.words, 7);
  EXPECT_EQ(outcome.inputCounts.lines, 1);
}

}  // namespace
}  // namespace kelvara::word
