#include "word/ExternalConverter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/FileSystem.h"
#include "support/ProgramScript.h"
#include "support/ScratchDir.h"
#include "unit/run/AccessGuard.h"
#include "word/ConvError.h"

namespace kelvara::word {
namespace {

using testing::programScript;
using testing::readFile;
using testing::ScratchDir;

// A converter as old DOS ones behave: it reads in=, and writes out= with its base name cut to
// eight characters and its own extension.
constexpr const char* kDosConverter =
    "for a in \"$@\"; do case \"$a\" in in=*) in=\"${a#in=}\";; out=*) out=\"${a#out=}\";; "
    "esac; done\n"
    "[ -n \"$in\" ] && [ -n \"$out\" ] || exit 5\n"
    "base=$(basename \"$out\" | cut -c1-8)\n"
    "{ printf 'converted: '; cat \"$in\"; } > \"$(dirname \"$out\")/$base.DOC\"";

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> texts(const PendingLog& log, PendingLog::Target target) {
  std::vector<std::string> lines;
  for (const PendingLog::Line& line : log.lines()) {
    if (line.target == target) {
      lines.push_back(line.text);
    }
  }
  return lines;
}

TEST(ConverterArgumentsTest, PathsAreNeverSplitAndPiecesAreSplitAtBlanks) {
  config::Settings settings;
  EXPECT_EQ(ConverterArguments(settings, "/in dir/Brief an Ä.ws", "/out dir/"),
            (std::vector<std::string>{"sfrm=WS7", "in=/in dir/Brief an Ä.ws", "dfrm=MSWW7",
                                      "out=/out dir/TEMPWPXXTEMPWPXX"}));
  settings.ProgCmdLine1 = "  -q  --from ";
  settings.ProgCmdLine2 = "--to=";
  settings.ProgCmdLine3 = ".rtf  -v";
  EXPECT_EQ(ConverterArguments(settings, "rel/a.ws", "/o/"),
            (std::vector<std::string>{"-q", "--from", platform::currentDirectory() + "/rel/a.ws",
                                      "--to=/o/TEMPWPXX.rtf", "-v"}));
}

TEST(ConverterArgumentsTest, OnlyTempwpxxFilesAreTheConvertersOutput) {
  for (const char* name : {"TEMPWPXX.DOC", "tempwpxx.rtf", "TEMPWPXX", "TempWpXx.a.b"}) {
    EXPECT_TRUE(IsConverterOutput(name)) << name;
  }
  for (const char* name : {"TEMPWPX.DOC", "TEMPWPXX2.DOC", "TEMPWPXXTEMPWPXX", "a.TEMPWPXX"}) {
    EXPECT_FALSE(IsConverterOutput(name)) << name;
  }
}

class ExternalConverterTest : public ::testing::Test {
 protected:
  void convert(const std::string& script) {
    settings.ExternalConverterProgram = programScript(tmp, "bin/conv", script);
    RunExternalConverter(settings, input, output, "", {}, log);
  }
  // The failure's message; the folder must hold no file of the converter afterwards.
  std::string failure(const std::string& script) {
    try {
      convert(script);
    } catch (const EConvError& e) {
      for (const std::string& name : filesIn(out)) {
        EXPECT_FALSE(IsConverterOutput(name)) << name;
      }
      return e.what();
    }
    ADD_FAILURE() << "the conversion did not fail";
    return {};
  }

