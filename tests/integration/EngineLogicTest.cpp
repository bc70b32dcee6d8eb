// The engine's own rules, checked without starting an office.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "EngineTestSupport.h"
#include "word/lo/ContentCheck.h"
#include "word/lo/FileUrl.h"
#include "word/lo/FilterMap.h"
#include "word/lo/OfficeErrors.h"
#include "word/lo/PackageRules.h"
#include "word/lo/ProfileSeed.h"
#include "word/lo/Watchdog.h"

namespace kelvara::word::lo {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;

TEST(FilterMapTest, OpensTextAndWebPagesWithTheirFiltersAndDetectsTheRest) {
  EXPECT_EQ(openFilterFor(4).filterName, "Text");
  EXPECT_TRUE(openFilterFor(4).textRequested);
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

TEST(ContentCheckTest, TellsBinaryFromText) {
  EXPECT_TRUE(classifyContent(std::string("PK\x03\x04\0\0", 6)).binary);
  EXPECT_TRUE(classifyContent("\x01\x02\x03\x04\x05\x06\x07\x08 abc").binary);
  const auto plain = classifyContent("Hello world.\r\nSecond line\tend\f\x1a\x1a");
  EXPECT_FALSE(plain.binary);
  EXPECT_TRUE(plain.plainText);
  // UTF-16 text is full of NUL bytes, but text all the same.
  const auto utf16 = classifyContent(std::string("\xff\xfeH\0i\0", 6));
  EXPECT_TRUE(utf16.utf16);
  EXPECT_FALSE(utf16.binary);
  // WordStar marks word ends with the high bit and uses a few print controls.
  const auto wordstar =
      classifyContent(testing::readFile(testing::corpus("wshtml/wordstar/NEST.WS")));
  EXPECT_FALSE(wordstar.binary);
  EXPECT_FALSE(wordstar.plainText);
}

TEST(ContentCheckTest, RefusesBinaryDataAndPlainTextBehindADocumentExtension) {
  EXPECT_TRUE(refusePlainTextLoad(std::string("\xffWPC\0", 5), "wpd"));
  EXPECT_TRUE(refusePlainTextLoad("just some text\r\n", "doc"));
  EXPECT_TRUE(refusePlainTextLoad("just some text\r\n", "DOCX"));
  EXPECT_TRUE(refusePlainTextLoad("", "rtf"));
  EXPECT_FALSE(refusePlainTextLoad("just some text\r\n", "txt"));
  EXPECT_FALSE(refusePlainTextLoad("just some text\r\n", ""));
  EXPECT_FALSE(refusePlainTextLoad("Thi\xf3 i\xf3 chapte\xf2 1.\r\n\x1a\x1a", "DOC"));
  EXPECT_NE(refusePlainTextLoad("abc", "odt")->find(".odt"), std::string::npos);
  EXPECT_TRUE(isWordProcessingExtension("WpD"));
  EXPECT_FALSE(isWordProcessingExtension("html"));
}

TEST(ContentCheckTest, ValidatesUtf8) {
  EXPECT_TRUE(isValidUtf8("plain ascii"));
  EXPECT_TRUE(isValidUtf8("gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80"));
  EXPECT_FALSE(isValidUtf8("Latin-1 \xe9t\xe9"));
  EXPECT_FALSE(isValidUtf8("\xc0\xaf"));          // overlong slash
  EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));      // surrogate
  EXPECT_FALSE(isValidUtf8("\xf4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_TRUE(isValidUtf8("cut at the end \xe2\x82"));
}

TEST(ContentCheckTest, ChoosesTheImportEncodingFromTheFileStart) {
  EXPECT_EQ(textImportOptions(std::string("\xff\xfeh\0", 4)), "UNICODE");
  EXPECT_EQ(textImportOptions(std::string("\xfe\xff\0h", 4)), "UNICODE");
  EXPECT_EQ(textImportOptions("\xef\xbb\xbfh\xc3\xa9"), "UTF8");
  EXPECT_EQ(textImportOptions("caf\xe9 au lait"), "MS_1252");
}

TEST(ContentCheckTest, FindsBodyTextInRtf) {
  EXPECT_TRUE(rtfHasBodyText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard Hello\\par}"));
  EXPECT_TRUE(rtfHasBodyText("{\\rtf1 \\'e9}"));
  EXPECT_TRUE(rtfHasBodyText("{\\rtf1 \\u8364?}"));
  EXPECT_FALSE(
      rtfHasBodyText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\info{\\title T}}\\pard\\par}"));
  EXPECT_FALSE(rtfHasBodyText("{\\rtf1{\\*\\generator Writer;}{\\header Page}\\par}"));
  EXPECT_FALSE(rtfHasBodyText("{\\rtf1{\\pict\\pngblip 89504e47}\\par}"));
  EXPECT_FALSE(rtfHasBodyText("{\\rtf1 \\bin4 abcd\\par}"));
  EXPECT_TRUE(rtfHasBodyText(testing::readFile(
      testing::corpus("_broken/pandoc/test/rtf/table_nested_malformed_itap.rtf"))));
  EXPECT_TRUE(abiwordHasBody("<abiword><section><p>x</p></section></abiword>"));
  EXPECT_FALSE(abiwordHasBody("<abiword template=\"false\">\n</abiword>\n"));
}

// A well-formed word-processing package; tests replace single parts to break one rule each.
std::map<std::string, std::string> goodPackage() {
  return {
      {"[Content_Types].xml",
       "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
       "content-types\"><Default Extension=\"xml\" ContentType=\"application/xml\"/>"
       "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
       "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
       "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/"
       "vnd.openxmlformats-package.core-properties+xml\"/>"
       "<Override PartName=\"/docProps/APP.xml\" ContentType=\"application/"
       "vnd.openxmlformats-officedocument.extended-properties+xml\"/></Types>"},
      {"_rels/.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"r1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
       "relationships/officeDocument\" Target=\"word/document.xml\"/>"
       "<Relationship Id=\"r2\" Type=\"http://schemas.openxmlformats.org/package/2006/"
       "relationships/metadata/core-properties\" Target=\"/docProps/core.xml\"/>"
       "<Relationship Id='r3' Type='http://schemas.openxmlformats.org/officeDocument/2006/"
       "relationships/extended-properties' Target='./docProps/app.xml'/>"
       "<Relationship Id=\"r4\" Type=\"http://x/hyperlink\" Target=\"http://example.org/\" "
       "TargetMode=\"External\"/></Relationships>"},
      {"word/document.xml",
       "<?xml version=\"1.0\"?><!-- produced by hand --><w:document "
       "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
       "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
       "xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\" "
       "mc:Ignorable=\"w14\"><w:body/></w:document>"},
      {"docProps/core.xml",
       "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/"
       "core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
       "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
       "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:creator>A &amp; B"
       "</dc:creator><dcterms:created xsi:type=\"dcterms:W3CDTF\">2020-01-01T00:00:00Z"
       "</dcterms:created></cp:coreProperties>"},
      {"docProps/app.xml", "<Properties/>"},
  };
}

std::optional<std::string> check(const std::map<std::string, std::string>& parts) {
  return checkWordPackage(MemoryPackage(parts));
}

TEST(PackageRulesTest, AcceptsAWellFormedPackage) {
  EXPECT_EQ(check(goodPackage()), std::nullopt);
}

TEST(PackageRulesTest, RefusesAMissingPackagePart) {
  auto parts = goodPackage();
  parts.erase("docProps/core.xml");
  const auto problem = check(parts);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find("docProps/core.xml"), std::string::npos);
}

