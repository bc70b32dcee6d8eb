// kelvara-wsconv and kelvara-wc run as programs, with the command lines the run gives them.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/ScratchDir.h"
#include "support/Subprocess.h"

namespace kelvara {
namespace {

namespace fs = std::filesystem;
using testing::ProcessResult;
using testing::ScratchDir;

// SAMPLE.WS of the shared corpus, the first paragraph.
const std::string kWordStar =
    "Thi\xf3 \xa0i\xf3 WordSta\xf2 4.\xb0 fo\xf2 DOS\xae WordSta\xf2 wa\xf3 ver\xf9 popula\xf2 "
    "\xa0in \xa0th\xe5 \x8d\n1980\xf3 becaus\xe5 i\xf4 wa\xf3 s\xef eas\xf9 t\xef \x02"
    "use\x82.\r\n\x1a\x1a\x1a";

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class WordStarPrograms : public ::testing::Test {
 protected:
  ProcessResult run(const char* program, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), program);
    return testing::RunProgram(arguments, {}, logs_.path());
  }

  ScratchDir dir_;
  ScratchDir logs_;
};

TEST_F(WordStarPrograms, ConverterTakesTheDefaultCommandLineAndWritesWhereTheSearchLooks) {
  const std::string input = dir_.file("in put/LETTER.WS", kWordStar);
  const std::string out = dir_.dir("out folder");
  // The parameters as one text, as the run builds them from ProgCmdLine1..3.
  const std::string parameters =
      "sfrm=WS7 in=" + input + " " + " dfrm=MSWW7 out=" + out + "TEMPWPXX" + "TEMPWPXX";
  const ProcessResult result = run(KELVARA_WSCONV_EXE, {parameters});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(namesIn(out), std::vector<std::string>{"TEMPWPXX.rtf"});
  const std::string rtf = readFile(out + "TEMPWPXX.rtf");
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(rtf.find("This is WordStar 4.0 for DOS. WordStar was very popular in the 1980s "
                     "because it was so easy to {\\b use}."),
            std::string::npos)
      << rtf;
  EXPECT_EQ(readFile(input), kWordStar);  // the input is only read

  // The same in pieces, over an older output, which it replaces whole.
  std::ofstream(out + "TEMPWPXX.rtf") << "old";
  const ProcessResult again = run(KELVARA_WSCONV_EXE, {"sfrm=WS7", "in=" + input, "dfrm=MSWW7",
                                                       "out=" + out + "TEMPWPXXTEMPWPXX"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(readFile(out + "TEMPWPXX.rtf"), rtf);
  EXPECT_EQ(namesIn(out), std::vector<std::string>{"TEMPWPXX.rtf"});
}

TEST_F(WordStarPrograms, ConverterFailsWithASystemErrorNumberAndWritesNothing) {
  const std::string out = dir_.dir("out");
  auto convert = [&](const std::string& input) {
    return run(KELVARA_WSCONV_EXE, {"sfrm=WS7 in=" + input + "  dfrm=MSWW7 out=" + out + "T"});
  };
  const ProcessResult missing = convert(dir_ / "missing.ws");
  EXPECT_EQ(missing.exitCode, ENOENT);
  EXPECT_NE(missing.err.find("File not found: " + dir_ / "missing.ws"), std::string::npos);

  const ProcessResult doc = convert(dir_.file(
      "real.doc", std::string("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8) + std::string(600, '\0')));
  EXPECT_EQ(doc.exitCode, EINVAL);
  EXPECT_NE(doc.err.find("Not a WordStar file: it is a compound (OLE) file"), std::string::npos)
      << doc.err;

  std::string truncated("\x1d\x7d\x00", 3);
  truncated += std::string(40, 'x');
  const ProcessResult cut = convert(dir_.file("cut.ws", truncated));
  EXPECT_EQ(cut.exitCode, EINVAL);
  EXPECT_NE(cut.err.find("truncated"), std::string::npos) << cut.err;

  const ProcessResult empty = convert(dir_.file("empty.ws", ""));
  EXPECT_EQ(empty.exitCode, EINVAL);
  EXPECT_NE(empty.err.find("The file is empty"), std::string::npos) << empty.err;

  const ProcessResult usage = run(KELVARA_WSCONV_EXE, {"sfrm=WS7", "dfrm=MSWW7"});
  EXPECT_EQ(usage.exitCode, EINVAL);
  EXPECT_NE(usage.err.find("no input file: in=<file> is missing"), std::string::npos);
  EXPECT_NE(usage.err.find("Usage: kelvara-wsconv"), std::string::npos);

  EXPECT_TRUE(namesIn(out).empty());
}

TEST_F(WordStarPrograms, ConverterReportsAFolderItCannotWriteInto) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "root writes into read-only folders";
  }
  const std::string input = dir_.file("a.ws", kWordStar);
  const std::string out = dir_.dir("locked");
  ASSERT_EQ(::chmod(out.c_str(), 0500), 0);
  const ProcessResult result =
      run(KELVARA_WSCONV_EXE, {"sfrm=WS7 in=" + input + "  dfrm=MSWW7 out=" + out + "TEMPWPXX"});
  ::chmod(out.c_str(), 0700);
  EXPECT_EQ(result.exitCode, EACCES);
  EXPECT_NE(result.err.find("cannot write " + out + "TEMPWPXX.rtf: Permission denied"),
            std::string::npos)
      << result.err;
  EXPECT_TRUE(namesIn(out).empty());
}

TEST_F(WordStarPrograms, CountProgramPrintsItsCountsOnTheFourthLine) {
  const std::string input = dir_.file("my letter.ws", kWordStar);
  // The run hands over the path; without a shell it arrives whole, through one it may not.
  for (const auto& arguments :
       {std::vector<std::string>{input}, std::vector<std::string>{dir_ / "my", "letter.ws"}}) {
    const ProcessResult result = run(KELVARA_WC_EXE, arguments);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::istringstream lines(result.out);
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line)) {
      all.push_back(line);
    }
    ASSERT_EQ(all.size(), 4u) << result.out;
    EXPECT_EQ(all[1], "File: " + input);
    EXPECT_EQ(all[2], "Read as: WordStar 3.x/4.x");
    EXPECT_EQ(all[3], "Words:     20  Lines:      2  Chars:     80");
  }
}

TEST_F(WordStarPrograms, CountProgramWritesTheCountFileARunnerWithoutShellNames) {
  const std::string input = dir_.file("a.ws", kWordStar);
  const std::string countFile = dir_ / "a.txt";
  const ProcessResult result = run(KELVARA_WC_EXE, {input, ">", countFile});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.out.empty());
  const std::string report = readFile(countFile);
  EXPECT_NE(report.find("\nWords:     20  Lines:      2  Chars:     80\n"), std::string::npos)
      << report;
}

TEST_F(WordStarPrograms, CountProgramRefusesWhatItCannotRead) {
  const ProcessResult doc = run(
      KELVARA_WC_EXE, {dir_.file("real.doc", std::string("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8) +
                                                 std::string(600, '\0'))});
  EXPECT_EQ(doc.exitCode, EINVAL);
  EXPECT_TRUE(doc.out.empty());
  EXPECT_NE(doc.err.find("cannot count the words of a compound (OLE) file"), std::string::npos)
      << doc.err;

  const ProcessResult missing = run(KELVARA_WC_EXE, {dir_ / "none.txt"});
  EXPECT_EQ(missing.exitCode, ENOENT);
  EXPECT_TRUE(missing.out.empty());

  EXPECT_EQ(run(KELVARA_WC_EXE, {}).exitCode, EINVAL);
  EXPECT_EQ(run(KELVARA_WC_EXE, {"--help"}).exitCode, 0);
}

}  // namespace
}  // namespace kelvara
