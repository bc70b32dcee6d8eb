#include "app/help/DebugLog.h"

#include <sys/stat.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace kelvara::app {
namespace {

std::vector<std::string> linesOf(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

bool exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

class DebugLogTest : public ::testing::Test {
 protected:
  DebugLog make(bool debugMode, bool append = false, bool header = false) {
    return DebugLog(logPath, append, header, true, debugMode, facts, temp.path() + "t",
                    platform::Locale{}, [this](const std::string& text) { shown.push_back(text); });
  }

  testing::ScratchDir program;
  testing::ScratchDir temp;
  std::string logPath = program / "HelpDebug.txt";
  DiagnosticFacts facts;
  std::vector<std::string> shown;
};

TEST_F(DebugLogTest, WithoutDebugModeNothingIsWrittenButAnOldLogIsStillDeleted) {
  program.file("HelpDebug.txt", "old run\n");
  const DebugLog log = make(false, false, true);
  log.WriteDebugLine("HelpContext(...)");
  log.WriteDebugLineF("  returned - %d", 2);
  EXPECT_FALSE(exists(logPath));
  // The message box still appears; only the log stays silent.
  log.ShowDebugMessage("Function failed");
  EXPECT_EQ(shown, std::vector<std::string>{"Function failed"});
  EXPECT_FALSE(exists(logPath));
}

TEST_F(DebugLogTest, AppendKeepsTheOldLinesAndAReadOnlyOldLogBecomesWritable) {
  program.file("HelpDebug.txt", "old run\n");
  ::chmod(logPath.c_str(), 0444);
  const DebugLog log = make(true, true);
  log.WriteDebugLine("!new line");
  EXPECT_EQ(linesOf(logPath), (std::vector<std::string>{"old run", "new line"}));
}

TEST_F(DebugLogTest, RulesMarksAndTimeStamps) {
  const DebugLog log = make(true);
  log.WriteDebugLine("-");
  log.WriteDebugLine("=");
  log.WriteDebugLine("!Log File:\tx");
  log.WriteDebugLine("-dash kept text");
  log.WriteDebugLine("=also");
  log.WriteDebugLine("ShowTopic(\"file:///h/UserGuide.html\", 0)");
  log.WriteDebugLineF("ShowHelpError(%d), \"%s\"", 2, "Help page not found: /h/x.html");
  log.WriteDebugLine("100%s unchanged without arguments");
  const std::vector<std::string> lines = linesOf(logPath);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], std::string(79, '-'));
  EXPECT_EQ(lines[1], std::string(79, '='));
  EXPECT_EQ(lines[2], "Log File:\tx");
  EXPECT_EQ(lines[3], "dash kept text");
  EXPECT_EQ(lines[4], "also");
  const std::regex stamped(R"(\d\d:\d\d:\d\d   (.*))");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(lines[5], m, stamped)) << lines[5];
  EXPECT_EQ(m[1], "ShowTopic(\"file:///h/UserGuide.html\", 0)");
  ASSERT_TRUE(std::regex_match(lines[6], m, stamped)) << lines[6];
  EXPECT_EQ(m[1], "ShowHelpError(2), \"Help page not found: /h/x.html\"");
  ASSERT_TRUE(std::regex_match(lines[7], m, stamped)) << lines[7];
  EXPECT_EQ(m[1], "100%s unchanged without arguments");
}

TEST_F(DebugLogTest, WithoutTimeStampsLinesAreWrittenAsGiven) {
  const DebugLog log(logPath, false, false, false, true, facts, temp.path(), platform::Locale{});
  log.WriteDebugLine("plain");
  EXPECT_EQ(linesOf(logPath), std::vector<std::string>{"plain"});
}

TEST_F(DebugLogTest, AFolderThatRefusesNewFilesSendsTheLogToTheTempFolder) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "root may write into a read-only folder";
  }
  const std::string locked = program.dir("locked");
  ::chmod(locked.c_str(), 0555);
  EXPECT_FALSE(FolderAcceptsNewFile(locked));
  const DebugLog log(locked + "/HelpDebug.txt", false, false, true, true, facts, temp.path() + "t",
                     platform::Locale{});
  EXPECT_EQ(log.fileName(), temp.path() + "t/HelpDebug.txt");
  ::chmod(locked.c_str(), 0755);
}

TEST_F(DebugLogTest, AMissingFolderSendsTheLogToTheTempFolderAndTheProbeFileIsGone) {
  const DebugLog log(program / "nowhere/HelpDebug.txt", false, false, true, true, facts,
                     temp.path() + "t", platform::Locale{});
  EXPECT_EQ(log.fileName(), temp.path() + "t/HelpDebug.txt");
  EXPECT_TRUE(FolderAcceptsNewFile(program.path()));
  EXPECT_FALSE(exists(program / "$_Temp_$.$$$"));
  // A file of the probe's name that is not ours is neither emptied nor deleted; the log then
  // goes to the temp folder.
  program.file("$_Temp_$.$$$", "theirs");
  EXPECT_FALSE(FolderAcceptsNewFile(program.path()));
  const DebugLog refused(logPath, false, false, true, true, facts, temp.path(), platform::Locale{});
  EXPECT_EQ(refused.fileName(), temp.path() + "HelpDebug.txt");
  refused.WriteDebugLine("!moved");
  EXPECT_EQ(linesOf(temp.path() + "HelpDebug.txt"), std::vector<std::string>{"moved"});
  EXPECT_EQ(linesOf(program / "$_Temp_$.$$$"), std::vector<std::string>{"theirs"});
}

TEST_F(DebugLogTest, TheHeaderDescribesTheMachineOnlyInDebugMode) {
  facts.operatingSystem = "Debian GNU/Linux 12 (bookworm), Linux 6.1.0 x86_64";
  facts.localeCtype = "de_DE.UTF-8";
  facts.localeTime = "de_DE.UTF-8";
  facts.localeNumeric = "de_DE.UTF-8";
  facts.exePath = "build/kelvara";
  facts.version = "1.0.2.11";
  facts.params = {"/a", "/debug"};
  facts.actualCmdLine = "build/kelvara /a /debug";
  facts.helpFolder = "/usr/share/kelvara/Help/";
  platform::Locale german;
  german.decimalSeparator = ',';
  { const DebugLog log(logPath, false, true, true, true, facts, temp.path(), german); }
  const std::vector<std::string> lines = linesOf(logPath);
  ASSERT_GE(lines.size(), 20u);
  EXPECT_EQ(lines.front(), std::string(79, '='));
  EXPECT_EQ(lines.back(), std::string(79, '='));
  EXPECT_EQ(lines[1], "Log File:             \t" + logPath);
  std::stringstream all;
  for (const std::string& line : lines) {
    all << line << "\n";
  }
  const std::string text = all.str();
  EXPECT_NE(
      text.find("Operating System:     \tDebian GNU/Linux 12 (bookworm), Linux 6.1.0 x86_64\n"),
      std::string::npos);
  EXPECT_NE(text.find("DecimalSeparator:     \t,\n"), std::string::npos);
  EXPECT_NE(text.find("Cmdline Param(s) =  \t/a | /debug\n"), std::string::npos);
  EXPECT_NE(text.find("_helpInstalled =      \tYES\n"), std::string::npos);
  EXPECT_NE(text.find("_browserInstalled =      \tNO\n"), std::string::npos);

  std::remove(logPath.c_str());
  { const DebugLog quiet(logPath, false, true, true, false, facts, temp.path(), german); }
  EXPECT_FALSE(exists(logPath));
}

}  // namespace
}  // namespace kelvara::app