  ScratchDir tmp;
  std::string input = tmp.file("in/letter one.ws", "Dear Sir");
  std::string out = tmp.dir("out dir");
  std::string output = out + "letter one.doc";
  config::Settings settings;
  PendingLog log;
};

TEST_F(ExternalConverterTest, TheConvertersFileReplacesTheOutput) {
  tmp.file("out dir/letter one.doc", "an older output");
  convert(kDosConverter);
  EXPECT_EQ(readFile(output), "converted: Dear Sir");
  EXPECT_EQ(filesIn(out), (std::vector<std::string>{"letter one.doc"}));
  EXPECT_EQ(texts(log, PendingLog::Target::Deletion),
            (std::vector<std::string>{"File " + output + " deleted"}));
  EXPECT_EQ(texts(log, PendingLog::Target::Main),
            (std::vector<std::string>{"File " + out + "TEMPWPXX.DOC renamed " + output}));
}

TEST_F(ExternalConverterTest, AFileAnEarlierConverterLeftIsNotTakenForThisOne) {
  tmp.file("out dir/TEMPWPXX.RTF", "stale");
  EXPECT_EQ(failure("exit 0"), "Converted temp file not found: [Error:2] File Not Found");
  EXPECT_EQ(texts(log, PendingLog::Target::Deletion),
            (std::vector<std::string>{"File " + out + "TEMPWPXX.RTF deleted",
                                      "File " + output + " deleted"}));
}

TEST_F(ExternalConverterTest, EveryBadConverterFailsTheDocumentAndLeavesNothing) {
  EXPECT_EQ(failure(std::string(kDosConverter) + "\nexit 1"), "External conversion error");
  EXPECT_EQ(texts(log, PendingLog::Target::Error).back(),
            "Program " + settings.ExternalConverterProgram + " ended with exit code 1");

  EXPECT_EQ(failure(std::string(kDosConverter) + "\necho x > \"$(dirname \"$out\")/TEMPWPXX.RTF\""),
            "Converted temp file not unique: TEMPWPXX.DOC, TEMPWPXX.RTF");

  settings.DocTimeout = 1;
  EXPECT_EQ(failure(std::string(kDosConverter) + "\nsleep 60"), "External conversion error");
  EXPECT_EQ(
      texts(log, PendingLog::Target::Error).back(),
      "Program " + settings.ExternalConverterProgram + " did not end within 1 s and was ended");

  settings.ExternalConverterProgram = tmp / "bin/missing";
  log = PendingLog{};
  EXPECT_THROW(RunExternalConverter(settings, input, output, "", {}, log), EConvError);
  EXPECT_EQ(texts(log, PendingLog::Target::Error),
            (std::vector<std::string>{"Cannot start " + tmp / "bin/missing" +
                                      ": No such file or directory"}));
}

TEST_F(ExternalConverterTest, AReadOnlyOutputFolderKeepsItsOlderOutput) {
  tmp.file("out dir/letter one.doc", "an older output");
  ::chmod(out.c_str(), 0555);
  {
    testing::PermissionsBind bind;
    if (!bind.active()) {
      GTEST_SKIP() << "permissions cannot be made to bind";
    }
    // As a converter that cannot write there: it ends without a file.
    EXPECT_EQ(failure("exit 0"), "File delete error: [Error:13] Access Denied");
  }
  ::chmod(out.c_str(), 0755);
  EXPECT_EQ(readFile(output), "an older output");
}

TEST_F(ExternalConverterTest, ThePrefixedNameHoldsTheConvertersFileWhileTheEngineWorks) {
  tmp.file("out dir/letter one.doc", "converted");
  tmp.file("out dir/_%letter one.doc", "left from before");
  EXPECT_EQ(PrefixedName(output, "_%"), out + "_%letter one.doc");
  EXPECT_EQ(MoveAsidePrefixed(settings, output, log), out + "_%letter one.doc");
  EXPECT_EQ(readFile(out + "_%letter one.doc"), "converted");
  EXPECT_FALSE(std::filesystem::exists(output));
  EXPECT_EQ(texts(log, PendingLog::Target::Deletion),
            (std::vector<std::string>{"File " + out + "_%letter one.doc deleted"}));
  EXPECT_EQ(texts(log, PendingLog::Target::Main),
            (std::vector<std::string>{"File " + output + " renamed " + out + "_%letter one.doc"}));

  // Nothing to move: the output name is opened as it is.
  log = PendingLog{};
  EXPECT_EQ(MoveAsidePrefixed(settings, output, log), output);
  EXPECT_EQ(texts(log, PendingLog::Target::Error),
            (std::vector<std::string>{"File rename error: [Error:2] File Not Found"}));
}

}  // namespace
}  // namespace kelvara::word
