#include "run/RunLogs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "support/RecordingView.h"
#include "support/ScratchDir.h"

namespace kelvara::run {
namespace {

using testing::readFile;
using testing::ScratchDir;

const std::string kUnderscores(68, '_');

std::string titleLine(const std::string& title) {
  return title + " Log started on day: 05.03.2024 at 14:07:09";
}

std::string freshHeader(const std::string& title) {
  return "\r\n\r\n" + titleLine(title) + "\r\n" + kUnderscores + "\r\n\r\n";
}

std::string numberedHeader(const std::string& title) {
  return "\r\n" + titleLine(title) + "\r\n" + kUnderscores + "\r\n\r\n";
}

std::string appendedHeader(const std::string& title) {
  std::string separator;
  for (int i = 0; i < 34; ++i) {
    separator += ":..";
  }
  return "\r\n" + separator + "\r\n\r\n\r\n" + titleLine(title) + "\r\n" + kUnderscores +
         "\r\n\r\n";
}

platform::Locale pinnedLocale() {
  platform::Locale locale;
  locale.shortDateFormat = "%d.%m.%Y";
  locale.longTimeFormat = "%H:%M:%S";
  return locale;
}

class RunLogsTest : public ::testing::Test {
 protected:
  void SetUp() override { logs.setLogDir(dir.path()); }

  // What a log holds after its header.
  std::string body(const std::string& file, const std::string& header) {
    const std::string all = readFile(dir / file);
    EXPECT_EQ(all.substr(0, header.size()), header);
    return all.size() >= header.size() ? all.substr(header.size()) : std::string();
  }
  void openAll() {
    for (LogKind kind : {LogKind::Main, LogKind::Error, LogKind::Warnings, LogKind::Skipped}) {
      ASSERT_TRUE(logs.OpenRunLog(kind));
    }
  }
  void closeAll() {
    for (LogKind kind : {LogKind::Main, LogKind::Error, LogKind::Warnings, LogKind::Skipped}) {
      logs.Close(kind);
    }
  }
  bool progressHas(const std::string& text) const {
    return std::find(view.progress.begin(), view.progress.end(), text) != view.progress.end();
  }

  ScratchDir dir;
  config::Settings settings;
  testing::RecordingView view;
  RunLogs logs{settings, view, pinnedLocale(),
               [] { return platform::DateTime{2024, 3, 5, 14, 7, 9}; }};
};

TEST_F(RunLogsTest, HeaderNamesAndTitlesOfTheFourLogs) {
  openAll();
  EXPECT_EQ(logs.fileName(LogKind::Main), dir / "ConvLog.txt");
  EXPECT_EQ(logs.fileName(LogKind::Error), dir / "ErrorLog.txt");
  EXPECT_EQ(logs.fileName(LogKind::Warnings), dir / "WarnsLog.txt");
  EXPECT_EQ(logs.fileName(LogKind::Skipped), dir / "SkipsLog.txt");
  EXPECT_TRUE(logs.isOpen(LogKind::Main));
  EXPECT_FALSE(logs.openFailed(LogKind::Main));
  closeAll();
  EXPECT_FALSE(logs.isOpen(LogKind::Main));
  EXPECT_EQ(readFile(dir / "ConvLog.txt"), freshHeader("Conversion"));
  EXPECT_EQ(readFile(dir / "ErrorLog.txt"), freshHeader("Error"));
  EXPECT_EQ(readFile(dir / "WarnsLog.txt"), freshHeader("Warning"));
  EXPECT_EQ(readFile(dir / "SkipsLog.txt"), freshHeader("Skip"));
  EXPECT_TRUE(view.progress.empty());
}

TEST_F(RunLogsTest, ALaterRunAppendsAfterTheSeparator) {
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  logs.WriteLogLn("first run");
  logs.Close(LogKind::Main);
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  logs.WriteLogLn("second run");
  logs.Close(LogKind::Main);
  EXPECT_EQ(readFile(dir / "ConvLog.txt"), freshHeader("Conversion") + "first run\r\n" +
                                               appendedHeader("Conversion") + "second run\r\n");
}

TEST_F(RunLogsTest, OverwriteStartsTheFileAgain) {
  settings.OverwriteLogs = true;
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  logs.WriteLogLn("first run");
  logs.Close(LogKind::Main);
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  logs.Close(LogKind::Main);
  EXPECT_EQ(readFile(dir / "ConvLog.txt"), freshHeader("Conversion"));
}

TEST_F(RunLogsTest, NumberedLogsTakeTheNextFreeNumberPerKind) {
  settings.NewLogFile = true;
  dir.file("ConvLog_000.txt", "run 0");
  dir.file("ConvLog_001.txt", "run 1");
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Error));
  EXPECT_EQ(logs.fileName(LogKind::Main), dir / "ConvLog_002.txt");
  EXPECT_EQ(logs.fileName(LogKind::Error), dir / "ErrorLog_000.txt");
  closeAll();
  EXPECT_EQ(readFile(dir / "ConvLog_002.txt"), numberedHeader("Conversion"));
  EXPECT_EQ(readFile(dir / "ErrorLog_000.txt"), numberedHeader("Error"));
  EXPECT_EQ(readFile(dir / "ConvLog_000.txt"), "run 0");
}

