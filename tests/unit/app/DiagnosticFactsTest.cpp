#include "app/help/DiagnosticFacts.h"

#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/help/ProgramDiagnostics.h"
#include "support/ScratchDir.h"

namespace kelvara::app {
namespace {

TEST(DiagnosticFactsTest, DebugModeComesFromTheMarkerFileOrTheSwitchInAnyCase) {
  testing::ScratchDir dir;
  EXPECT_FALSE(DebugModeRequested(dir.path(), {"/a", "/debugger", "debug"}));
  EXPECT_TRUE(DebugModeRequested(dir.path(), {"/a", "-DEBUG"}));
  EXPECT_TRUE(DebugModeRequested(dir.path(), {"/Debug"}));
  dir.file("debug.debug", "");
  EXPECT_TRUE(DebugModeRequested(dir.path(), {}));
}

TEST(DiagnosticFactsTest, LocaleFollowsThePosixOrderAndSkipsEmptyVariables) {
  std::map<std::string, std::string> vars;
  const auto env = [&vars](const std::string& name) -> std::optional<std::string> {
    const auto it = vars.find(name);
    return it == vars.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  EXPECT_EQ(ResolveLocale("LC_TIME", env), "C");
  vars["LANG"] = "en_GB.UTF-8";
  EXPECT_EQ(ResolveLocale("LC_TIME", env), "en_GB.UTF-8");
  vars["LC_TIME"] = "de_DE.UTF-8";
  EXPECT_EQ(ResolveLocale("LC_TIME", env), "de_DE.UTF-8");
  EXPECT_EQ(ResolveLocale("LC_NUMERIC", env), "en_GB.UTF-8");
  vars["LC_ALL"] = "";
  EXPECT_EQ(ResolveLocale("LC_TIME", env), "de_DE.UTF-8");
  vars["LC_ALL"] = "fr_FR.UTF-8";
  EXPECT_EQ(ResolveLocale("LC_TIME", env), "fr_FR.UTF-8");
}

TEST(DiagnosticFactsTest, OsReleaseNamesPreferThePrettyOne) {
  EXPECT_EQ(OsReleasePrettyName("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 "
                                "(bookworm)\"\nID=debian\n"),
            "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(OsReleasePrettyName("NAME=Fedora\n# comment\n"), "Fedora");
  EXPECT_EQ(OsReleasePrettyName(""), "");
}

TEST(DiagnosticFactsTest, CollectedFactsNameThisProcess) {
  const DiagnosticFacts f = CollectDiagnosticFacts({"build/tests/prog", "/a", "/debug"}, "");
  EXPECT_EQ(f.runDir, "build/tests");
  EXPECT_EQ(f.actualCmdLine, "build/tests/prog /a /debug");
  ASSERT_EQ(f.params.size(), 2u);
  EXPECT_EQ(f.modulePath, f.moduleDir + "/" + f.moduleName);
  EXPECT_EQ(f.moduleDir, ExecutableDir());
  EXPECT_FALSE(f.operatingSystem.empty());
}

TEST(DiagnosticFactsTest, TheProgramLogLiesBesideTheProgramAndStaysSilentWithoutTheSwitch) {
  const DebugLog quiet = OpenProgramDebugLog({"prog", "/a"});
  EXPECT_FALSE(quiet.debugMode());
  EXPECT_EQ(quiet.fileName(), ExecutableDir() + "/HelpDebug.txt");
  EXPECT_TRUE(OpenProgramDebugLog({"prog", "-Debug"}).debugMode());
  std::remove((ExecutableDir() + "/HelpDebug.txt").c_str());
}

}  // namespace
}  // namespace kelvara::app
