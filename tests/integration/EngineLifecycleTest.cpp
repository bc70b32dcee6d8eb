// Starting, stopping and clearing our own offices.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "EngineTestSupport.h"
#include "platform/Process.h"

namespace kelvara::word {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;

bool waitUntilGone(int pid) {
  for (int i = 0; i < 500 && platform::isProcessAlive(pid); ++i) {
    std::this_thread::sleep_for(10ms);
  }
  return !platform::isProcessAlive(pid);
}

TEST(EngineLifecycleTest, StartsItsOwnOfficeAndEndsIt) {
  TempDir state("lifecycle");
  std::vector<std::string> progress;
  LibreOfficeOptions options = testing::testOptions(state, "life");
  options.progress = [&progress](const std::string& text) { progress.push_back(text); };
  auto engine = makeLibreOfficeEngine(options);
  EXPECT_FALSE(engine->connected());
  engine->connect();
  EXPECT_TRUE(engine->connected());
  EXPECT_EQ(progress, std::vector<std::string>{"Opening LibreOffice..."});
  EXPECT_EQ(engine->productName().rfind("LibreOffice 7.", 0), 0u) << engine->productName();

  const int pid = testing::officePid(state.str());
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(std::filesystem::exists(state.str() + "/office-kelvara-test-life/user"));

  // Letting go of the engine keeps the office and its documents; the next connect takes them
  // up again.
  const std::string input = state.file("kept.rtf");
  testing::writeFile(input, "{\\rtf1 Kept over a disconnect.\\par}");
  engine->beginDocument(false);
  auto document = engine->open(OpenRequest{input, 0, false, false});
  ASSERT_TRUE(document);
  engine->endDocument();
  engine->disconnect();
  EXPECT_FALSE(engine->connected());
  engine->connect();
  EXPECT_TRUE(engine->connected());
  EXPECT_EQ(testing::officePid(state.str()), pid);
  EXPECT_EQ(document->computeStatistics().words, 4);
  document->close();

  // The user data goes into the office's profile, which keeps it at the end.
  engine->setUserData({"Ann Example", "AE", "1 Main Street"});
  engine->quit();
  EXPECT_FALSE(engine->connected());
  EXPECT_TRUE(waitUntilGone(pid));
  const std::string settings =
      testing::readFile(state.str() + "/office-kelvara-test-life/user/registrymodifications.xcu");
  EXPECT_NE(settings.find("Ann Example"), std::string::npos);
  EXPECT_NE(settings.find("1 Main Street"), std::string::npos);
}

TEST(EngineLifecycleTest, RemovesAProfileNamedAfterItsProcess) {
  TempDir state("own-profile");
  LibreOfficeOptions options;
  options.stateDir = state.str();
  auto engine = makeLibreOfficeEngine(options);
  engine->connect();
  const std::string profile =
      state.str() + "/office-kelvara-" + std::to_string(platform::currentProcessId());
  EXPECT_TRUE(std::filesystem::exists(profile));
  engine->quit();
  EXPECT_FALSE(std::filesystem::exists(profile));
}

TEST(EngineLifecycleTest, ReportsAnOfficeThatCannotStart) {
  TempDir state("unavailable");
  LibreOfficeOptions options = testing::testOptions(state, "none");
  options.sofficePath = state.file("no-office/soffice.bin");
  options.connectTimeoutSeconds = 2;
  auto engine = makeLibreOfficeEngine(options);
  try {
    engine->connect();
    FAIL() << "connected to nothing";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.kind(), EngineError::Kind::Unavailable);
    EXPECT_EQ(std::string(e.what()).rfind("Connection to LibreOffice failed: ", 0), 0u) << e.what();
  }
  EXPECT_THROW(engine->beginDocument(false), EngineError);
}

TEST(EngineLifecycleTest, OffersTheSameConvertersOnEveryStart) {
  TempDir state("converters");
  std::vector<std::vector<FileConverter>> lists;
  for (const char* instance : {"first", "second"}) {
    auto engine = makeLibreOfficeEngine(testing::testOptions(state, instance));
    engine->connect();
    lists.push_back(engine->fileConverters());
    engine->quit();
  }
  ASSERT_EQ(lists[0].size(), lists[1].size());
  for (size_t i = 0; i < lists[0].size(); ++i) {
    EXPECT_EQ(lists[0][i].formatName, lists[1][i].formatName);
    EXPECT_EQ(lists[0][i].extensions, lists[1][i].extensions);
    EXPECT_EQ(lists[0][i].openFormat, lists[1][i].openFormat);
    EXPECT_EQ(lists[0][i].saveFormat, lists[1][i].saveFormat);
  }
}

// A stand-in for an office: a shell whose argument vector reads like one, with a child.
int fakeOffice(const std::string& profileUrl) {
  platform::SpawnOptions spawn;
  spawn.program = "/bin/sh";
  spawn.argv = {"/usr/lib/libreoffice/program/soffice.bin", "-c", "sleep 60 & wait",
                "-env:UserInstallation=" + profileUrl};
  auto pid = platform::spawnProcess(spawn);
  return pid ? *pid : 0;
}

TEST(EngineLifecycleTest, ClearsStaleOfficesOfOursOnly) {
  TempDir state("stale state");  // a blank, to meet the percent-encoded profile URL
  const int stale = fakeOffice(lo::fileUrlFromPath(state.str() + "/office-kelvara-0"));
  const int foreign = fakeOffice("file:///tmp/somebody-else/profile");
  ASSERT_GT(stale, 0);
  ASSERT_GT(foreign, 0);
  // A live engine of this process on the same state folder must survive the clearing.
  auto engine = makeLibreOfficeEngine(testing::testOptions(state, "live"));
  engine->connect();
  std::this_thread::sleep_for(100ms);  // let the shells start their children
  std::filesystem::create_directories(state.str() + "/office-kelvara-0/user");

  std::vector<std::string> progress;
  const StaleOfficeReport report = clearStaleOffices(
      state.str(), [&progress](const std::string& text) { progress.push_back(text); });
  EXPECT_EQ(report.found, 1);
  EXPECT_EQ(report.ended, 1);
  EXPECT_EQ(report.stillRunning, 0);
  EXPECT_EQ(progress,
            std::vector<std::string>{"LibreOffice is running. It will be tried to close it"});
  EXPECT_EQ(platform::waitForChild(stale, 5s), 128 + 9);
  EXPECT_TRUE(platform::isProcessAlive(foreign));
  EXPECT_TRUE(engine->connected());
  // The abandoned profile went with its office; the live one stays.
  EXPECT_FALSE(std::filesystem::exists(state.str() + "/office-kelvara-0"));
  EXPECT_TRUE(std::filesystem::exists(state.str() + "/office-kelvara-test-live"));

  progress.clear();
  EXPECT_EQ(clearStaleOffices(state.str(),
                              [&progress](const std::string& text) { progress.push_back(text); })
                .found,
            0);
  EXPECT_TRUE(progress.empty());

  platform::killProcessTree(foreign);
  platform::waitForChild(foreign, 5s);
}

}  // namespace
}  // namespace kelvara::word
