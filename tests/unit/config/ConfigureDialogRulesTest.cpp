#include "config/ConfigureDialogRules.h"

#include <gtest/gtest.h>

#include "metadata/Administrator.h"
#include "support/FakeMetadataPlatform.h"

namespace kelvara::config {
namespace {

TEST(ConfigureDialogRulesTest, EachTabHasItsOwnHelpAnchor) {
  EXPECT_EQ(ConfigureHelpTopic(0, 5), "Configuration.html#program");
  EXPECT_EQ(ConfigureHelpTopic(2, 0), "Configuration.html#external");
  EXPECT_EQ(ConfigureHelpTopic(3, 0), "Configuration.html#userdata");
  const char* inner[] = {"general", "dates", "attributes", "security", "filters", "version", "log"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(ConfigureHelpTopic(1, i), std::string("Configuration.html#") + inner[i]);
  }
  // Out of range: the page itself, or the conversion options' part of it.
  EXPECT_EQ(ConfigureHelpTopic(1, 7), "Configuration.html#conversion");
  EXPECT_EQ(ConfigureHelpTopic(4, 0), "Configuration.html");
  EXPECT_EQ(ConfigureHelpTopic(-1, 0), "Configuration.html");
}

TEST(ConfigureDialogRulesTest, LampsFollowTheDateAttributeAndSecurityOptions) {
  Settings s;
  LampStates lamps = LampsFromSettings(s);  // defaults: copy dates, copy attributes, security on
  EXPECT_TRUE(lamps.date);
  EXPECT_FALSE(lamps.attrib);
  EXPECT_TRUE(lamps.perm);

  s.DateMode = 1;
  s.CopyFilesAttr = false;
  EXPECT_FALSE(LampsFromSettings(s).date);
  EXPECT_TRUE(LampsFromSettings(s).attrib);
  s.DateMode = 2;
  EXPECT_TRUE(LampsFromSettings(s).date);

  // Any one of the twelve security options lights the lamp; none leaves it dark.
  bool Settings::*security[] = {&Settings::CopyFilesOwner,       &Settings::CopyFilesGroup,
                                &Settings::CopyFilesDACL,        &Settings::CopyFilesSACL,
                                &Settings::CopyFoldersOwner,     &Settings::CopyFoldersGroup,
                                &Settings::CopyFoldersDACL,      &Settings::CopyFoldersSACL,
                                &Settings::FilesCopySecurityAll, &Settings::FoldersCopySecurityAll,
                                &Settings::FileTakeOwnership,    &Settings::FolderTakeOwnership};
  for (bool Settings::*option : security) {
    s.*option = false;
  }
  s.FileSetEveryoneRWED = true;  // not a copy option
  s.LogSecurityChange = true;
  EXPECT_FALSE(LampsFromSettings(s).perm);
  for (bool Settings::*option : security) {
    Settings one = s;
    one.*option = true;
    EXPECT_TRUE(LampsFromSettings(one).perm);
  }
}

TEST(ConfigureDialogRulesTest, OpeningStartsVersionControlFromNone) {
  Settings s;
  s.RenBeforeOverWr = true;
  PrepareConfigureOpening(s);
  EXPECT_TRUE(s.NoVersionNum);
  EXPECT_TRUE(s.RenBeforeOverWr);
}

TEST(ConfigureDialogRulesTest, AnAdministratorMayChangeOwnersAndPermissions) {
  testing::FakeMetadataPlatform platform;
  platform.chownEffective = true;
  platform.bypassEffective = true;
  EXPECT_TRUE(metadata::IsUserAdministrator(platform));
  platform.bypassEffective = false;
  EXPECT_FALSE(metadata::IsUserAdministrator(platform));
  platform.chownEffective = false;
  platform.bypassEffective = true;
  EXPECT_FALSE(metadata::IsUserAdministrator(platform));
}

}  // namespace
}  // namespace kelvara::config
