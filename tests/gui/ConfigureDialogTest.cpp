#include "config/ui/ConfigureDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <filesystem>

#include "DialogFixture.h"
#include "config/ConfigSections.h"
#include "config/SettingsLoader.h"
#include "config/SettingsWriter.h"
#include "config/ui/ConversionOptionsTab.h"
#include "config/ui/PageSetupDialog.h"

namespace kelvara::config::ui {
namespace {

using testing::child;
using testing::IniFixture;
using testing::PromptLog;
using testing::typeInto;

// Every key OK writes, as text, from a scratch file: two settings records are equal for the
// dialog exactly when these texts are.
std::string writtenKeys(const Settings& s) {
  testing::ScratchDir dir;
  IniFile ini(dir / "Kelva.ini");
  SaveConfigurationData(ini, s, platform::Locale{});
  std::ifstream in(dir / "Kelva.ini", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ConfigureDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogMemory() = DialogMemory{};
    // Known values on disk, each different from its default.
    Settings known;
    known.ShowHint = false;
    known.Debug = true;
    known.OverwriteLogs = true;
    known.StopOnErrors = true;
    known.TrayShowHint = false;
    known.TrayLeftPopup = true;
    known.TrayIconAlwaysOn = true;
    known.ExternalConverterProgram = "/opt/conv/wsconv";
    known.WordsCountProgram = "/opt/conv/wc";
    known.ProgCmdLine1 = "a=";
    known.ProgCmdLine2 = " b= ";
    known.KeepExtProgOut = true;
    known.WordsCountCheck = false;
    known.LineDiffWrn = 45;
    known.UserName = "Ada Lovelace";
    known.UserInitials = "AL";
    known.UserAddress = "12 St James's Square";
    known.RenBeforeOverWr = true;
    known.DateMode = 2;
    SaveConfigurationData(f.ini, known, platform::Locale{});
    LoadAllSettings(f.ini, settings, formats, platform::Locale{}, "11.0", platform::now());
  }

  ConfigureContext context() {
    ConfigureContext c;
    c.settings = &settings;
    c.formats = &formats;
    c.ini = &f.ini;
    c.wordVersion = "11.0";
    c.help = [this](const std::string& topic) { topics.push_back(topic); };
    c.prompts = log.prompts();
    c.chooseFile = [this](QWidget*, const QString& title, const QString&) {
      chooserTitles.push_back(title);
      return chosenFile;
    };
    c.host.minimizeToTray = [this] { return minimizeToTray; };
    c.host.checkMinimizeToTray = [this] {
      minimizeToTray = true;
      ++minimizeChecks;
    };
    c.host.applied = [this](const Settings& s) {
      ++applied;
      appliedSingleFile = s.SingleFile;
    };
    return c;
  }

  static QCheckBox* box(QWidget* dlg, const char* name) { return child<QCheckBox>(dlg, name); }
  static QLineEdit* field(QWidget* dlg, const char* name) { return child<QLineEdit>(dlg, name); }

  IniFixture f;
  Settings settings;
  format::FormatParameterSet formats;
  PromptLog log;
  std::vector<std::string> topics;
  std::vector<QString> chooserTitles;
  QString chosenFile = "/usr/bin/kelvara-wc";
  bool minimizeToTray = true;
  int minimizeChecks = 0;
  int applied = 0;
  bool appliedSingleFile = false;
};

TEST_F(ConfigureDialogTest, OpensWithTheTabsSidePanelAndTheStoredValues) {
  ConfigureDialog dlg(context());
  EXPECT_EQ(dlg.windowTitle(), "Configure");
  QTabWidget* tabs = dlg.tabs();
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(0), "Program Options");
  EXPECT_EQ(tabs->tabText(1), "Conversion Options");
  EXPECT_EQ(tabs->tabText(2), "External Programs");
  EXPECT_EQ(tabs->tabText(3), "User Data");
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(child<QAbstractButton>(&dlg, "ParamSelBtn")->text(), "Parameters Sel.");
  EXPECT_EQ(child<QAbstractButton>(&dlg, "PageSetupBtn")->text(), "Page Setup");
  EXPECT_EQ(child<QAbstractButton>(&dlg, "ParagraphSetupBtn")->text(), "Paragraph Setup");
  EXPECT_EQ(child<QAbstractButton>(&dlg, "FontSetupBtn")->text(), "Font Setup");
  EXPECT_EQ(child<QAbstractButton>(&dlg, "SetDefaultBtn")->text(), "Set Default");
  EXPECT_EQ(child<QAbstractButton>(&dlg, "HelpBtn")->text(), "&Help");

