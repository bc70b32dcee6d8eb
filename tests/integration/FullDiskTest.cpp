// kelvara-batch writing to a disk that fills up: on a small tmpfs of its own, with the real office.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "support/ScratchDir.h"
#include "support/Subprocess.h"
#include "word/OutputCompleteness.h"
#include "word/lo/OfficeErrors.h"

namespace kelvara {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::ScratchDir;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A letter of about 300 paragraphs: its PDF takes some 25 KB.
std::string letter(int number) {
  std::string body;
  for (int k = 0; k < 300; ++k) {
    body += "\\par Paragraph " + std::to_string(k) + " of letter " + std::to_string(number) +
            ", with words enough to fill the page and make the output grow. ";
  }
  return "{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}\\f0 " + body + "}";
}

class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* dir : {"config", "state", "proc", "in", "out"}) {
      fs::create_directories(tmp / dir);
    }
    for (int i = 1; i <= kDocuments; ++i) {
      tmp.file("in/letter" + std::to_string(i) + ".rtf", letter(i));
    }
  }
  void TearDown() override {
    if (mounted_) {
      ::umount2(out().c_str(), MNT_DETACH);
    }
  }

  // The output folder becomes a tmpfs of the given size; false (with the reason) when this
  // machine does not let the test mount one.
  bool mountOutput(const std::string& size, std::string& why) {
    const std::string options = "size=" + size + ",mode=0755";
    if (::mount("tmpfs", out().c_str(), "tmpfs", 0, options.c_str()) != 0) {
      why = std::string("cannot mount a tmpfs here (") + std::strerror(errno) +
            "); the full-disk run needs one";
      return false;
    }
    mounted_ = true;
    return true;
  }

  std::string out() const { return tmp / "out"; }

  testing::ProcessResult runToPdf() {
    return testing::RunProgram(
        {KELVARA_BATCH_EXE, "/i:", tmp / "in/", "/o:", out() + "/", "/of:", "6"},
        {{"KELVARA_CONFIG_DIR", tmp / "config"},
         {"XDG_STATE_HOME", tmp / "state"},
         {"XDG_RUNTIME_DIR", tmp / "state"}},
        tmp / "proc");
  }

  // What the run left in the output folder: no staging folders and only whole PDFs.
  void expectOnlyWholeOutputs(int converted) {
    int pdfs = 0;
    for (const auto& entry : fs::directory_iterator(out())) {
      const std::string name = entry.path().filename().string();
      EXPECT_FALSE(name.starts_with(".kelvara-save-")) << name << " was left behind";
      if (entry.path().extension() == ".pdf") {
        ++pdfs;
        EXPECT_EQ(word::findIncompleteness(entry.path().string(), word::OutputKind::Pdf),
                  std::nullopt)
            << name;
      }
    }
    EXPECT_EQ(pdfs, converted);
  }

  static constexpr int kDocuments = 8;
  ScratchDir tmp;
  bool mounted_ = false;
};

// The counts of the summary line on stdout.
std::map<std::string, int> summary(const std::string& stdoutText) {
  std::smatch m;
  const std::regex line(
      "Files analized: (\\d+)  converted: (\\d+)  in error: (\\d+)  skipped: (\\d+)");
  if (!std::regex_search(stdoutText, m, line)) {
    return {};
  }
  return {{"analized", std::stoi(m[1])},
          {"converted", std::stoi(m[2])},
          {"error", std::stoi(m[3])},
          {"skipped", std::stoi(m[4])}};
}

