#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "BatchRunFixture.h"
#include "run/BatchRun.h"
#include "support/FakeDocumentEngine.h"
#include "support/ProgramScript.h"
#include "support/RecordingView.h"
#include "support/ScratchDir.h"
#include "support/TextSearch.h"
#include "word/RunProgram.h"

namespace kelvara::run {
namespace {

using testing::contains;
using testing::FakeDocumentEngine;
using testing::programScript;
using testing::readFile;
using testing::RecordingView;
using testing::ScratchDir;

// Copies in= to the folder of out= as TEMPWPXX.DOC, the way a DOS converter shortens the name;
// an input whose name starts with "bad" makes it fail.
constexpr const char* kConverter =
    "for a in \"$@\"; do case \"$a\" in in=*) in=\"${a#in=}\";; out=*) out=\"${a#out=}\";; "
    "esac; done\n"
    "case \"$(basename \"$in\")\" in bad*) echo 'unknown WordStar version' >&2; exit 1;; esac\n"
    "cp \"$in\" \"$(dirname \"$out\")/TEMPWPXX.DOC\"";

class BatchRunProgramsTest : public BatchRunFixture {
 protected:
  void SetUp() override {
    BatchRunFixture::SetUp();
    // No count program unless a test gives one.
    settings.WordsCountCheck = settings.LinesCountCheck = settings.CharsCountCheck = false;
  }

  void run() { ASSERT_TRUE(BatchRunFixture::run()); }

  std::vector<std::string> outputs() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
      if (entry.is_regular_file()) {
        names.push_back(entry.path().filename().string());
      }
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(BatchRunProgramsTest, TheExternalConvertersFileIsOpenedAsideAndTheOutputSavedInItsPlace) {
  tmp.file("in/a.ws", "text");
  settings.ExtConv = true;
  settings.ExternalConverterProgram = programScript(tmp, "bin/conv", kConverter);
  run();

  EXPECT_EQ(counters.FilesConverted, 1);
  EXPECT_NE(std::find(engine.calls.begin(), engine.calls.end(), "open _%a.rtf format 0"),
            engine.calls.end());
  EXPECT_EQ(engine.saves.at(0).fileName, out + "a.rtf");
  EXPECT_EQ(outputs(), (std::vector<std::string>{"a.rtf"}));
  EXPECT_TRUE(contains(log("ConvLog.txt"), "   Conversion File " + out + "TEMPWPXX.DOC renamed " +
                                               out + "a.rtf\r\nFile " + out + "a.rtf renamed " +
                                               out + "_%a.rtf\r\n"));
  EXPECT_TRUE(contains(log("WarnsLog.txt"),
                       "File " + out + "a.rtf deleted\r\nFile " + out + "_%a.rtf deleted\r\n"));

  settings.KeepExtProgOut = true;
  run();
  EXPECT_EQ(outputs(), (std::vector<std::string>{"_%a.rtf", "a.rtf"}));
}

TEST_F(BatchRunProgramsTest, AFailingConverterFailsItsDocumentOnly) {
  tmp.file("in/bad.ws");
  tmp.file("in/good.ws");
  tmp.file("in/later.ws");
  engine.scripts["_%later.rtf"].failStatistics = true;
  settings.ExtConv = true;
  settings.ExternalConverterProgram = programScript(tmp, "bin/conv", kConverter);
  run();

  EXPECT_EQ(counters.FilesInError, 2);
  EXPECT_EQ(counters.FilesConverted, 1);
  const std::string errors = log("ErrorLog.txt");
  EXPECT_TRUE(contains(errors, "Program " + settings.ExternalConverterProgram +
                                   " ended with exit code 1: unknown WordStar version\r\n"
                                   "Error on conversion\r\nExternal conversion error\r\n"));
  EXPECT_TRUE(contains(log("ConvLog.txt"), "   Conversion External conversion error\r\n"));
  // A document that fails in the engine is kept beside the output name; the converter's file
  // does not stay.
  EXPECT_EQ(outputs(), (std::vector<std::string>{"good.rtf", "later.rtf_"}));
}

TEST_F(BatchRunProgramsTest, InputCountsFromTheCountProgramAreComparedWithTheEngines) {
  tmp.file("in/a.ws");
  settings.WordsCountCheck = settings.LinesCountCheck = settings.CharsCountCheck = true;
  settings.WordsCountProgram = programScript(
      tmp, "bin/count", "printf '\\n\\n\\nWords:   9999 Lines:     10 Chars:    250\\n'");
  run();

  EXPECT_EQ(counters.FilesWithWarnings, 1);
  const std::string warnings = log("WarnsLog.txt");
  EXPECT_TRUE(contains(warnings, "File " + word::ProgramsTemporaryFolder() + "a.txt deleted\r\n"));
  EXPECT_TRUE(contains(warnings,
                       " Warning - Input file words, lines, characters count:   9999    10   250 "
                       "/ Ouput file:     50    10   250\r\n"));
}

TEST_F(BatchRunProgramsTest, WordStarWarningsComeBeforeTheConversionAndCountEvenOnFailure) {
  tmp.file("in/a.ws", std::string("\x1D\x03\x00\x41\x1D\x42", 6));
  tmp.file("in/b.ws", std::string("\x1D\x03\x00\x41\x1D\x42", 6));
  engine.scripts["b.ws"].refuseOpen = true;
  settings.Preprocess = true;
  selection.inputFormatName = "WordStar ";
  run();

  EXPECT_EQ(counters.FilesWithWarnings, 2);
  EXPECT_EQ(counters.FilesInError, 1);
  const std::string warnings = log("WarnsLog.txt");
  EXPECT_TRUE(contains(warnings, std::string(68, '_') + "\r\nInput Path: " + in +
                                     " - Output Path: " + out +
                                     "\r\nConversion a.ws -> a.rtf\r\nWarning input file with "
                                     "error at position: 0000 - 0006 dec 0 - 6\r\n" +
                                     in + "a.ws 0006: 1D0300411D42\r\n\r\n"));
  EXPECT_TRUE(contains(warnings, "Conversion b.ws -> b.rtf\r\n"));

  // The check belongs to WordStar input only.
  selection.inputFormatName = "Rich Text Format ";
  run();
  EXPECT_EQ(counters.FilesWithWarnings, 0);
}

}  // namespace
}  // namespace kelvara::run
