#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "config/IniFile.h"
#include "config/Settings.h"
#include "config/ui/DialogSupport.h"
#include "config/ui/ExternalProgramsPage.h"
#include "format/FormatParameterSet.h"
#include "platform/Locale.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace kelvara::config::ui {

class ConversionOptionsTab;
class ProgramOptionsPage;
class UserDataPage;

// What the dialog asks of the window that opened it.
struct ConfigureHost {
  // The window's "&Minimize to tray" box, and ticking it (which stores the option).
  std::function<bool()> minimizeToTray;
  std::function<void()> checkMinimizeToTray;
  // Runs a change of the settings where nothing else reads them (a paused run may still be
  // finishing a stage); empty: at once.
  std::function<void(const std::function<void()>& change)> changeSettings;
  // After OK has stored and written the options: the window applies them (single-file box,
  // hints, tray, lamps, Run button).
  std::function<void(const Settings&)> applied;
};

// Everything the dialog works on.
struct ConfigureContext {
  Settings* settings = nullptr;
  format::FormatParameterSet* formats = nullptr;
  IniFile* ini = nullptr;
  std::string wordVersion;
  platform::Locale locale;
  // Both the input and the output path keep security; this process may change it.
  bool securityAvailable = false;
  bool administrator = false;
  // The fonts the font setup lists.
  std::vector<std::string> fontNames;
  HelpFn help;
  ConfigureHost host;
  DialogPrompts prompts = DialogPrompts::messageBoxes();
  FileChooser chooseFile = fileDialogChooser();
};

// "Configure": every option of the program on four tabs, the parameter dialogs and Set Default
// on the side. OK takes all pages into the settings, writes them and has the window apply them;
// Cancel drops what was changed on the pages.
class ConfigureDialog : public QDialog {
  Q_OBJECT

 public:
  ConfigureDialog(ConfigureContext context, QWidget* parent = nullptr);

  QTabWidget* tabs() const { return tabs_; }
  ConversionOptionsTab* conversionOptions() const { return conversion_; }
  // The help page of the tab shown.
  std::string helpTopic() const;

  void reject() override;

 private:
  void ok();
  void setDefault();
  void updateNtfsLight();
  void changeSettings(const std::function<void()>& change);
  bool closeToTrayAllowed();
  // The parameter dialogs see the box as it stands on the page, not the stored option.
  Settings settingsForParameterDialogs() const;
  void paramSel();
  void pageSetup();
  void paragraphSetup();
  void fontSetup();

  ConfigureContext context_;
  Settings& settings_;
  QTabWidget* tabs_ = nullptr;
  ProgramOptionsPage* program_ = nullptr;
  ConversionOptionsTab* conversion_ = nullptr;
  ExternalProgramsPage* external_ = nullptr;
  UserDataPage* userData_ = nullptr;
  QLabel* ntfsLight_ = nullptr;
};

// Opens the dialog modally; true when OK stored the options.
bool runConfigureDialog(QWidget* parent, ConfigureContext context);

}  // namespace kelvara::config::ui