  // Program Options.
  EXPECT_FALSE(box(&dlg, "ShowHintsCkB")->isChecked());
  EXPECT_TRUE(box(&dlg, "DebugCkB")->isChecked());
  EXPECT_FALSE(box(&dlg, "NewLogFileCkB")->isChecked());
  EXPECT_TRUE(box(&dlg, "OverwriteLogsCkB")->isChecked());
  EXPECT_TRUE(box(&dlg, "StopOnErrorsCkB")->isChecked());
  EXPECT_FALSE(box(&dlg, "TrayShowHintCkB")->isChecked());
  EXPECT_EQ(box(&dlg, "TrayShowHintCkB")->text(), "&Show hint");
  EXPECT_TRUE(box(&dlg, "TrayLeftPopupCkB")->isChecked());
  EXPECT_TRUE(box(&dlg, "TrayEnabledCkB")->isChecked());
  EXPECT_FALSE(box(&dlg, "CloseToTrayCkB")->isChecked());
  EXPECT_TRUE(box(&dlg, "TrayAlwaysOnCkB")->isChecked());
  // Not loaded: the popup menu box always opens ticked.
  EXPECT_FALSE(settings.TrayPopupMenu);
  EXPECT_TRUE(box(&dlg, "TrayPopupMenuCkB")->isChecked());

  // External Programs.
  EXPECT_EQ(field(&dlg, "ExtConvProgEdit")->text(), "/opt/conv/wsconv");
  EXPECT_EQ(field(&dlg, "WordsCountProgEdit")->text(), "/opt/conv/wc");
  EXPECT_EQ(field(&dlg, "ProgCmdLine1Edit")->text(), "a=");
  EXPECT_EQ(field(&dlg, "ProgCmdLine2Edit")->text(), " b= ");
  EXPECT_EQ(field(&dlg, "ProgCmdLine3Edit")->text(), "TEMPWPXX");
  EXPECT_EQ(field(&dlg, "PrefixEdit")->text(), "_%");
  EXPECT_TRUE(box(&dlg, "KeepExtProgOutCkB")->isChecked());
  EXPECT_FALSE(box(&dlg, "WordsCountCheckCkB")->isChecked());
  EXPECT_FALSE(child<NumericEdit>(&dlg, "WordDiffWrnEdit")->isEnabled());
  EXPECT_FALSE(child<QLabel>(&dlg, "WordDiffWrnEditLbl")->isEnabled());
  EXPECT_TRUE(child<NumericEdit>(&dlg, "LineDiffWrnEdit")->isEnabled());
  EXPECT_EQ(testing::shown(child<NumericEdit>(&dlg, "WordDiffWrnEdit")), "30%");
  EXPECT_EQ(testing::shown(child<NumericEdit>(&dlg, "LineDiffWrnEdit")), "45%");
  EXPECT_EQ(testing::shown(child<NumericEdit>(&dlg, "CharDiffWrnEdit")), "100%");

  // User Data.
  EXPECT_EQ(field(&dlg, "UserNameEdit")->text(), "Ada Lovelace");
  EXPECT_EQ(field(&dlg, "UserInitialsEdit")->text(), "AL");
  EXPECT_EQ(field(&dlg, "UserAddressEdit")->text(), "12 St James's Square");