TEST_F(FullDisk, DocumentsThatDoNotFitFailInWordsAndLeaveNothingBehind) {
  std::string why;
  if (!mountOutput("128k", why)) {
    GTEST_SKIP() << why;
  }
  const testing::ProcessResult result = runToPdf();
  EXPECT_EQ(result.exitCode, 1) << result.err;
  const std::map<std::string, int> counts = summary(result.out);
  ASSERT_FALSE(counts.empty()) << "no summary on stdout:\n" << result.out;
  EXPECT_EQ(counts.at("analized"), kDocuments);
  // The disk holds a few of the PDFs and not all of them.
  EXPECT_GE(counts.at("converted"), 1);
  EXPECT_GE(counts.at("error"), 1);
  EXPECT_EQ(counts.at("converted") + counts.at("error"), kDocuments);

  // Every document reported OK has its whole PDF; the others have none, nor a part of one.
  for (int i = 1; i <= kDocuments; ++i) {
    const std::string name = "letter" + std::to_string(i);
    const bool ok = contains(result.err, "Converted " + name + ".rtf -> " + name + ".pdf: OK");
    EXPECT_EQ(fs::exists(out() + "/" + name + ".pdf"), ok) << name;
  }
  expectOnlyWholeOutputs(counts.at("converted"));

  const std::string message = "Disk full: the output could not be written completely to " + out();
  // Each document in error says why in words.
  int failures = 0;
  std::istringstream lines(result.err);
  for (std::string line; std::getline(lines, line);) {
    if (contains(line, ".pdf: Error - ")) {
      ++failures;
      EXPECT_TRUE(line.ends_with(": Error - " + message)) << line;
    }
  }
  EXPECT_EQ(failures, counts.at("error")) << result.err;
  EXPECT_FALSE(contains(result.err, "SfxBaseModel")) << "the office's raw text reached the user";
  // The logs had room for their lines, and say the same.
  EXPECT_TRUE(contains(readFile(out() + "/Log/ErrorLog.txt"), message + "\r\n"));
  EXPECT_TRUE(contains(readFile(out() + "/Log/ConvLog.txt"), " Result ERROR - " + message));
}

TEST_F(FullDisk, ARunOnAFullDiskEndsWithItsSummaryOnTheConsole) {
  std::string why;
  if (!mountOutput("1m", why)) {
    GTEST_SKIP() << why;
  }
  // Someone else's file takes every block; the log folder is there from an earlier run.
  fs::create_directory(out() + "/Log");
  {
    std::ofstream filler(out() + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
    }
  }
  const testing::ProcessResult result = runToPdf();
  EXPECT_EQ(result.exitCode, 1) << result.err;
  const std::map<std::string, int> counts = summary(result.out);
  ASSERT_FALSE(counts.empty()) << "no summary on stdout:\n" << result.out;
  EXPECT_EQ(counts.at("analized"), kDocuments);
  EXPECT_EQ(counts.at("error"), kDocuments);
  expectOnlyWholeOutputs(0);
  EXPECT_TRUE(
      contains(result.err, "Disk full: the output could not be written completely to " + out()));
  EXPECT_TRUE(contains(result.err, "Err. Write " + out() + "/Log/ConvLog.txt: No space left"));
  // The summary says which logs lack lines: here, all of them.
  EXPECT_TRUE(contains(result.out, out() + "/Log/ConvLog.txt  (incomplete: writing it failed)"))
      << result.out;
  EXPECT_TRUE(contains(result.out, out() + "/Log/ErrorLog.txt  (incomplete: writing it failed)"));
}

TEST(OfficeSaveErrors, TheCodeOfAFailedStoreIsReadFromItsTextAndPutIntoWords) {
  using namespace word::lo;
  const std::string text =
      "SfxBaseModel::impl_store <file:///srv/out/.kelvara-save-1-2/a.pdf> failed: "
      "0x20d(Error Area:Io Class:General Code:13) at ./sfx2/source/doc/sfxbasemodel.cxx:3207";
  ASSERT_EQ(officeErrorCodeInText(text), 0x20du);
  EXPECT_EQ(officeErrorClass(0x20d), officeclass::kGeneral);
  EXPECT_EQ(officeErrorCodeInText("failed: 0x909(Error Area:Io Class:Space Code:9)"), 0x909u);
  EXPECT_EQ(officeErrorCodeInText("failed: 0xFFFFFFFF1"), 0xFFFFFFFFu);  // eight digits at most
  EXPECT_EQ(officeErrorCodeInText("failed: 0x"), std::nullopt);
  EXPECT_EQ(officeErrorCodeInText("Binary URP bridge disposed"), std::nullopt);

  EXPECT_EQ(describeOfficeSaveError(0x20d), "General input/output error");
  EXPECT_EQ(describeOfficeSaveError(0x11b), "The file could not be written");  // an abort
  EXPECT_EQ(describeOfficeSaveError(0x909), "Not enough space on the disk");
  EXPECT_EQ(describeOfficeSaveError(officeerror::kAccessDenied), "Access denied");
  EXPECT_EQ(describeOfficeSaveError(officeerror::make(0, 12, 16)), "Write error");
  EXPECT_EQ(describeOfficeSaveError(officeerror::make(0, 16, 0)), "File cannot be created");
  // Loading keeps its own word for an abort.
  EXPECT_EQ(describeOfficeError(0x11b), "Loading was aborted");
  // The warning and dynamic bits do not change the class.
  EXPECT_EQ(officeErrorClass(0x909 | (1u << 26) | 0x80000000u), officeclass::kSpace);
}

}  // namespace
}  // namespace kelvara
