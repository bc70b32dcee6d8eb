// The packaging rules of word-processing packages, and which breaches still leave a document
// that the office reads in full.
#include "word/lo/PackageRules.h"

#include <gtest/gtest.h>

namespace kelvara::word::lo {
namespace {

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

PackageFindings check(const std::map<std::string, std::string>& parts) {
  return checkWordPackage(MemoryPackage(parts));
}

std::vector<std::string> faults(const std::map<std::string, std::string>& parts) {
  const PackageFindings findings = check(parts);
  EXPECT_EQ(findings.unreadable, std::nullopt);
  return findings.ignoredFaults;
}

void addPackageRelationship(std::map<std::string, std::string>& parts, const std::string& type,
                            const std::string& target) {
  auto& rels = parts["_rels/.rels"];
  rels.insert(rels.find("</Relationships>"),
              "<Relationship Id=\"rx\" Type=\"http://schemas.openxmlformats.org/" + type +
                  "\" Target=\"" + target + "\"/>");
}

const std::string kCoreOpen =
    "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/"
    "core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
    "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"";

TEST(PackageRulesTest, FindsNothingInAWellFormedPackage) {
  const PackageFindings findings = check(goodPackage());
  EXPECT_EQ(findings.unreadable, std::nullopt);
  EXPECT_TRUE(findings.ignoredFaults.empty());
}

TEST(PackageRulesTest, AMissingMetadataPartIsPassedOver) {
  auto parts = goodPackage();
  parts.erase("docProps/core.xml");
  EXPECT_EQ(faults(parts),
            std::vector<std::string>{"the part docProps/core.xml named by the package is missing"});

  // A thumbnail that a generator named but never wrote.
  auto thumbnail = goodPackage();
  addPackageRelationship(thumbnail, "package/2006/relationships/metadata/thumbnail",
                         "docProps/thumbnail.jpeg");
  EXPECT_EQ(
      faults(thumbnail),
      std::vector<std::string>{"the part docProps/thumbnail.jpeg named by the package is missing"});
}

TEST(PackageRulesTest, PropertyPartsWithForeignContentTypesArePassedOver) {
  auto parts = goodPackage();
  auto& types = parts["[Content_Types].xml"];
  types.replace(types.find("application/vnd.openxmlformats-package.core"), 11, "invalid-app");
  types.replace(types.find("application/vnd.openxmlformats-officedocument.extended"), 11,
                "invalid-app");
  EXPECT_EQ(faults(parts),
            (std::vector<std::string>{"the core properties part has the wrong content type",
                                      "the extended properties part has the wrong content type"}));

  // No override at all: the default for .xml does not make a property part.
  auto bare = goodPackage();
  auto& bareTypes = bare["[Content_Types].xml"];
  const auto at = bareTypes.find("<Override PartName=\"/docProps/core.xml\"");
  bareTypes.erase(at, bareTypes.find("/>", at) + 2 - at);
  EXPECT_EQ(faults(bare),
            std::vector<std::string>{"the core properties part has the wrong content type"});
}

TEST(PackageRulesTest, CorePropertiesFaultsArePassedOverOneByOne) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {kCoreOpen + " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"/>",
       "the core properties use markup compatibility"},
      {kCoreOpen + "><dc:title xml:lang=\"en\">T</dc:title></cp:coreProperties>",
       "the core properties carry xml:lang"},
      {kCoreOpen + "><dcterms:creator>Me</dcterms:creator></cp:coreProperties>",
       "the core properties use dcterms:creator"},
      {kCoreOpen + "><dcterms:created>2020-01-01</dcterms:created></cp:coreProperties>",
       "the core properties give dcterms:created without its W3CDTF type"},
      {kCoreOpen + "><dcterms:modified xsi:type=\"xsd:string\">2020</dcterms:modified>"
                   "</cp:coreProperties>",
       "the core properties give dcterms:modified without its W3CDTF type"},
  };
  for (const auto& [core, fault] : cases) {
    auto parts = goodPackage();
    parts["docProps/core.xml"] = core;
    EXPECT_EQ(faults(parts), std::vector<std::string>{fault}) << core;
  }
}

TEST(PackageRulesTest, ReportsEachFaultOnceInTheOrderFound) {
  auto parts = goodPackage();
  parts["docProps/core.xml"] =
      kCoreOpen +
      "><dc:title xml:lang=\"en\">T</dc:title><dc:subject xml:lang=\"fr\">S</dc:subject>"
      "<dcterms:created>2020</dcterms:created></cp:coreProperties>";
  parts.erase("docProps/app.xml");
  EXPECT_EQ(faults(parts), (std::vector<std::string>{
                               "the core properties carry xml:lang",
                               "the core properties give dcterms:created without its W3CDTF type",
                               "the part docProps/app.xml named by the package is missing"}));
}

TEST(PackageRulesTest, ASecondCorePropertiesPartIsPassedOver) {
  auto parts = goodPackage();
  parts["docProps/core2.xml"] = parts["docProps/core.xml"];
  addPackageRelationship(parts, "package/2006/relationships/metadata/core-properties",
                         "docProps/core2.xml");
  const auto found = faults(parts);
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found.back(), "the package has more than one core properties part");
}

TEST(PackageRulesTest, UnboundIgnorablePrefixesArePassedOver) {
  auto parts = goodPackage();
  auto& document = parts["word/document.xml"];
  document.replace(document.find("mc:Ignorable=\"w14\""), 18, "mc:Ignorable=\"w14 zz9\"");
  EXPECT_EQ(faults(parts),
            std::vector<std::string>{"the main part declares an unbound prefix ignorable"});
}

