#include "app/help/HelpRouter.h"

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/help/HelpCommands.h"
#include "app/help/HelpFolder.h"
#include "support/ScratchDir.h"

namespace kelvara::app {
namespace {

std::string lastLineText(const std::string& path, int fromEnd = 0) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  const std::string line = lines.at(lines.size() - 1 - static_cast<size_t>(fromEnd));
  // Drop the time stamp and its three blanks.
  const size_t at = line.find("   ");
  return at == std::string::npos ? line : line.substr(at + 3);
}

class HelpRouterTest : public ::testing::Test {
 protected:
  HelpRouterTest()
      : log(logDir / "HelpDebug.txt", false, false, true, true, DiagnosticFacts{}, logDir.path(),
            platform::Locale{}) {
    help.file("Help/UserGuide.html", "<html></html>");
    help.file("Help/Sub Dir/Page One.html", "<html></html>");
  }

  HelpRouter router(std::string folder, bool openerSucceeds = true) {
    return HelpRouter(
        std::move(folder),
        [this, openerSucceeds](const std::string& url) {
          opened.push_back(url);
          return openerSucceeds;
        },
        [this](const std::string& text) { messages.push_back(text); }, &log);
  }

  testing::ScratchDir help;
  testing::ScratchDir logDir;
  DebugLog log;
  std::vector<std::string> opened;
  std::vector<std::string> messages;
};

TEST_F(HelpRouterTest, TopicPathsTakeForwardSlashesALeadingSlashAndBlanks) {
  EXPECT_EQ(HelpTopicPath("/usr/share/kelvara/Help/", "UserGuide.html"),
            "/usr/share/kelvara/Help/UserGuide.html");
  EXPECT_EQ(HelpTopicPath("/opt/My%20Apps/Help", "  Sub%20Dir\\Page%20One.html "),
            "/opt/My Apps/Help/Sub Dir/Page One.html");
  EXPECT_EQ(HelpTopicPath("/h/", "\\Configuration.html#dates"), "/h/Configuration.html#dates");
  EXPECT_EQ(HelpTopicPath("/h/", ""), "/h/index.html");
}

TEST_F(HelpRouterTest, APageOpensAsAnEncodedFileUrlAndTheStepsAreLogged) {
  HelpRouter r = router(help / "Help/");
  EXPECT_EQ(r.ShowHelpTopic("Sub%20Dir\\Page%20One.html"), kHelpShown);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], FileUrl(help / "Help/Sub Dir/Page One.html"));
  EXPECT_NE(opened[0].find("/Sub%20Dir/Page%20One.html"), std::string::npos);
  EXPECT_TRUE(messages.empty());
  const std::string logFile = log.fileName();
  EXPECT_EQ(lastLineText(logFile), "  returned - 0");
  EXPECT_EQ(lastLineText(logFile, 1), "ShowTopic(\"" + opened[0] + "\", 0)");
  EXPECT_EQ(lastLineText(logFile, 2),
            "HelpContext(\"" + help / "Help/" + "\", Sub%20Dir\\Page%20One.html, \"\", 0)");
  EXPECT_EQ(lastLineText(logFile, 3), "THelpRouter.Create(\"" + help / "Help/" + "\",\"\", 0)");
}

TEST_F(HelpRouterTest, AnAnchorReachesTheBrowserButNotTheExistenceCheck) {
  HelpRouter r = router(help / "Help");
  EXPECT_EQ(r.ShowHelpTopic("UserGuide.html#tray"), kHelpShown);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "file://" + help / "Help/UserGuide.html#tray");
}

TEST_F(HelpRouterTest, FailuresEndInOneMessageAndNothingIsOpened) {
  {
    HelpRouter missing = router(help / "Help/");
    EXPECT_EQ(missing.ShowHelpTopic("FontSetup.html"), kHelpPageMissing);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Help page not found: " + help / "Help/FontSetup.html");
    EXPECT_EQ(lastLineText(log.fileName()),
              "ShowHelpError(2), \"Help page not found: " + help / "Help/FontSetup.html\"");
  }
  EXPECT_EQ(lastLineText(log.fileName()), "THelpRouter.Destroy");

  HelpRouter notInstalled = router("");
  EXPECT_EQ(notInstalled.ShowHelpTopic("UserGuide.html"), kHelpNotInstalled);
  EXPECT_EQ(messages.back(), "The help pages of Kelvara are not installed.");

  HelpRouter noBrowser = router(help / "Help/", false);
  EXPECT_EQ(noBrowser.ShowHelpTopic("UserGuide.html"), kHelpNotOpened);
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_EQ(messages.back().rfind(
                "No application could open the help page " + help / "Help/UserGuide.html", 0),
            0u);
  EXPECT_EQ(messages.size(), 3u);

  noBrowser.ShowHelpError(0);
  EXPECT_EQ(messages.size(), 3u);
  noBrowser.ShowHelpError(7);
  EXPECT_EQ(messages.back(), "Unknown error returned by HelpContext");
}

TEST(HelpCommandNameTest, KnownAndUnknownCommands) {
  EXPECT_EQ(HelpCommandName(1), "1 (HELP_CONTEXT)");
  EXPECT_EQ(HelpCommandName(3), "3 (HELP_INDEX or HELP_CONTENTS)");
  EXPECT_EQ(HelpCommandName(515), "515 (HELP_SETWINPOS)");
  EXPECT_EQ(HelpCommandName(6), "6 (?\?)");
}

TEST(HelpFolderTest, TheBuildTreeWinsOverTheInstalledPagesAndNoneGivesEmpty) {
  testing::ScratchDir root;
  const std::string bin = root.dir("usr/bin");
  EXPECT_EQ(HelpFolder(bin), "");
  EXPECT_EQ(ExpectedHelpFolder(bin), bin + "Help/");
  root.dir("usr/share/kelvara/Help");
  EXPECT_EQ(HelpFolder(bin), root / "usr/share/kelvara/Help/");
  root.dir("usr/bin/Help");
  EXPECT_EQ(HelpFolder(bin + "/"), root / "usr/bin/Help/");
  EXPECT_EQ(HelpFolder(""), "");
}

TEST(HelpFileUrlTest, ReservedBytesAreEncodedAndTheFragmentKept) {
  EXPECT_EQ(FileUrl("/a b/c#d%e.html"), "file:///a%20b/c#d%e.html");
  EXPECT_EQ(FileUrl("/Ü?&.html"), "file:///%C3%9C%3F%26.html");
}

}  // namespace
}  // namespace kelvara::app