  // Opening puts version control on "None" in memory, and the file is not touched.
  EXPECT_TRUE(settings.NoVersionNum);
  EXPECT_EQ(f.key(kConversionOptionsSection, "NoVersionNum"), "0");
}

TEST_F(ConfigureDialogTest, OkWritesWhatThePagesShowKeyByKeyAndHasTheWindowApplyIt) {
  const std::string conversionBefore = f.key(kConversionOptionsSection, "DateMode");
  ConfigureDialog dlg(context());
  dlg.show();
  box(&dlg, "ShowHintsCkB")->click();
  box(&dlg, "NewLogFileCkB")->click();  // unticks "Overwrite existing Logs"
  EXPECT_FALSE(box(&dlg, "OverwriteLogsCkB")->isChecked());
  box(&dlg, "DebugCkB")->click();
  box(&dlg, "TrayEnabledCkB")->click();
  box(&dlg, "TrayAlwaysOnCkB")->click();
  box(&dlg, "TrayPopupMenuCkB")->click();
  dlg.tabs()->setCurrentIndex(2);
  // Clicking the converter field chooses the program.
  chosenFile = "/usr/bin/kelvara-wsconv";
  QTest::mouseClick(field(&dlg, "ExtConvProgEdit"), Qt::LeftButton);
  ASSERT_EQ(chooserTitles.size(), 1u);
  EXPECT_EQ(field(&dlg, "ExtConvProgEdit")->text(), "/usr/bin/kelvara-wsconv");
  chosenFile.clear();  // cancelled: the field keeps its text
  QTest::mouseClick(field(&dlg, "WordsCountProgEdit"), Qt::LeftButton);
  EXPECT_EQ(field(&dlg, "WordsCountProgEdit")->text(), "/opt/conv/wc");
  field(&dlg, "ProgCmdLine3Edit")->setText(" TMP ");
  box(&dlg, "WordsCountCheckCkB")->click();
  EXPECT_TRUE(child<NumericEdit>(&dlg, "WordDiffWrnEdit")->isEnabled());
  typeInto(child<NumericEdit>(&dlg, "WordDiffWrnEdit"), "12");
  typeInto(child<NumericEdit>(&dlg, "CharDiffWrnEdit"), "250");  // held within 0 to 100
  box(&dlg, "LinesCountCheckCkB")->click();
  box(&dlg, "KeepExtProgOutCkB")->click();
  dlg.tabs()->setCurrentIndex(3);
  field(&dlg, "UserNameEdit")->setText("Grace Hopper");
  field(&dlg, "UserInitialsEdit")->clear();
  field(&dlg, "UserAddressEdit")->setText("Arlington, VA");

  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(log.errors.empty());

  const auto opt = [&](const char* k) { return f.key(kOptionsSection, k); };
  const auto conv = [&](const char* k) { return f.key(kConversionOptionsSection, k); };
  const auto ext = [&](const char* k) { return f.key(kExternalProgramsSection, k); };
  const auto user = [&](const char* k) { return f.key(kUserDataSection, k); };
  EXPECT_EQ(opt("ShowHint"), "1");
  EXPECT_EQ(opt("Debug"), "0");
  EXPECT_EQ(opt("NewLogFile"), "1");
  EXPECT_EQ(opt("OverwriteLogs"), "0");
  EXPECT_EQ(opt("StopOnErrors"), "1");
  EXPECT_EQ(conv("TrayShowHint"), "0");
  EXPECT_EQ(conv("TrayLeftPopup"), "1");
  EXPECT_EQ(conv("TrayIconEnabled"), "0");
  EXPECT_EQ(conv("CloseToTray"), "0");
  EXPECT_EQ(conv("TrayIconAlwaysOn"), "0");
  EXPECT_EQ(ext("ExternalConverterProgram"), "/usr/bin/kelvara-wsconv");
  EXPECT_EQ(ext("WordsCountProgram"), "/opt/conv/wc");
  EXPECT_EQ(ext("ProgCmdLine1"), "a=");
  EXPECT_EQ(ext("ProgCmdLine2"), " b= ");
  EXPECT_EQ(ext("ProgCmdLine3"), " TMP ");
  EXPECT_NE(f.bytes().find("ProgCmdLine3=\" TMP \""), std::string::npos);
  EXPECT_EQ(ext("Prefix"), "_%");
  EXPECT_EQ(ext("KeepExtProgOut"), "0");
  EXPECT_EQ(opt("WordsCountCheck"), "1");
  EXPECT_EQ(opt("LinesCountCheck"), "0");
  EXPECT_EQ(opt("CharsCountCheck"), "1");
  EXPECT_EQ(ext("WordDiffWrn"), "12");
  EXPECT_EQ(ext("LineDiffWrn"), "45");
  EXPECT_EQ(ext("CharDiffWrn"), "100");
  EXPECT_EQ(user("UserName"), "Grace Hopper");
  EXPECT_EQ(user("UserInitials"), "");
  EXPECT_EQ(user("UserAddress"), "Arlington, VA");
  // The other tabs' keys are written from what they show, here the stored values; version
  // control starts from "None" and the stored rename choice wins.
  EXPECT_EQ(conv("DateMode"), conversionBefore);
  EXPECT_EQ(conv("RenBeforeOverWr"), "1");

  // Memory follows the file, the popup menu choice included, and the window was told once.
  EXPECT_EQ(settings.UserName, "Grace Hopper");
  EXPECT_FALSE(settings.TrayPopupMenu);
  EXPECT_FALSE(settings.TrayIconEnabled);
  EXPECT_EQ(settings.CharDiffWrn, 100);
  EXPECT_EQ(applied, 1);
  // Every other key of the four sections holds the value in memory, in its place.
  EXPECT_EQ(f.bytes(), writtenKeys(settings));

  // The dialog reopens on the tab confirmed with OK.
  ConfigureDialog again(context());
  EXPECT_EQ(again.tabs()->currentIndex(), 3);
  EXPECT_TRUE(box(&again, "TrayPopupMenuCkB")->isChecked());
}

TEST_F(ConfigureDialogTest, CancelLeavesTheFileAndTheSettingsAsTheyWere) {
  const std::string file = f.bytes();
  Settings expected = settings;
  expected.NoVersionNum = true;  // opening sets it, whatever the dialog ends with
  {
    ConfigureDialog dlg(context());
    dlg.show();
    box(&dlg, "DebugCkB")->click();
    field(&dlg, "UserNameEdit")->setText("Nobody");
    typeInto(child<NumericEdit>(&dlg, "LineDiffWrnEdit"), "7");
    dlg.tabs()->setCurrentIndex(2);
    testing::press(&dlg, "CancelBtn");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
  }
  EXPECT_EQ(f.bytes(), file);
  EXPECT_EQ(writtenKeys(settings), writtenKeys(expected));
  EXPECT_TRUE(settings.RenBeforeOverWr);
  EXPECT_EQ(applied, 0);
  // Not confirmed: the next opening is on the first tab again.
  ConfigureDialog again(context());
  EXPECT_EQ(again.tabs()->currentIndex(), 0);
}

TEST_F(ConfigureDialogTest, CloseToTrayNeedsMinimiseToTray) {
  minimizeToTray = false;
  ConfigureDialog dlg(context());
  dlg.show();
  QCheckBox* closeToTray = box(&dlg, "CloseToTrayCkB");

  log.answer = false;
  closeToTray->click();
  ASSERT_EQ(log.questions.size(), 1u);
  EXPECT_EQ(log.questions[0],
            "Error: To set Close to tray option Minimize to tray option must be on");
  EXPECT_FALSE(closeToTray->isChecked());
  EXPECT_EQ(minimizeChecks, 0);

  log.answer = true;
  closeToTray->click();
  EXPECT_TRUE(closeToTray->isChecked());
  EXPECT_EQ(minimizeChecks, 1);

  // With minimising to the tray on, nothing is asked; unticking never asks.
  closeToTray->click();
  closeToTray->click();
  EXPECT_TRUE(closeToTray->isChecked());
  EXPECT_EQ(log.questions.size(), 2u);
  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key(kConversionOptionsSection, "CloseToTray"), "1");
}