TEST_F(RunLogsTest, NumberedLogsReuseTheFirstWhenAllHundredExist) {
  settings.NewLogFile = true;
  for (int n = 0; n < 100; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "SkipsLog_%03d.txt", n);
    dir.file(name, "old");
  }
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Skipped));
  EXPECT_EQ(logs.fileName(LogKind::Skipped), dir / "SkipsLog_000.txt");
  logs.Close(LogKind::Skipped);
  EXPECT_EQ(readFile(dir / "SkipsLog_000.txt"), numberedHeader("Skip"));
  EXPECT_FALSE(std::filesystem::exists(dir / "SkipsLog_100.txt"));
}

TEST_F(RunLogsTest, NumberedLogsUseTheLastNumberAndFillGaps) {
  settings.NewLogFile = true;
  settings.OverwriteLogs = true;  // numbered logs are always new files
  dir.file("ConvLog.txt", "plain");
  for (int n = 0; n < 99; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "ConvLog_%03d.txt", n);
    dir.file(name, "old");
  }
  dir.file("WarnsLog_000.txt", "old");
  dir.file("WarnsLog_002.txt", "old");
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Warnings));
  EXPECT_EQ(logs.fileName(LogKind::Main), dir / "ConvLog_099.txt");
  EXPECT_EQ(logs.fileName(LogKind::Warnings), dir / "WarnsLog_001.txt");
  closeAll();
  EXPECT_EQ(readFile(dir / "ConvLog_099.txt"), numberedHeader("Conversion"));
  EXPECT_EQ(readFile(dir / "ConvLog_000.txt"), "old");
  EXPECT_EQ(readFile(dir / "ConvLog.txt"), "plain");
}

TEST_F(RunLogsTest, SwitchedOffLogsAreNotCreated) {
  settings.LogErrors = false;
  settings.LogWarnings = false;
  settings.LogSlippedFiles = false;
  for (LogKind kind : {LogKind::Error, LogKind::Warnings, LogKind::Skipped}) {
    EXPECT_TRUE(logs.OpenRunLog(kind));
    EXPECT_FALSE(logs.isOpen(kind));
    EXPECT_TRUE(logs.openFailed(kind));  // the opening did not take place
  }
  logs.WriteWrnLogLn("w");
  logs.WriteSkpLogLn("s");
  closeAll();
  EXPECT_FALSE(std::filesystem::exists(dir / "ErrorLog.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "WarnsLog.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "SkipsLog.txt"));
}

TEST_F(RunLogsTest, WritersFollowTheirSwitchesAtEachCall) {
  openAll();
  logs.WriteLogLn("general");
  logs.WriteDateLogLn("date");
  logs.WriteFolderLogLn("Folder /out/a/ created");
  logs.WriteWrnLogLn("warning");
  logs.WriteDelLogLn("deletion");
  logs.WriteSkpLogLn("skipped");
  logs.WriteErrLogLn("error");

  settings.LogErrors = false;  // general main-log lines and the error log stop
  settings.LogWarnings = false;
  settings.LogSlippedFiles = false;
  settings.StopOnErrors = false;
  logs.WriteLogLn("general 2");
  logs.WriteDateLogLn("date 2");
  logs.WriteFolderLogLn("folder 2");
  logs.WriteWrnLogLn("warning 2");
  logs.WriteDelLogLn("deletion 2");
  logs.WriteSkpLogLn("skipped 2");
  logs.WriteErrLogLn("error 2");

  settings.LogErrors = true;
  settings.LogDateChanges = false;
  settings.LogFoldersOperation = false;
  settings.LogDeletions = false;
  logs.WriteDateLogLn("date 3");
  logs.WriteFolderLogLn("folder 3");
  logs.WriteDelLogLn("deletion 3");
  closeAll();

  EXPECT_EQ(body("ConvLog.txt", freshHeader("Conversion")),
            "general\r\ndate\r\nFolder /out/a/ created\r\nfolder 2\r\n");
  EXPECT_EQ(body("ErrorLog.txt", freshHeader("Error")), "error\r\n");
  EXPECT_EQ(body("WarnsLog.txt", freshHeader("Warning")), "warning\r\ndeletion\r\ndeletion 2\r\n");
  EXPECT_EQ(body("SkipsLog.txt", freshHeader("Skip")), "skipped\r\n");
  // Folder and skip lines always reach the progress box; so does an error line with the
  // error log off.
  EXPECT_EQ(view.progress,
            (std::vector<std::string>{"Folder /out/a/ created", "skipped", "folder 2", "skipped 2",
                                      "error 2", "folder 3"}));
}

