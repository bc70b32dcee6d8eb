// The engine's own rules, checked without starting an office.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "EngineTestSupport.h"
#include "word/OfficeOwners.h"
#include "word/lo/FileUrl.h"
#include "word/lo/FilterMap.h"
#include "word/lo/OfficeErrors.h"
#include "word/lo/OfficeNames.h"
#include "word/lo/ProfileSeed.h"
#include "word/lo/StaleOffices.h"
#include "word/lo/Watchdog.h"

namespace kelvara::word::lo {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;

TEST(FilterMapTest, OpensTextAndWebPagesWithTheirFiltersAndDetectsTheRest) {
  EXPECT_EQ(openFilterFor(4).filterName, "Text (encoded)");
  EXPECT_TRUE(openFilterFor(4).textRequested);
  EXPECT_TRUE(openFilterFor(4).sniffEncoding);
  EXPECT_EQ(openFilterFor(5).filterName, "Text (encoded)");
  EXPECT_TRUE(openFilterFor(5).sniffEncoding);
  EXPECT_EQ(openFilterFor(7).filterName, "HTML (StarWriter)");
  EXPECT_FALSE(openFilterFor(7).textRequested);
  for (int code : {0, 1, 2, 3, 6, 8, 13}) {
    EXPECT_TRUE(openFilterFor(code).filterName.empty()) << code;
    EXPECT_FALSE(openFilterFor(code).textRequested) << code;
  }
}

TEST(FilterMapTest, MapsTheSaveCodesOfTheOutputList) {
  EXPECT_EQ(saveFilterFor(16)->filterName, "MS Word 2007 XML");
  EXPECT_EQ(saveFilterFor(12)->filterName, "MS Word 2007 XML");
  EXPECT_EQ(saveFilterFor(13)->filterName, "MS Word 2007 XML VBA");
  EXPECT_EQ(saveFilterFor(14)->filterName, "MS Word 2007 XML Template");
  EXPECT_EQ(saveFilterFor(0)->filterName, "MS Word 97");
  EXPECT_EQ(saveFilterFor(1)->filterName, "MS Word 97 Vorlage");
  EXPECT_EQ(saveFilterFor(6)->filterName, "Rich Text Format");
  EXPECT_EQ(saveFilterFor(17)->filterName, "writer_pdf_Export");
  EXPECT_EQ(saveFilterFor(8)->filterName, "HTML (StarWriter)");
  EXPECT_EQ(saveFilterFor(10)->filterName, "XHTML Writer File");
  EXPECT_EQ(saveFilterFor(11)->filterName, "MS Word 2003 XML");
  EXPECT_TRUE(saveFilterFor(2)->plainText);
  EXPECT_FALSE(saveFilterFor(16)->plainText);
  for (int code : {15, 18, 19, 20, 21, 22}) {
    ASSERT_TRUE(saveFilterFor(code)) << code;
    EXPECT_TRUE(saveFilterFor(code)->filterName.empty()) << code;
    EXPECT_FALSE(saveFilterFor(code)->formatName.empty()) << code;
  }
  EXPECT_EQ(saveFilterFor(18)->formatName, "XPS Document");
  for (int code : {-1, 3, 5, 7, 23, 999}) {
    EXPECT_FALSE(saveFilterFor(code)) << code;
  }
}

TEST(FilterMapTest, ConverterCodesDependOnlyOnTheNameAndAvoidClashes) {
  const int32_t wp = converterCode("WordPerfect", {});
  EXPECT_EQ(wp, converterCode("WordPerfect", {}));
  EXPECT_GE(wp, kFirstConverterCode);
  EXPECT_LT(wp, kFirstConverterCode + kConverterCodeSpan);
  EXPECT_NE(wp, converterCode("MS_Works", {}));
  const int32_t next = converterCode("WordPerfect", {wp});
  EXPECT_NE(next, wp);
  EXPECT_GE(next, kFirstConverterCode);
  // The span wraps around instead of leaving it.
  std::set<int32_t> taken;
  for (int32_t c = wp; c < kFirstConverterCode + kConverterCodeSpan; ++c) {
    taken.insert(c);
  }
  EXPECT_EQ(converterCode("WordPerfect", taken), kFirstConverterCode);
}

TEST(FilterMapTest, TextExportOptionsFollowTheLineEnding) {
  EXPECT_EQ(textExportOptions(TextSaveOptions{0, false, false}), "UTF8,CRLF,,,false");
  EXPECT_EQ(textExportOptions(TextSaveOptions{1, true, true}), "UTF8,CR,,,false");
  EXPECT_EQ(cannotWriteMessage("XPS Document"),
            "LibreOffice cannot write the output format XPS Document");
}

TEST(FilterMapTest, NamesEachTextOptionTheExportCannotHonour) {
  EXPECT_TRUE(ignoredTextOptions(TextSaveOptions{0, false, false}).empty());
  const auto both = ignoredTextOptions(TextSaveOptions{1, true, true});
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].rfind("Warning - InsLineBreaks is not supported", 0), 0u);
  EXPECT_EQ(both[1].rfind("Warning - AllowSubst has no effect", 0), 0u);
}