TEST_F(ConfigureDialogTest, AThresholdThatIsNoNumberIsRefusedAndNothingIsWritten) {
  const std::string file = f.bytes();
  ConfigureDialog dlg(context());
  dlg.show();
  typeInto(child<NumericEdit>(&dlg, "LineDiffWrnEdit"), "lots");
  testing::press(&dlg, "OkBtn");
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_EQ(log.errors[0], "Error: Lines Diff. Wrn.: \"lots\" is not a number.");
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(f.bytes(), file);
  EXPECT_EQ(applied, 0);
}

TEST_F(ConfigureDialogTest, ARefusedWriteIsSaidAndTheDialogStaysOpen) {
  testing::ScratchDir dir;
  const std::string blocker = dir.file("notAFolder", "x");
  IniFile unwritable(blocker + "/Kelva.ini");
  ConfigureContext c = context();
  c.ini = &unwritable;
  ConfigureDialog dlg(std::move(c));
  dlg.show();
  field(&dlg, "UserNameEdit")->setText("Changed");
  testing::press(&dlg, "OkBtn");
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_TRUE(log.errors[0].startsWith("Error: Unable to write to " +
                                       QString::fromStdString(unwritable.path())))
      << log.errors[0].toStdString();
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(settings.UserName, "Ada Lovelace");
  EXPECT_EQ(applied, 0);
}

TEST_F(ConfigureDialogTest, SetDefaultDeletesTheFileAfterTheWarningAndOkWritesTheOptionsAgain) {
  SavePageValues(f.ini, formats, platform::Locale{}, true);
  ConfigureDialog dlg(context());
  dlg.show();
  log.answer = false;
  testing::press(&dlg, "SetDefaultBtn");
  ASSERT_EQ(log.questions.size(), 1u);
  EXPECT_EQ(log.questions[0],
            "Warning: Warning: Setting Default parameters will clear\r\nall the params settings "
            "done after the installation of the program.\r\nOnly configuration options will be "
            "mantained.\r\n\r\nContinue?");
  EXPECT_TRUE(std::filesystem::exists(f.path));

  log.answer = true;
  testing::press(&dlg, "SetDefaultBtn");
  EXPECT_FALSE(std::filesystem::exists(f.path));
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_TRUE(log.errors.empty());

  testing::press(&dlg, "OkBtn");
  EXPECT_EQ(f.key(kUserDataSection, "UserName"), "Ada Lovelace");
  EXPECT_EQ(f.key(kOptionsSection, "Debug"), "1");
  EXPECT_EQ(f.key(pageSetupSection(kPortraitSetName), "TopMargin"), "<absent>");
}

