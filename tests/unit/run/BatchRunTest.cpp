#include "run/BatchRun.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "BatchRunFixture.h"
#include "format/ApplyFormatting.h"
#include "support/FakeDocumentEngine.h"
#include "support/RecordingView.h"
#include "support/ScratchDir.h"
#include "support/TextSearch.h"

namespace kelvara::run {
namespace {

using testing::contains;
using testing::count;

using testing::FakeDocumentEngine;
using testing::readFile;
using testing::RecordingView;
using testing::ScratchDir;

class BatchRunTest : public BatchRunFixture {};

TEST_F(BatchRunTest, ConvertsTheTreeMirroringFoldersAndAccountsForEveryFile) {
  tmp.file("in/b.doc");
  tmp.file("in/a.doc");
  tmp.file("in/X/c.doc");
  tmp.file("in/Y/d.doc");
  engine.scripts["c.doc"].refuseOpen = true;

  ASSERT_TRUE(run());
  EXPECT_EQ(counters.FilesAnalyzed, 4);
  EXPECT_EQ(counters.FilesConverted, 3);
  EXPECT_EQ(counters.FilesInError, 1);
  EXPECT_EQ(counters.FilesSkipped, 0);
  EXPECT_EQ(counters.DirCount, 3);
  EXPECT_TRUE(std::filesystem::exists(out + "a.rtf"));
  EXPECT_TRUE(std::filesystem::exists(out + "Y/d.rtf"));
  EXPECT_FALSE(std::filesystem::exists(out + "X/c.rtf"));
  // Files of a folder come before its subfolders, each folder in name order.
  std::vector<std::string> opened;
  for (const auto& call : engine.calls) {
    if (call.rfind("open ", 0) == 0) {
      opened.push_back(call);
    }
  }
  EXPECT_EQ(opened, (std::vector<std::string>{"open a.doc format 0", "open b.doc format 0",
                                              "open c.doc format 0", "open d.doc format 0"}));
  EXPECT_EQ(engine.beginCount, engine.endCount);

  const std::string main = log("ConvLog.txt");
  EXPECT_TRUE(contains(main, "Input Path: " + in + " - Output Path: " + out + "\r\n"));
  EXPECT_TRUE(contains(main, " Conversion a.doc -> a.rtf\r\n"));
  EXPECT_TRUE(contains(main,
                       "   Conversion               1 Pages - 3 Paragraphs - 10 Lines - "
                       "50 words - 300 Characters&Spaces - 250 Characters\r\n"));
  EXPECT_TRUE(contains(main, "   2 Changes - 0 Spelling Err.\r\n"));
  EXPECT_TRUE(contains(main, " Result OK - at: 10:11:12\r\n"));
  EXPECT_TRUE(
      contains(main, "Can't open file " + in + "X/c.doc. Error: [Error:2] File format error"));
  EXPECT_TRUE(contains(main, " " + std::string(58, '-') + "\r\n Result ERROR - Can't open file"));
  EXPECT_TRUE(contains(main, "Folder " + out + "X/ created"));
  EXPECT_TRUE(contains(main,
                       "End of conversion\r\n\r\n Files analized: 4 Files converted: 3 "
                       "Files skipped: 0 Files in error: 1\r\n"));
  const std::string errors = log("ErrorLog.txt");
  EXPECT_TRUE(contains(errors, "Error on conversion\r\nCan't open file"));
  EXPECT_TRUE(contains(errors, "Conversion c.doc -> c.rtf\r\n"));
  EXPECT_TRUE(contains(errors, "Total number of files in error: 1"));
  EXPECT_TRUE(contains(log("WarnsLog.txt"), "Total number of files with warning(s): 0"));
  EXPECT_TRUE(contains(log("SkipsLog.txt"), "Total number of skipped files: 0"));

  const std::string index = log("Index.html");
  EXPECT_TRUE(contains(index, "<li><a href=\"" + in + "a.doc\">a.doc</a> -> <a href=\"" + out +
                                  "a.rtf\">a.rtf</a></li>"));
  EXPECT_TRUE(contains(index, "<li><a href=\"" + in + "X/c.doc\">c.doc</a> -> c.rtf</li>"));
  EXPECT_TRUE(contains(index, "</body></html>"));
}

TEST_F(BatchRunTest, EngineFailuresAreCountedAndTheRunGoesOn) {
  tmp.file("in/1.doc");
  tmp.file("in/2.doc");
  tmp.file("in/3.doc");
  tmp.file("in/4.doc");
  engine.scripts["1.doc"].failStatistics = true;
  engine.scripts["2.doc"].failSave = true;
  engine.scripts["3.doc"].loseEngineOnSave = true;

  ASSERT_TRUE(run());
  EXPECT_EQ(counters.FilesInError, 3);
  EXPECT_EQ(counters.FilesConverted, 1);
  EXPECT_EQ(counters.FilesAnalyzed, 4);
  // A statistics failure still keeps the partly processed document under the output name.
  EXPECT_TRUE(std::filesystem::exists(out + "1.rtf"));
  EXPECT_FALSE(std::filesystem::exists(out + "3.rtf"));
  EXPECT_TRUE(std::filesystem::exists(out + "4.rtf"));
  const std::string errors = log("ErrorLog.txt");
  EXPECT_TRUE(contains(errors, "Error on conversion\r\nStatistics failed\r\n"));
  EXPECT_TRUE(contains(errors, "Error on conversion\r\nWrite error\r\n"));
  EXPECT_TRUE(contains(errors, "Binary URP bridge disposed"));
  EXPECT_EQ(engine.openDocuments, 0);
  EXPECT_EQ(engine.beginCount, engine.endCount);
}

TEST_F(BatchRunTest, StopDuringAConversionFinishesThatDocumentAndSummarisesOnce) {
  tmp.file("in/a.doc");
  tmp.file("in/b.doc");
  tmp.file("in/S/c.doc");
  engine.onOpen = [this](const std::string& path) {
    if (path.find("a.doc") != std::string::npos) {
      control.stopRequested = true;
    }
  };
  ASSERT_TRUE(run());
  EXPECT_EQ(counters.FilesConverted, 1);
  EXPECT_EQ(counters.FilesAnalyzed, 1);
  EXPECT_FALSE(std::filesystem::exists(out + "b.rtf"));
  const std::string main = log("ConvLog.txt");
  EXPECT_EQ(count(main, "End of conversion"), 1u);
  EXPECT_TRUE(contains(main, " Files analized: 1 Files converted: 1 "));
  EXPECT_TRUE(contains(log("Index.html"), "</body></html>"));
}

TEST_F(BatchRunTest, SingleFileRunCountsExactlyOneFile) {
  const std::string file = tmp.file("in/only.doc");
  tmp.file("in/other.doc");
  settings.SingleFile = true;
  settings.InpFileName = file;
  ASSERT_TRUE(run());
  EXPECT_EQ(counters.FilesAnalyzed, 1);
  EXPECT_EQ(counters.FilesConverted, 1);
  EXPECT_TRUE(std::filesystem::exists(out + "only.rtf"));
  EXPECT_FALSE(std::filesystem::exists(out + "other.rtf"));
  const std::string main = log("ConvLog.txt");
  EXPECT_EQ(count(main, "End of conversion"), 1u);
  EXPECT_TRUE(contains(main,
                       " Files analized: 1 Files converted: 1 Files skipped: 0 "
                       "Files in error: 0"));
  EXPECT_EQ(view.hints.back(), "No errors");
}

TEST_F(BatchRunTest, SameFolderAsksAndNoAbandonsBeforeAnyLog) {
  tmp.file("in/a.doc");
  settings.OutPath = in;
  view.answer = false;
  EXPECT_FALSE(run());
  ASSERT_EQ(view.questions.size(), 1u);
  EXPECT_EQ(
      view.questions[0].rfind("Warning: Warning! Input and Output directory are the same.", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(in + "Log"));
  EXPECT_TRUE(engine.saves.empty());
  EXPECT_FALSE(view.runEnabled);
}

TEST_F(BatchRunTest, SameFolderWithYesConvertsTheRootButNeverOverwritesAnInput) {
  tmp.file("in/a.doc");
  tmp.file("in/b.rtf", "original");
  tmp.file("in/sub/c.doc");
  settings.OutPath = in;
  ASSERT_TRUE(run());
  EXPECT_TRUE(std::filesystem::exists(in + "a.rtf"));
  EXPECT_EQ(readFile(in + "b.rtf"), "original");
  EXPECT_EQ(counters.FilesInError, 1);
  EXPECT_TRUE(
      contains(readFile(in + "Log/ErrorLog.txt"), "is the input file: it is not overwritten"));
  // The output tree is the input tree: subfolders are documents too.
  EXPECT_TRUE(std::filesystem::exists(in + "sub/c.rtf"));
  EXPECT_EQ(counters.FilesAnalyzed, 3);
}

TEST_F(BatchRunTest, SameFolderRunAgainTakesNoLogOrIndexForADocument) {
  tmp.file("in/a.doc");
  tmp.file("in/Log/notes.doc");
  settings.OutPath = in;
  settings.InpMask = "*.doc;*.txt;*.html";  // would take the logs and the index
  ASSERT_TRUE(run());
  settings.NewLogFile = true;  // ConvLog_000.txt beside ConvLog.txt
  ASSERT_TRUE(run());
  ASSERT_TRUE(run());
  // a.doc and the operator's own notes.doc each time; never the logs or Index.html.
  EXPECT_EQ(counters.FilesAnalyzed, 2);
  EXPECT_EQ(counters.FilesConverted, 2);
  EXPECT_TRUE(std::filesystem::exists(in + "Log/notes.rtf"));
  EXPECT_TRUE(std::filesystem::exists(in + "Log/ConvLog_001.txt"));
  for (const std::string& save : engine.calls) {
    EXPECT_FALSE(contains(save, "Log.") || contains(save, "Index")) << save;
  }
}

TEST_F(BatchRunTest, InputInsideOutputConvertsAndCountsEveryFileOfTheTree) {
  tmp.file("P/in/a.doc");
  tmp.file("P/in/sub/b.doc");
  tmp.file("P/in/sub/deeper/c.doc");
  tmp.file("P/old.doc");  // beside the input, not in it
  settings.InpPath = tmp.path() + "P/in/";
  settings.OutPath = tmp.path() + "P/";
  ASSERT_TRUE(run());
  EXPECT_TRUE(view.questions.empty());
  EXPECT_EQ(counters.FilesAnalyzed, 3);
  EXPECT_EQ(counters.FilesConverted, 3);
  EXPECT_TRUE(std::filesystem::exists(tmp.path() + "P/a.rtf"));
  EXPECT_TRUE(std::filesystem::exists(tmp.path() + "P/sub/b.rtf"));
  EXPECT_TRUE(std::filesystem::exists(tmp.path() + "P/sub/deeper/c.rtf"));
  EXPECT_FALSE(std::filesystem::exists(tmp.path() + "P/old.rtf"));
  EXPECT_TRUE(contains(readFile(tmp.path() + "P/Log/ConvLog.txt"), "Files analized: 3"));
}

TEST_F(BatchRunTest, SiblingFoldersConvertEveryFileOfTheInput) {
  tmp.file("P/in/a.doc");
  tmp.file("P/in/out/b.doc");  // named like the output folder, but it is not the output folder
  settings.InpPath = tmp.path() + "P/in/";
  settings.OutPath = tmp.path() + "P/out/";
  ASSERT_TRUE(run());
  EXPECT_TRUE(view.questions.empty());
  EXPECT_EQ(counters.FilesAnalyzed, 2);
  EXPECT_TRUE(std::filesystem::exists(tmp.path() + "P/out/out/b.rtf"));
}

TEST_F(BatchRunTest, OutputInsideInputAsksAndSkipsTheOutputTree) {
  tmp.file("in/a.doc");
  tmp.file("in/out/old.doc");
  settings.OutPath = in + "out/";
  ASSERT_TRUE(run());
  ASSERT_EQ(view.questions.size(), 1u);
  EXPECT_EQ(view.questions[0].rfind("Warning: Warning! Output directory is a subdirectory", 0), 0u);
  // Earlier outputs in the nested output tree are passed over and not counted.
  EXPECT_EQ(counters.FilesAnalyzed, 1);
  EXPECT_TRUE(std::filesystem::exists(in + "out/a.rtf"));
  EXPECT_FALSE(std::filesystem::exists(in + "out/out/old.rtf"));
}

TEST_F(BatchRunTest, UncreatableOutputFolderEndsTheRunWithItsMessages) {
  const std::string blocker = tmp.file("file-not-folder");
  settings.OutPath = blocker + "/sub/";
  EXPECT_FALSE(run());
  ASSERT_FALSE(view.errors.empty());
  EXPECT_EQ(view.errors.back(),
            "Error: Error in Output Directory Creation. Please Select another directory");
  EXPECT_EQ(view.beeps, 1);
  EXPECT_FALSE(view.runEnabled);
  EXPECT_EQ(view.pathBoxes.back(), "| Dir. Creation error: " + blocker + "/sub/ res: 20");
  ASSERT_FALSE(view.progress.empty());
  EXPECT_EQ(view.progress[0].rfind("Err. Creation " + blocker + "/sub/: ", 0), 0u);
}

TEST_F(BatchRunTest, RefusedOutputFormatStopsBeforeTouchingAnything) {
  tmp.file("in/a.doc");
  engine.refusedSaveReason = "LibreOffice cannot write the output format XPS Document";
  EXPECT_FALSE(run());
  EXPECT_EQ(view.errors, std::vector<std::string>{"Error: " + engine.refusedSaveReason});
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(BatchRunTest, EmptyTreeWritesHeadersAndZeroSummary) {
  ASSERT_TRUE(run());
  EXPECT_TRUE(contains(log("ConvLog.txt"),
                       " Files analized: 0 Files converted: 0 Files skipped: 0 "
                       "Files in error: 0\r\n"));
  EXPECT_TRUE(contains(log("ConvLog.txt"), "Conversion Log started on day: "));
}

TEST_F(BatchRunTest, UnopenableLogAsksAndNoEndsTheRun) {
  tmp.file("in/a.doc");
  std::filesystem::create_directories(out + "Log/ConvLog.txt");  // a folder where the log goes
  view.answer = false;
  EXPECT_FALSE(run());
  ASSERT_EQ(view.questions.size(), 1u);
  EXPECT_EQ(view.questions[0], "Confirm: Do you want to continue without log?");
  EXPECT_TRUE(engine.saves.empty());
  // Declining to run without a log leaves the Run command available.
  EXPECT_TRUE(view.runEnabled);
}

TEST_F(BatchRunTest, ALogThatCannotOpenLeavesTheOthersWrittenWhenTheRunGoesOn) {
  tmp.file("in/a.doc");
  tmp.file("in/b.doc");
  engine.scripts["b.doc"].failSave = true;
  std::filesystem::create_directories(out + "Log/WarnsLog.txt");  // a folder where the log goes
  ASSERT_TRUE(run());
  EXPECT_EQ(view.questions,
            std::vector<std::string>{"Confirm: Do you want to continue without Warning log?"});
  EXPECT_EQ(view.progress.at(0), "Err. Open " + out + "Log/WarnsLog.txt: Is a directory");
  EXPECT_FALSE(settings.LogWarnings);
  EXPECT_EQ(counters.FilesConverted, 1);
  EXPECT_EQ(counters.FilesInError, 1);
  const std::string main = log("ConvLog.txt");
  EXPECT_TRUE(contains(main, " Conversion a.doc -> a.rtf\r\n"));
  EXPECT_TRUE(contains(main, " Result OK - at: 10:11:12\r\n"));
  EXPECT_TRUE(contains(main,
                       " Files analized: 2 Files converted: 1 Files skipped: 0 "
                       "Files in error: 1\r\n"));
  const std::string errors = log("ErrorLog.txt");
  EXPECT_TRUE(contains(errors, "Conversion b.doc -> b.rtf\r\n"));
  EXPECT_TRUE(contains(errors, "Total number of files in error: 1"));
  EXPECT_TRUE(contains(log("SkipsLog.txt"), "Total number of skipped files: 0"));
}

TEST_F(BatchRunTest, WithoutTheErrorLogTheMainLogKeepsItsLinesAndErrorsAreShown) {
  tmp.file("in/a.doc");
  tmp.file("in/b.doc");
  engine.scripts["b.doc"].failSave = true;
  std::filesystem::create_directories(out + "Log/ErrorLog.txt");
  ASSERT_TRUE(run());
  EXPECT_EQ(view.questions,
            std::vector<std::string>{"Confirm: Do you want to continue without error log?"});
  EXPECT_EQ(counters.FilesConverted, 1);
  // LogErrors also carries the main log's document lines: they are still written.
  EXPECT_TRUE(settings.LogErrors);
  const std::string main = log("ConvLog.txt");
  EXPECT_TRUE(contains(main, " Result OK - at: 10:11:12\r\n"));
  EXPECT_TRUE(contains(main, " Result ERROR - Write error at:10:11:12\r\n"));
  EXPECT_TRUE(contains(main, " Files analized: 2 Files converted: 1 "));
  EXPECT_TRUE(contains(log("WarnsLog.txt"), "Total number of files with warning(s): 0"));
  // The error lines are shown instead.
  EXPECT_NE(std::find(view.progress.begin(), view.progress.end(), "Conversion b.doc -> b.rtf"),
            view.progress.end());
  EXPECT_NE(
      std::find(view.progress.begin(), view.progress.end(), "Total number of files in error: 1"),
      view.progress.end());
}

TEST_F(BatchRunTest, MaskListWithSemicolonsSelectsBothKinds) {
  tmp.file("in/a.doc");
  tmp.file("in/b.RTF");
  tmp.file("in/c.txt");
  settings.InpMask = "*.doc;*.rtf";
  selection.OutExt = "pdf";
  ASSERT_TRUE(run());
  EXPECT_EQ(counters.FilesAnalyzed, 2);
  EXPECT_TRUE(std::filesystem::exists(out + "a.pdf"));
  EXPECT_TRUE(std::filesystem::exists(out + "b.pdf"));
}

TEST_F(BatchRunTest, TextOutputPassesTheTextOptions) {
  tmp.file("in/a.doc");
  selection.OutExt = "txt";
  selection.saveFormat = 2;
  settings.LineTerm = 1;
  settings.InsLineBreaks = true;
  ASSERT_TRUE(run());
  ASSERT_EQ(engine.saves.size(), 1u);
  ASSERT_TRUE(engine.saves[0].text.has_value());
  EXPECT_EQ(engine.saves[0].text->lineEnding, 1);
  EXPECT_TRUE(engine.saves[0].text->insertLineBreaks);
  EXPECT_EQ(engine.saves[0].format, 2);
}

TEST_F(BatchRunTest, TextOptionsTheEngineIgnoresAreWarnedOncePerRun) {
  tmp.file("in/a.doc");
  tmp.file("in/b.doc");
  selection.OutExt = "txt";
  selection.saveFormat = 2;
  settings.InsLineBreaks = true;
  ASSERT_TRUE(run());
  EXPECT_EQ(count(log("WarnsLog.txt"), "Warning - line breaks are not inserted"), 1u);
  EXPECT_EQ(std::count(view.progress.begin(), view.progress.end(),
                       "Warning - line breaks are not inserted"),
            1);
  // A run-wide notice, not a document's warning.
  EXPECT_EQ(counters.FilesWithWarnings, 0);

  // Not asked, or not a text output: no notice.
  settings.InsLineBreaks = false;
  ASSERT_TRUE(run());
  settings.InsLineBreaks = true;
  selection.OutExt = "rtf";
  selection.saveFormat = 6;
  ASSERT_TRUE(run());
  EXPECT_EQ(count(log("WarnsLog.txt"), "Warning - line breaks are not inserted"), 1u);
}

TEST_F(BatchRunTest, TrayHintCarriesTheCounters) {
  tmp.file("in/a.doc");
  ASSERT_TRUE(run());
  ASSERT_GE(view.trayHints.size(), 2u);
  EXPECT_EQ(view.trayHints[view.trayHints.size() - 2],
            "Kelvara 1.0.2.11\r\nCnv.: 1\r\nErr.: 0\r\nWrn.: 0\r\nSkp.: 0");
  EXPECT_EQ(view.trayHints.back(), "Kelvara 1.0.2.11\r\nStatus: Idle");
}

TEST_F(BatchRunTest, FaultsTheEngineRepairedAreWarningsOfAConvertedDocument) {
  tmp.file("in/a.docx");
  tmp.file("in/b.docx");
  engine.scripts["a.docx"].loadWarnings = {"Repaired: the core properties carry xml:lang",
                                           "Repaired: a relationship points at a missing part"};

  ASSERT_TRUE(run());
  EXPECT_EQ(counters.FilesConverted, 2);
  EXPECT_EQ(counters.FilesInError, 0);
  EXPECT_EQ(counters.FilesWithWarnings, 1);
  const std::string warnings = log("WarnsLog.txt");
  EXPECT_TRUE(contains(warnings,
                       "Conversion a.docx -> a.rtf\r\n"
                       "Repaired: the core properties carry xml:lang\r\n"
                       "Repaired: a relationship points at a missing part\r\n"));
  EXPECT_FALSE(contains(warnings, "b.docx"));
  EXPECT_TRUE(contains(warnings, "Total number of files with warning(s): 1"));
}

}  // namespace
}  // namespace kelvara::run

namespace kelvara::run {
namespace {

class BatchRunFormattingTest : public BatchRunTest {
 protected:
  bool runFormatted() {
    format::DocumentFormatter formatter(formats, "12.0");
    return run(&formatter);
  }
};

TEST_F(BatchRunFormattingTest, SectionsGoToTheMainLogBeforeTheCountsOfTheFormattedDocument) {
  tmp.file("in/a.doc");
  engine.scripts["a.doc"].sections = {{0, U"x\r", 7}, {1, U"y\r", 7}};
  ASSERT_TRUE(runFormatted());
  EXPECT_EQ(counters.FilesConverted, 1);
  EXPECT_TRUE(contains(log("ConvLog.txt"),
                       "   Conversion Sect. 1 Portr., Sect. 2 Landsc. \r\n"
                       "              1 Pages - 3 Paragraphs - 10 Lines"));
  EXPECT_NE(std::find(view.progress.begin(), view.progress.end(), "Section Nr. 2 - Landscape"),
            view.progress.end());
}

TEST_F(BatchRunFormattingTest, AFailureInASectionIsLoggedWithItsNumberAndTheRunGoesOn) {
  tmp.file("in/a.doc");
  tmp.file("in/b.doc");
  engine.scripts["a.doc"].sections = {{0, U"x\r", 7}, {1, U"y\r", 7}, {0, U"z\r", 7}};
  engine.scripts["a.doc"].failPageSetupOfSection = 2;
  ASSERT_TRUE(runFormatted());
  EXPECT_EQ(counters.FilesConverted, 1);
  EXPECT_EQ(counters.FilesInError, 1);
  EXPECT_TRUE(
      contains(log("ErrorLog.txt"), "Error on Section 2\r\nThe page style refused a value\r\n"));
  EXPECT_TRUE(contains(log("ConvLog.txt"),
                       "   Conversion Sect. 1 Portr., Sect. 2 The page style refused a value\r\n"));
}

TEST_F(BatchRunFormattingTest, ALanguageWithoutDictionaryIsNamedOncePerRun) {
  tmp.file("in/a.doc");
  tmp.file("in/b.doc");
  for (const char* name : {"a.doc", "b.doc"}) {
    engine.scripts[name].spelling = {0, {"de-DE"}};
  }
  ASSERT_TRUE(runFormatted());
  const std::string main = log("ConvLog.txt");
  EXPECT_EQ(count(main, "No spelling dictionary for the language de-DE"), 1);
  // The main log goes on from run to run; the next run says it again, once.
  ASSERT_TRUE(runFormatted());
  EXPECT_EQ(count(log("ConvLog.txt"), "No spelling dictionary for the language de-DE"), 2);
}

}  // namespace
}  // namespace kelvara::run

namespace kelvara::run {
namespace {

TEST_F(BatchRunTest, ConvertedDocumentsWriteNothingToTheErrorAndDeleteLogs) {
  tmp.file("in/a.doc");
  tmp.file("in/b.rtf");
  ASSERT_TRUE(run());
  EXPECT_EQ(counters.FilesConverted, 2);
  const std::string errors = log("ErrorLog.txt");
  EXPECT_FALSE(contains(errors, "delete error")) << errors;
  EXPECT_FALSE(contains(errors, "Conversion ")) << errors;
  EXPECT_TRUE(contains(errors, "Total number of files in error: 0")) << errors;
}

}  // namespace
}  // namespace kelvara::run