TEST(OfficeErrorsTest, PutsCodesIntoWords) {
  EXPECT_EQ(officeErrorText(officeerror::kWrongFormat), "[Error:3861] File format error");
  EXPECT_EQ(officeErrorText(officeerror::kNotExists), "[Error:770] File not found");
  EXPECT_EQ(describeOfficeError(officeerror::kWrongPassword),
            "Wrong password / encrypted document");
  EXPECT_EQ(describeOfficeError(officeerror::kWrongPasswordSvx),
            "Wrong password / encrypted document");
  EXPECT_EQ(describeOfficeError(officeerror::kBrokenPackage), "File is corrupt");
  EXPECT_EQ(describeOfficeError(officeerror::kAccessDenied), "Access denied");
  EXPECT_EQ(describeOfficeError(officeerror::kGeneral), "General input/output error");
  // The same error carrying a message of its own (dynamic bits) still reads the same.
  EXPECT_EQ(describeOfficeError(officeerror::kFormatAtPosition | (1u << 26)), "File format error");
  // An unknown code of a known class.
  EXPECT_EQ(describeOfficeError(officeerror::make(56, 15, 200)), "File format error");
  EXPECT_EQ(officeErrorText(42, "Words"), "[Error:42] Words");
}

TEST(ProfileSeedTest, SeedsTheVersionAndTheQuietSettingsOnce) {
  TempDir dir("seed");
  testing::writeFile(dir.file("bootstraprc"), "[Bootstrap]\nProductKey=LibreOffice 7.4\n");
  EXPECT_EQ(officeProductVersion(dir.str()), "7.4");
  EXPECT_EQ(officeProductVersion(dir.file("missing")), "");

  const std::string xml = profileRegistryModifications("7.4");
  EXPECT_NE(xml.find("ooSetupLastVersion\" oor:op=\"fuse\" oor:type=\"xs:string\"><value>7.4<"),
            std::string::npos);
  EXPECT_NE(xml.find("DisableMacrosExecution"), std::string::npos);
  EXPECT_NE(xml.find("/org.openoffice.Office.Recovery/AutoSave"), std::string::npos);

  const std::string profile = dir.file("office-kelvara-x");
  ASSERT_TRUE(seedProfile(profile, "7.4"));
  const std::string file = profile + "/user/registrymodifications.xcu";
  EXPECT_EQ(testing::readFile(file), xml);
  testing::writeFile(file, "kept");
  ASSERT_TRUE(seedProfile(profile, "7.4"));
  EXPECT_EQ(testing::readFile(file), "kept");
}

TEST(OfficeNamesTest, EveryNameCarriesOurWordAndNoTwoRunsShareAPipe) {
  const std::string pid = std::to_string(platform::currentProcessId());
  // Unnamed: the office is this process's alone, and so is its profile.
  const OfficeNames own = officeNames("/s", "");
  EXPECT_EQ(own.instance, "kelvara-" + pid);
  EXPECT_EQ(own.pipe, own.instance);
  EXPECT_EQ(own.profileDir, profileRoot("/s") + "kelvara-" + pid);
  EXPECT_TRUE(own.ownsProfile);

  // A pool's further offices of this run are its own too.
  const OfficeNames pooled = officeNames("/s", "kelvara-" + pid + "-1");
  EXPECT_EQ(pooled.pipe, "kelvara-" + pid + "-1");
  EXPECT_TRUE(pooled.ownsProfile);

  // Named: a later run takes the profile up again, but never another run's pipe.
  const OfficeNames named = officeNames("/s", "kelvara-7-1");
  EXPECT_EQ(named.instance, "kelvara-7-1");
  EXPECT_EQ(named.pipe, "kelvara-7-1-" + pid);
  EXPECT_EQ(named.profileDir, profileRoot("/s") + "kelvara-7-1");
  EXPECT_FALSE(named.ownsProfile);

  // A foreign name is made safe for a file name and marked as ours, so that clearing finds it.
  const OfficeNames foreign = officeNames("/s", "my office/../x");
  EXPECT_EQ(foreign.instance, "kelvara-my_office_.._x");
  EXPECT_EQ(foreign.profileDir.find('/', profileRoot("/s").size()), std::string::npos);
  EXPECT_TRUE(
      officeProfileOf({"soffice.bin", "-env:UserInstallation=file://" + foreign.profileDir}, "/s"));
}

TEST(WatchdogTest, FiresOnceWhenTheLimitPasses) {
  std::atomic<int> fired{0};
  Watchdog watchdog([&fired] { ++fired; });
  watchdog.arm(50ms);
  for (int i = 0; i < 200 && fired == 0; ++i) {
    std::this_thread::sleep_for(5ms);
  }
  EXPECT_EQ(fired, 1);
  EXPECT_TRUE(watchdog.expired());
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(fired, 1);
  watchdog.arm(10s);
  EXPECT_FALSE(watchdog.expired());
}

TEST(WatchdogTest, StaysQuietWhenDisarmedOrGivenNoLimit) {
  std::atomic<int> fired{0};
  Watchdog watchdog([&fired] { ++fired; });
  watchdog.arm(50ms);
  watchdog.disarm();
  watchdog.arm(0ms);
  std::this_thread::sleep_for(150ms);
  EXPECT_EQ(fired, 0);
  EXPECT_FALSE(watchdog.expired());
}

TEST(FileUrlTest, EncodesEverythingButPlainCharacters) {
  EXPECT_EQ(fileUrlFromPath("/a b/c%d/\xc3\xa4.doc"), "file:///a%20b/c%25d/%C3%A4.doc");
  EXPECT_EQ(fileUrlFromPath("/x/./y/../z.rtf"), "file:///x/z.rtf");
  const std::string relative = fileUrlFromPath("rel.txt");
  EXPECT_EQ(relative.rfind("file:///", 0), 0u);
  EXPECT_NE(relative.find("/rel.txt"), std::string::npos);
}

}  // namespace
}  // namespace kelvara::word::lo