TEST_F(RunLogsTest, PartialLinesAndEmptyLines) {
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  logs.WriteLog(" Files analized: 3");
  logs.WriteLog(" Files converted: 2");
  logs.WriteLogLn(" Files in error: 1");
  logs.WriteLogLn("");
  logs.WriteFolderLogLn("\r\n");
  logs.WriteLogLn("Dokument »Überblick« → ok");
  logs.Close(LogKind::Main);
  EXPECT_EQ(body("ConvLog.txt", freshHeader("Conversion")),
            " Files analized: 3 Files converted: 2 Files in error: 1\r\n\r\n\r\n\r\n"
            "Dokument »Überblick« → ok\r\n");
}

TEST_F(RunLogsTest, ErrorLinesWithTheErrorLogOff) {
  settings.LogErrors = false;
  settings.StopOnErrors = true;
  logs.WriteErrLogLn("Conversion a.doc -> a.rtf");
  EXPECT_EQ(view.questions, (std::vector<std::string>{"Error: Conversion a.doc -> a.rtf"}));
  EXPECT_TRUE(view.progress.empty());

  settings.StopOnErrors = false;
  logs.WriteErrLogLn("next");
  EXPECT_EQ(view.progress, (std::vector<std::string>{"next"}));
  EXPECT_EQ(view.questions.size(), 1u);
}

TEST_F(RunLogsTest, LinesForLogsThatAreNotOpenAreDropped) {
  logs.WriteLogLn("before the run");
  logs.WriteErrLogLn("error before the run");
  logs.WriteWrnLogLn("warning");
  logs.WriteLog("partial");
  EXPECT_TRUE(view.progress.empty());
  EXPECT_TRUE(view.errors.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(RunLogsTest, OpeningFailureIsReportedAndLeavesTheOtherLogsOpen) {
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Error));
  logs.setLogDir(dir / "missing");
  EXPECT_EQ(logs.logDir(), dir / "missing/");
  EXPECT_FALSE(logs.OpenRunLog(LogKind::Warnings));
  EXPECT_TRUE(logs.openFailed(LogKind::Warnings));
  EXPECT_FALSE(logs.isOpen(LogKind::Warnings));
  const std::string text =
      "Err. Open " + dir.path() + "missing/WarnsLog.txt: No such file or directory";
  EXPECT_EQ(view.progress, (std::vector<std::string>{text}));
  EXPECT_TRUE(logs.isOpen(LogKind::Main));
  EXPECT_TRUE(logs.isOpen(LogKind::Error));

  // The run goes on without the warnings log; the others are still written.
  logs.continueWithout(LogKind::Warnings);
  logs.WriteLogLn("a document line");
  logs.WriteErrLogLn("an error");
  logs.WriteWrnLogLn("a warning");
  closeAll();
  EXPECT_EQ(body("ConvLog.txt", freshHeader("Conversion")), "a document line\r\n");
  EXPECT_EQ(body("ErrorLog.txt", freshHeader("Error")), text + "\r\nan error\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST_F(RunLogsTest, WithoutTheErrorLogErrorsGoToTheProgressBoxAndTheMainLogGoesOn) {
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  std::filesystem::create_directory(dir / "ErrorLog.txt");  // a folder where the log goes
  EXPECT_FALSE(logs.OpenRunLog(LogKind::Error));
  ASSERT_EQ(view.progress.size(), 1u);  // the opening failure, once
  logs.continueWithout(LogKind::Error);

  logs.WriteErrLogLn("an error");
  EXPECT_EQ(view.progress.back(), "an error");
  logs.WriteLogLn("a document line");

  settings.StopOnErrors = true;  // then each error waits for the operator, as with the log off
  logs.WriteErrLogLn("another error");
  EXPECT_EQ(view.questions, (std::vector<std::string>{"Error: another error"}));
  closeAll();
  EXPECT_EQ(body("ConvLog.txt", freshHeader("Conversion")), "a document line\r\n");

  // The next opening that succeeds takes the error log up again.
  std::filesystem::remove(dir / "ErrorLog.txt");
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Error));
  logs.WriteErrLogLn("a later error");
  logs.Close(LogKind::Error);
  EXPECT_EQ(body("ErrorLog.txt", freshHeader("Error")), "a later error\r\n");
}