TEST(PackageRulesTest, RefusesPropertyPartsWithForeignContentTypes) {
  auto parts = goodPackage();
  auto& types = parts["[Content_Types].xml"];
  types.replace(types.find("application/vnd.openxmlformats-package.core"), 11, "invalid-app");
  EXPECT_TRUE(check(parts));
}

TEST(PackageRulesTest, EnforcesTheCorePropertiesRules) {
  const std::string open =
      "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/"
      "core-properties\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"";
  for (const std::string& core :
       {open + " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"/>",
        open + "><dc:title xml:lang=\"en\">T</dc:title></cp:coreProperties>",
        open + "><dcterms:creator>Me</dcterms:creator></cp:coreProperties>",
        open + "><dcterms:modified>2020-01-01</dcterms:modified></cp:coreProperties>"}) {
    auto parts = goodPackage();
    parts["docProps/core.xml"] = core;
    EXPECT_TRUE(check(parts)) << core;
  }
  auto twice = goodPackage();
  auto& rels = twice["_rels/.rels"];
  rels.insert(rels.find("</Relationships>"),
              "<Relationship Id=\"r9\" Type=\"http://schemas.openxmlformats.org/package/2006/"
              "relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>");
  EXPECT_NE(check(twice)->find("more than one"), std::string::npos);
}

TEST(PackageRulesTest, RefusesIgnorablePrefixesThatAreNotBound) {
  auto parts = goodPackage();
  auto& document = parts["word/document.xml"];
  document.replace(document.find("mc:Ignorable=\"w14\""), 18, "mc:Ignorable=\"w14 zz9\"");
  EXPECT_TRUE(check(parts));
  auto endless = goodPackage();
  endless["word/document.xml"] = "<w:document xmlns:w=\"x\" mc:Ignorable=\"w14";
  EXPECT_TRUE(check(endless));
}

TEST(PackageRulesTest, LeavesNonPackagesToTheOffice) {
  EXPECT_EQ(check({{"mimetype", "application/vnd.oasis.opendocument.text"}}), std::nullopt);
}

TEST(PackageRulesTest, ReadsStartTagsWithTheirAttributes) {
  const auto tags = xmlStartTags(
      "<?xml version='1.0'?><!-- <fake a='1'/> --><a x='1' y=\"a&amp;b\"><b/></a><c z=\"q");
  ASSERT_EQ(tags.size(), 3u);
  EXPECT_EQ(tags[0].name, "a");
  ASSERT_EQ(tags[0].attributes.size(), 2u);
  EXPECT_EQ(tags[0].attributes[1].second, "a&b");
  EXPECT_EQ(tags[1].name, "b");
  EXPECT_TRUE(tags[1].complete);
  EXPECT_FALSE(tags[2].complete);
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