TEST_F(ConfigureDialogTest, SetDefaultSaysSoWhenTheFileCannotBeDeleted) {
  // A folder in the file's place, with something in it, cannot be removed as a file.
  testing::ScratchDir dir;
  dir.file("Kelva.ini/keep", "x");
  IniFile stuck(dir / "Kelva.ini");
  ConfigureContext c = context();
  c.ini = &stuck;
  ConfigureDialog dlg(std::move(c));
  dlg.show();
  log.answer = true;
  testing::press(&dlg, "SetDefaultBtn");
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_EQ(log.errors[0], "Kelvara: Error on deletion of file Kelvara.ini");
  EXPECT_TRUE(std::filesystem::exists(dir / "Kelva.ini/keep"));
  EXPECT_TRUE(dlg.isVisible());
}

TEST_F(ConfigureDialogTest, TheNtfsLightShowsOnlyOnTheConversionOptionsWithoutSecurity) {
  ConfigureDialog dlg(context());
  dlg.show();
  auto* light = child<QLabel>(&dlg, "NtfsLed");
  EXPECT_FALSE(light->isVisible());
  dlg.tabs()->setCurrentIndex(1);
  EXPECT_TRUE(light->isVisible());
  EXPECT_EQ(light->text(), "No NTFS");
  dlg.tabs()->setCurrentIndex(2);
  EXPECT_FALSE(light->isVisible());

  ConfigureContext c = context();
  c.securityAvailable = true;
  c.administrator = true;
  ConfigureDialog secure(std::move(c));
  secure.show();
  secure.tabs()->setCurrentIndex(1);
  EXPECT_TRUE(secure.conversionOptions()->securityShown());
  EXPECT_FALSE(child<QLabel>(&secure, "NtfsLed")->isVisible());
}

TEST_F(ConfigureDialogTest, WithoutAdministratorRightsTheSecurityPageSaysItHasNoEffect) {
  ConfigureContext c = context();
  c.securityAvailable = true;
  c.administrator = false;
  ConfigureDialog dlg(std::move(c));
  dlg.show();
  dlg.tabs()->setCurrentIndex(1);
  dlg.conversionOptions()->setCurrentInnerTab(ConversionOptionsTab::kSecurityTab);
  QApplication::processEvents();
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_EQ(log.errors[0],
            "Security: To change security data you need Administrator privileges.\r\nActually you "
            "havn't them so you can access this page but the settings wont have any practical "
            "effects");
  EXPECT_FALSE(child<QLabel>(&dlg, "NtfsLed")->isVisible());
}

TEST_F(ConfigureDialogTest, HelpOpensTheTopicOfTheTabShown) {
  ConfigureDialog dlg(context());
  dlg.show();
  testing::press(&dlg, "HelpBtn");
  dlg.tabs()->setCurrentIndex(2);
  testing::press(&dlg, "HelpBtn");
  dlg.tabs()->setCurrentIndex(3);
  testing::press(&dlg, "HelpBtn");
  dlg.tabs()->setCurrentIndex(1);
  dlg.conversionOptions()->setCurrentInnerTab(0);
  testing::press(&dlg, "HelpBtn");
  EXPECT_EQ(topics, (std::vector<std::string>{
                        "Configuration.html#program", "Configuration.html#external",
                        "Configuration.html#userdata", "Configuration.html#general"}));
}

TEST_F(ConfigureDialogTest, PageSetupFollowsTheDiffBoxAsItStandsNotTheStoredOption) {
  ASSERT_TRUE(settings.DiffVertHorizPagParms);
  ConfigureDialog dlg(context());
  dlg.show();
  dlg.conversionOptions()->setDiffVertHorizPagParms(false);
  bool toolBarHidden = false;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* page = qobject_cast<PageSetupDialog*>(QApplication::activeModalWidget());
    if (page != nullptr) {
      seen = true;
      auto* bar = page->findChild<QToolBar*>("ViewToolBar");
      toolBarHidden = bar == nullptr || bar->isHidden();
      page->reject();
    }
  });
  testing::press(&dlg, "PageSetupBtn");
  EXPECT_TRUE(seen);
  EXPECT_TRUE(toolBarHidden);
  EXPECT_TRUE(settings.DiffVertHorizPagParms);  // the stored option is the box's until OK
}

}  // namespace
}  // namespace kelvara::config::ui