TEST_F(RunLogsTest, NumberedOpeningFailureLeavesTheOtherLogsOpen) {
  settings.NewLogFile = true;
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  logs.setLogDir(dir / "missing/");
  EXPECT_FALSE(logs.OpenRunLog(LogKind::Error));
  EXPECT_TRUE(logs.isOpen(LogKind::Main));
  EXPECT_EQ(view.progress.size(), 1u);
}

class FullDeviceLogsTest : public RunLogsTest {
 protected:
  void SetUp() override {
    RunLogsTest::SetUp();
    if (::access("/dev/full", W_OK) != 0) {
      GTEST_SKIP() << "no /dev/full";
    }
  }
  void linkToFullDevice(const std::string& name) {
    std::filesystem::create_symlink("/dev/full", dir / name);
  }
};

TEST_F(FullDeviceLogsTest, WriteFailureIsReportedIntoTheErrorLog) {
  linkToFullDevice("ConvLog.txt");
  settings.OverwriteLogs = true;
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));  // the header fails: reported, log stays open
  const std::string text = "Err. Write " + dir.path() + "ConvLog.txt: No space left on device";
  EXPECT_EQ(view.progress, (std::vector<std::string>{text}));
  EXPECT_TRUE(logs.isOpen(LogKind::Main));

  ASSERT_TRUE(logs.OpenRunLog(LogKind::Error));
  logs.WriteLogLn("a document line");
  EXPECT_EQ(view.progress.size(), 2u);
  EXPECT_EQ(view.progress.back(), text);
  logs.Close(LogKind::Error);
  EXPECT_EQ(body("ErrorLog.txt", freshHeader("Error")), text + "\r\n");
  // The console's summary marks the log that lacks lines.
  EXPECT_TRUE(logs.incomplete(LogKind::Main));
  EXPECT_FALSE(logs.incomplete(LogKind::Error));
  logs.Close(LogKind::Main);
  std::filesystem::remove(dir / "ConvLog.txt");
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  EXPECT_FALSE(logs.incomplete(LogKind::Main));  // a new opening starts a whole log
  logs.Close(LogKind::Main);
}

TEST_F(FullDeviceLogsTest, FailingErrorLogDoesNotReportIntoItself) {
  linkToFullDevice("ConvLog.txt");
  linkToFullDevice("ErrorLog.txt");
  settings.OverwriteLogs = true;
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Main));
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Error));
  const size_t before = view.progress.size();
  EXPECT_EQ(before, 2u);  // one report per failed header

  logs.WriteErrLogLn("an error");
  ASSERT_EQ(view.progress.size(), before + 1);
  EXPECT_EQ(view.progress.back(),
            "Err. Write " + dir.path() + "ErrorLog.txt: No space left on device");

  logs.WriteLogLn("a line");
  logs.WriteLog("part");
  EXPECT_EQ(view.progress.size(), before + 3);
  closeAll();
}

TEST_F(RunLogsTest, ReportIOErrorRoutes) {
  ASSERT_TRUE(logs.OpenRunLog(LogKind::Error));
  logs.ReportIOError("/out/a.doc", IOOperation::Delete, 1, EACCES);
  EXPECT_EQ(view.errors,
            (std::vector<std::string>{"Error: Err. Delete /out/a.doc: Permission denied"}));
  EXPECT_TRUE(view.progress.empty());

  logs.ReportIOError("/out/b/", IOOperation::Creation, 2, ENOENT);
  EXPECT_EQ(view.progress,
            (std::vector<std::string>{"Err. Creation /out/b/: No such file or directory"}));

  logs.ReportIOError("/out/c.doc", IOOperation::Rename, 0, EEXIST);
  EXPECT_EQ(view.progress.back(), "Err. Rename /out/c.doc: File exists");
  // A deep path is cut to 132 characters on the screen and in the log alike.
  const std::string deep = "/out/" + std::string(140, 'd') + "/x.doc";
  logs.ReportIOError(deep, IOOperation::Write, 0, ENOSPC);
  const std::string cut = ("Err. Write " + deep).substr(0, 132);
  EXPECT_EQ(view.progress.back(), cut);
  logs.Close(LogKind::Error);
  EXPECT_EQ(body("ErrorLog.txt", freshHeader("Error")),
            "Err. Rename /out/c.doc: File exists\r\n" + cut + "\r\n");
}

}  // namespace
}  // namespace kelvara::run
