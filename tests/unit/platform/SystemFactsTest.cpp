#include "platform/SystemFacts.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace kelvara::platform {
namespace {

using kelvara::testing::ScratchDir;

TEST(SystemFactsTest, OsReleaseNameTakesThePrettyNameInAnyShellQuoting) {
  EXPECT_EQ(osReleaseName("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 "
                          "(bookworm)\"\nVERSION_ID=\"12\"\n"),
            "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(osReleaseName("PRETTY_NAME=Alpine\n"), "Alpine");
  EXPECT_EQ(osReleaseName("PRETTY_NAME='C:\\dir \"x\"'"), "C:\\dir \"x\"");
  EXPECT_EQ(osReleaseName("PRETTY_NAME=\"Say \\\"hi\\\" \\$HOME\""), "Say \"hi\" $HOME");
  // A key that only starts like the wanted one is another key.
  EXPECT_EQ(osReleaseName("PRETTY_NAME_EXTRA=x\nPRETTY_NAME=y"), "y");
}

TEST(SystemFactsTest, OsReleaseWithoutPrettyNameFallsBackToNameAndVersion) {
  EXPECT_EQ(osReleaseName("NAME=Fedora\nVERSION=\"39 (Workstation)\"\n"),
            "Fedora 39 (Workstation)");
  EXPECT_EQ(osReleaseName("NAME=Arch\n"), "Arch");
  EXPECT_EQ(osReleaseName(""), "");
}

TEST(SystemFactsTest, CpuModelNameOnX86AndOtherArchitectures) {
  EXPECT_EQ(cpuModelName("processor\t: 0\nvendor_id\t: GenuineIntel\nmodel\t\t: 142\n"
                         "model name\t: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz\n"),
            "Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz");
  // "model" alone is a number, not the name.
  EXPECT_EQ(cpuModelName("model\t\t: 142\n"), "");
  EXPECT_EQ(cpuModelName("processor\t: 0\nBogoMIPS\t: 108.00\nHardware\t: BCM2835\n"), "BCM2835");
  EXPECT_EQ(cpuModelName("processor\t: 0\ncpu\t\t: POWER9 (raw), altivec supported\n"),
            "POWER9 (raw), altivec supported");
  EXPECT_EQ(cpuModelName("model name\t:\nHardware\t: X\n"), "X");
}

TEST(SystemFactsTest, MemInfoValuesAreConvertedToBytes) {
  const char* text =
      "MemTotal:       16314504 kB\nMemFree:         1234 kB\n"
      "MemAvailable:   8000000 kB\nHugePages_Total:       0\n";
  EXPECT_EQ(memInfoBytes(text, "MemTotal"), 16314504ull * 1024);
  EXPECT_EQ(memInfoBytes(text, "MemAvailable"), 8000000ull * 1024);
  EXPECT_EQ(memInfoBytes(text, "HugePages_Total"), 0u);
  EXPECT_EQ(memInfoBytes(text, "Mem"), std::nullopt);
  EXPECT_EQ(memInfoBytes("MemTotal: lots\n", "MemTotal"), std::nullopt);
}

TEST(SystemFactsTest, ReadsTheGivenSourcesAndFallsBackWhereTheyAreMissing) {
  ScratchDir dir;
  SystemFactsSources sources;
  sources.osRelease = dir / "missing";
  sources.osReleaseFallback = dir.file("os-release", "PRETTY_NAME=\"Test OS 1\"\n");
  sources.cpuInfo = dir / "no-cpuinfo";
  sources.memInfo = dir.file("meminfo", "MemTotal: 2048 kB\n");

  const SystemFacts facts = readSystemFacts(dir.path(), sources);
  EXPECT_EQ(facts.osName, "Test OS 1");
  EXPECT_EQ(facts.osVersion.rfind("Linux ", 0), 0u) << facts.osVersion;
  EXPECT_FALSE(facts.machine.empty());
  // Without a processor name the machine type stands in.
  EXPECT_EQ(facts.processor, facts.machine);
  EXPECT_GT(facts.cpuCount, 0u);
  EXPECT_EQ(facts.memoryTotal, 2048u * 1024);
  EXPECT_EQ(facts.memoryAvailable, std::nullopt);
  EXPECT_EQ(facts.diskPath, dir.path());
  EXPECT_TRUE(facts.freeDiskSpace.has_value());
}

TEST(SystemFactsTest, NoOsReleaseAtAllNamesTheKernelsSystem) {
  ScratchDir dir;
  SystemFactsSources sources{dir / "a", dir / "b", dir / "c", dir / "d"};
  const SystemFacts facts = readSystemFacts(dir / "not-there", sources);
  EXPECT_EQ(facts.osName, "Linux");
  EXPECT_EQ(facts.freeDiskSpace, std::nullopt);
}

}  // namespace
}  // namespace kelvara::platform