TEST(PackageRulesTest, APackageWithoutItsMainPartCannotBeRead) {
  auto missing = goodPackage();
  missing.erase("word/document.xml");
  EXPECT_EQ(check(missing).unreadable, "the main part word/document.xml is missing");

  auto unnamed = goodPackage();
  auto& rels = unnamed["_rels/.rels"];
  rels.replace(rels.find("relationships/officeDocument"), 28, "relationships/somethingElse");
  EXPECT_EQ(check(unnamed).unreadable, "the package names no main part");

  auto cut = goodPackage();
  cut["word/document.xml"] = "<w:document xmlns:w=\"x\" mc:Ignorable=\"w14";
  EXPECT_EQ(check(cut).unreadable, "the main part word/document.xml is cut off");

  // A first element longer than what is read of it is not taken for a cut one.
  auto longRoot = goodPackage();
  longRoot["word/document.xml"] = "<w:document xmlns:w=\"x\" w:note=\"" +
                                  std::string(1 << 20, 'a') + "\"><w:body/></w:document>";
  EXPECT_EQ(check(longRoot).unreadable, std::nullopt);
}

TEST(PackageRulesTest, LeavesNonPackagesToTheOffice) {
  const PackageFindings findings = check({{"mimetype", "application/vnd.oasis.opendocument.text"}});
  EXPECT_EQ(findings.unreadable, std::nullopt);
  EXPECT_TRUE(findings.ignoredFaults.empty());
}

TEST(PackageRulesTest, NamesTheMainPartAsStored) {
  auto parts = goodPackage();
  EXPECT_EQ(mainPartName(MemoryPackage(parts)), "word/document.xml");
  parts["WORD/Document.XML"] = parts["word/document.xml"];
  parts.erase("word/document.xml");
  EXPECT_EQ(mainPartName(MemoryPackage(parts)), "WORD/Document.XML");
  parts.erase("WORD/Document.XML");
  EXPECT_EQ(mainPartName(MemoryPackage(parts)), std::nullopt);
  EXPECT_EQ(mainPartName(MemoryPackage({})), std::nullopt);
}

std::string mainPart(const std::string& body,
                     const std::string& root =
                         "w:document xmlns:w=\"http://schemas."
                         "openxmlformats.org/wordprocessingml/2006/main\"") {
  return "<?xml version=\"1.0\"?><" + root +
         " xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\" "
         "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><w:body>" +
         body + "</w:body></w:document>";
}

TEST(PackageRulesTest, FindsBodyTextInTheMainPart) {
  EXPECT_TRUE(wordprocessingHasBodyText(mainPart("<w:p><w:r><w:t>Hello</w:t></w:r></w:p>")));
  EXPECT_TRUE(wordprocessingHasBodyText(
      mainPart("<w:p><w:r><w:t xml:space=\"preserve\"> A </w:t></w:r></w:p>")));
  EXPECT_TRUE(wordprocessingHasBodyText(mainPart("<w:p><w:r><w:t>&amp;</w:t></w:r></w:p>")));
  EXPECT_TRUE(wordprocessingHasBodyText(
      mainPart("<w:p><w:ins w:author=\"a>b\"><w:r><w:t>new</w:t></w:r></w:ins></w:p>")));
  // Other prefixes, and the strict namespace.
  EXPECT_TRUE(wordprocessingHasBodyText(
      "<x:document xmlns:x=\"http://purl.oclc.org/ooxml/wordprocessingml/main\"><x:body><x:p>"
      "<x:r><x:t>Strict</x:t></x:r></x:p></x:body></x:document>"));
  EXPECT_TRUE(wordprocessingHasBodyText(
      "<document xmlns=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><body>"
      "<p><r><t>Default namespace</t></r></p></body></document>"));
  // Text after a text box is body text again.
  EXPECT_TRUE(wordprocessingHasBodyText(
      mainPart("<w:p><w:r><w:txbxContent><w:p/></w:txbxContent><w:t>after</w:t></w:r></w:p>")));
}

TEST(PackageRulesTest, TextTheBodyDoesNotShowIsNoBodyText) {
  for (const std::string& body : {
           std::string("<w:p/><w:p><w:pPr/></w:p>"),
           std::string("<w:p><w:r><w:t/></w:r><w:r><w:t>  </w:t></w:r></w:p>"),
           std::string("<w:p><w:del><w:r><w:delText>gone</w:delText></w:r></w:del></w:p>"),
           std::string("<w:p><w:r><w:instrText>PAGE</w:instrText></w:r></w:p>"),
           std::string("<w:p><m:oMath><m:r><m:t>x</m:t></m:r></m:oMath></w:p>"),
           std::string("<w:p><w:r><w:txbxContent><w:p><w:r><w:t>boxed</w:t></w:r></w:p>"
                       "</w:txbxContent></w:r></w:p>"),
           std::string("<w:p><w:r><a:t>shape</a:t></w:r></w:p>"),
           std::string("<w:p><mc:AlternateContent><mc:Choice Requires=\"w14\"><w:r><w:t>new"
                       "</w:t></w:r></mc:Choice><mc:Fallback/></mc:AlternateContent></w:p>"),
           std::string("<!-- <w:t>commented</w:t> --><w:p/>"),
       }) {
    EXPECT_FALSE(wordprocessingHasBodyText(mainPart(body))) << body;
  }
  EXPECT_FALSE(wordprocessingHasBodyText(""));
  EXPECT_FALSE(wordprocessingHasBodyText("<w:document xmlns:w=\"urn:other\"><w:t>x</w:t>"));
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
  EXPECT_EQ(xmlStartTags("<a/><b/><c/>", 2).size(), 2u);
}

}  // namespace
}  // namespace kelvara::word::lo
