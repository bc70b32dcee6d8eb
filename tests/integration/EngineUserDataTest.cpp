// What a user sees of the user data in a saved document's properties.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "EngineTestSupport.h"
#include "support/TextSearch.h"
#include "support/ZipEntry.h"

namespace kelvara::word {
namespace {

constexpr int32_t kDocx = 16;
constexpr const char* kAuthoredRtf = "{\\rtf1\\ansi{\\info{\\author Old Author}}Hello there\\par}";

class EngineUserDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_ = makeLibreOfficeEngine(testing::testOptions(state_, "user-data"));
    engine_->connect();
    testing::writeFile(out_.file("authored.rtf"), kAuthoredRtf);
  }
  void TearDown() override { engine_->quit(); }

  // Saves the RTF as .docx and returns its core properties.
  std::string saveAndReadProperties(bool removePersonalInformation, const std::string& name) {
    engine_->beginDocument(false);
    auto document = engine_->open(OpenRequest{out_.file("authored.rtf"), 0, false, false});
    EXPECT_TRUE(document) << engine_->lastErrorText();
    if (!document) {
      return {};
    }
    document->setRemovePersonalInformation(removePersonalInformation);
    document->saveAs(SaveRequest{out_.file(name), kDocx, {}});
    document->close();
    engine_->endDocument();
    return ::kelvara::testing::ReadZipEntry(out_.file(name), "docProps/core.xml").value_or("");
  }

  testing::TempDir state_{"user-data-state"};
  testing::TempDir out_{"user-data-out"};
  std::unique_ptr<DocumentEngine> engine_;
};

TEST_F(EngineUserDataTest, TheUserNameSignsTheSaveUnlessPersonalInformationIsRemoved) {
  engine_->setUserData({std::string("Ann Example"), std::nullopt, std::nullopt});
  const std::string kept = saveAndReadProperties(false, "kept.docx");
  EXPECT_TRUE(::kelvara::testing::contains(kept, "<dc:creator>Old Author</dc:creator>")) << kept;
  EXPECT_TRUE(
      ::kelvara::testing::contains(kept, "<cp:lastModifiedBy>Ann Example</cp:lastModifiedBy>"))
      << kept;

  const std::string removed = saveAndReadProperties(true, "removed.docx");
  EXPECT_FALSE(::kelvara::testing::contains(removed, "Old Author")) << removed;
  EXPECT_FALSE(::kelvara::testing::contains(removed, "Ann Example")) << removed;
}

TEST_F(EngineUserDataTest, WithoutAUserNameTheDocumentKeepsItsOwnNames) {
  engine_->setUserData({std::nullopt, std::string("AE"), std::nullopt});
  const std::string kept = saveAndReadProperties(false, "kept.docx");
  EXPECT_TRUE(::kelvara::testing::contains(kept, "<dc:creator>Old Author</dc:creator>")) << kept;
  EXPECT_FALSE(::kelvara::testing::contains(kept, "Ann Example")) << kept;
}

}  // namespace
}  // namespace kelvara::word
