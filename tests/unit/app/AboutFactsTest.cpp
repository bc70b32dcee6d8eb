#include "app/AboutFacts.h"

#include <gtest/gtest.h>

namespace kelvara::app {
namespace {

TEST(AboutFactsTest, VersionTextSplitsOffTheBuildNumber) {
  EXPECT_EQ(aboutVersionText("1.0.2.11"), "Version 1.0.2 (Build 11)");
  EXPECT_EQ(aboutVersionText("2.0.1"), "Version 2.0.1");
  EXPECT_EQ(aboutVersionText(KELVARA_VERSION), "Version 1.0.2 (Build 11)");
}

TEST(AboutFactsTest, EngineVersionNamesTheEngineAndItsRealVersion) {
  EXPECT_EQ(engineVersionText("LibreOffice 7.4.7.2"), "LibreOffice Version: 7.4.7.2");
  EXPECT_EQ(engineVersionText("Collabora Office 23.05.5.4"), "Collabora Office Version: 23.05.5.4");
  EXPECT_EQ(engineVersionText("LibreOffice"), "LibreOffice Version: unknown");
  EXPECT_EQ(engineVersionText(""), "LibreOffice Version: unknown");
}

TEST(AboutFactsTest, LabelsAndTheFullerSummary) {
  platform::SystemFacts system;
  system.osName = "Debian GNU/Linux 12 (bookworm)";
  system.osVersion = "Linux 6.1.0-18-amd64";
  system.kernel = "Linux 6.1.0-18-amd64 #1 SMP x86_64";
  system.processor = "AMD EPYC 7B13";
  system.cpuCount = 2;
  system.memoryTotal = 4ull << 30;
  system.memoryAvailable = 512ull << 20;
  system.diskPath = "/srv/out";
  system.freeDiskSpace = 123456789012ull;

  const AboutFacts facts = makeAboutFacts("LibreOffice 7.4.7.2", system);
  EXPECT_EQ(facts.version, "Version 1.0.2 (Build 11)");
  EXPECT_EQ(facts.engineVersion, "LibreOffice Version: 7.4.7.2");
  EXPECT_EQ(facts.osName, "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(facts.osVersion, "Linux 6.1.0-18-amd64");
  EXPECT_EQ(facts.processor, "Processor: AMD EPYC 7B13");
  EXPECT_EQ(facts.freeDiskSpace, "Free Disk Space: 123456789012 bytes on /srv/out");
  EXPECT_EQ(facts.systemInfo,
            "Operating system: Debian GNU/Linux 12 (bookworm)\n"
            "Kernel: Linux 6.1.0-18-amd64 #1 SMP x86_64\n"
            "Processor: AMD EPYC 7B13\n"
            "Processors online: 2\n"
            "Memory: 4.0 GiB installed, 512 MiB available\n"
            "Free disk space on /srv/out: 115.0 GiB\n"
            "Document engine: LibreOffice 7.4.7.2");
}

TEST(AboutFactsTest, MissingFactsReadUnknown) {
  platform::SystemFacts system;
  system.diskPath = "/gone";
  const AboutFacts facts = makeAboutFacts("", system);
  EXPECT_EQ(facts.osName, "unknown");
  EXPECT_EQ(facts.processor, "Processor: unknown");
  EXPECT_EQ(facts.freeDiskSpace, "Free Disk Space: unknown (/gone)");
  EXPECT_NE(facts.systemInfo.find("Memory: unknown\n"), std::string::npos);
  EXPECT_NE(facts.systemInfo.find("Processors online: unknown\n"), std::string::npos);
}

}  // namespace
}  // namespace kelvara::app
