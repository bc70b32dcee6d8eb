#include "config/ui/ConfigureDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "config/ConfigureDialogRules.h"
#include "config/SettingsWriter.h"
#include "config/ui/ConversionOptionsTab.h"
#include "config/ui/FontSetupDialog.h"
#include "config/ui/PageSetupDialog.h"
#include "config/ui/ParagraphSetupDialog.h"
#include "config/ui/ParamSelDialog.h"
#include "config/ui/ProgramOptionsPage.h"
#include "config/ui/UserDataPage.h"
#include "platform/DateTime.h"

namespace kelvara::config::ui {

namespace {

const char* const kSetDefaultWarning =
    "Warning: Setting Default parameters will clear\r\nall the params settings done after the "
    "installation of the program.\r\nOnly configuration options will be mantained.\r\n\r\n"
    "Continue?";
const char* const kCloseToTrayQuestion =
    "To set Close to tray option Minimize to tray option must be on";

QPushButton* sideButton(QWidget* parent, QVBoxLayout* layout, const char* caption,
                        const char* name) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  layout->addWidget(b);
  return b;
}

}  // namespace

ConfigureDialog::ConfigureDialog(ConfigureContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), settings_(*context_.settings) {
  setObjectName("ConfigureDlg");
  setWindowTitle("Configure");

  // Side panel.
  auto* side = new QFrame(this);
  side->setObjectName("SidePanel");
  side->setFrameShape(QFrame::StyledPanel);
  auto* sideLayout = new QVBoxLayout(side);
  QPushButton* paramSel = sideButton(side, sideLayout, "Parameters Sel.", "ParamSelBtn");
  QPushButton* page = sideButton(side, sideLayout, "Page Setup", "PageSetupBtn");
  QPushButton* paragraph = sideButton(side, sideLayout, "Paragraph Setup", "ParagraphSetupBtn");
  QPushButton* font = sideButton(side, sideLayout, "Font Setup", "FontSetupBtn");
  sideLayout->addSpacing(12);
  QPushButton* setDefault = sideButton(side, sideLayout, "Set Default", "SetDefaultBtn");
  sideLayout->addStretch();
  ntfsLight_ = new QLabel("NTFS", side);
  ntfsLight_->setObjectName("NtfsLed");
  ntfsLight_->setAlignment(Qt::AlignCenter);
  ntfsLight_->setFrameShape(QFrame::Panel);
  ntfsLight_->setFrameShadow(QFrame::Sunken);
  sideLayout->addWidget(ntfsLight_);

  // Tabs.
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("ConfigTabs");
  // Every tab in sight: the tab bar is the dialog's table of contents.
  tabs_->setUsesScrollButtons(false);
  program_ = new ProgramOptionsPage(tabs_);
  conversion_ = new ConversionOptionsTab(context_.wordVersion, context_.locale, tabs_);
  external_ = new ExternalProgramsPage(context_.locale, tabs_);
  userData_ = new UserDataPage(tabs_);
  tabs_->addTab(program_, "Program Options");
  tabs_->addTab(conversion_, "Conversion Options");
  tabs_->addTab(external_, "External Programs");
  tabs_->addTab(userData_, "User Data");
  external_->setFileChooser(context_.chooseFile);
  conversion_->setSecurityNotice(
      [this](QWidget* on, const QString& text) { context_.prompts.inform(on, "Security", text); });
  program_->setCloseToTrayGuard([this] { return closeToTrayAllowed(); });

  auto* buttons = okCancelHelpButtons(
      this,
      [this](const std::string&) {
        if (context_.help) {
          context_.help(helpTopic());
        }
      },
      "Configuration.html", [this] { ok(); });

  auto* top = new QHBoxLayout;
  top->addWidget(side);
  top->addWidget(tabs_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(buttons);

  connect(paramSel, &QPushButton::clicked, this, &ConfigureDialog::paramSel);
  connect(page, &QPushButton::clicked, this, &ConfigureDialog::pageSetup);
  connect(paragraph, &QPushButton::clicked, this, &ConfigureDialog::paragraphSetup);
  connect(font, &QPushButton::clicked, this, &ConfigureDialog::fontSetup);
  connect(setDefault, &QPushButton::clicked, this, &ConfigureDialog::setDefault);
  connect(tabs_, &QTabWidget::currentChanged, this, &ConfigureDialog::updateNtfsLight);

  // Opening: version control starts from "None", then every page shows the settings.
  changeSettings([this] { PrepareConfigureOpening(settings_); });
  conversion_->setSecurityAvailable(context_.securityAvailable, context_.administrator);
  program_->load(settings_);
  conversion_->load(settings_);
  external_->load(settings_);
  userData_->load(settings_);
  if (!conversion_->securityShown()) {
    ntfsLight_->setText("No NTFS");
    ntfsLight_->setStyleSheet("QLabel { background-color: #FFFF00; color: black; }");
  }
  const DialogMemory& memory = dialogMemory();
  tabs_->setCurrentIndex(std::clamp(memory.configureTab, 0, tabs_->count() - 1));
  conversion_->setCurrentInnerTab(memory.configureInnerTab);
  updateNtfsLight();
}

void ConfigureDialog::changeSettings(const std::function<void()>& change) {
  if (context_.host.changeSettings) {
    context_.host.changeSettings(change);
  } else {
    change();
  }
}

std::string ConfigureDialog::helpTopic() const {
  return ConfigureHelpTopic(tabs_->currentIndex(), conversion_->currentInnerTab());
}

void ConfigureDialog::updateNtfsLight() {
  ntfsLight_->setVisible(tabs_->currentIndex() ==
                             static_cast<int>(ConfigureTab::ConversionOptions) &&
                         !conversion_->securityShown());
}

bool ConfigureDialog::closeToTrayAllowed() {
  if (context_.host.minimizeToTray && context_.host.minimizeToTray()) {
    return true;
  }
  if (!context_.prompts.askInErrorBox(this, "Error", kCloseToTrayQuestion)) {
    return false;
  }
  if (context_.host.checkMinimizeToTray) {
    context_.host.checkMinimizeToTray();
  }
  return true;
}

Settings ConfigureDialog::settingsForParameterDialogs() const {
  Settings s = settings_;
  s.DiffVertHorizPagParms = conversion_->diffVertHorizPagParms();
  return s;
}

void ConfigureDialog::paramSel() {
  bool diff = conversion_->diffVertHorizPagParms();
  runParamSelDialog(this, *context_.formats, *context_.ini, context_.wordVersion, diff,
                    context_.help);
  if (diff != conversion_->diffVertHorizPagParms()) {
    conversion_->setDiffVertHorizPagParms(diff);
  }
}

void ConfigureDialog::pageSetup() {
  runPageSetupDialog(this, *context_.formats, settingsForParameterDialogs(), *context_.ini,
                     context_.help);
}

void ConfigureDialog::paragraphSetup() {
  runParagraphSetupDialog(this, *context_.formats, settingsForParameterDialogs(), *context_.ini,
                          context_.help);
}

void ConfigureDialog::fontSetup() {
  runFontSetupDialog(this, *context_.formats, *context_.ini, context_.fontNames, context_.help);
}

void ConfigureDialog::setDefault() {
  if (!context_.prompts.question(this, "Warning", kSetDefaultWarning)) {
    return;
  }
  if (!context_.ini->remove()) {
    context_.prompts.inform(this, "Kelvara", "Error on deletion of file Kelvara.ini");
  }
}

void ConfigureDialog::ok() {
  if (const std::optional<QString> problem = external_->unreadableField()) {
    context_.prompts.error(this, "Error", *problem);
    return;
  }
  Settings taken = settings_;
  program_->store(taken);
  conversion_->store(taken);
  external_->store(taken);
  userData_->store(taken);
  taken.NewFilesDateUtc = platform::localToFileTime(taken.NewFilesDate);
  // Written before anything is applied: a refused write leaves the dialog open with the
  // choices as they are, and the program with the options it had.
  if (!saveOrReport(this, context_.prompts, "options",
                    [&] { SaveConfigurationData(*context_.ini, taken, context_.locale); })) {
    return;
  }
  changeSettings([&] { settings_ = taken; });
  if (context_.host.applied) {
    context_.host.applied(settings_);
  }
  DialogMemory& memory = dialogMemory();
  memory.configureTab = tabs_->currentIndex();
  memory.configureInnerTab = conversion_->currentInnerTab();
  accept();
}

void ConfigureDialog::reject() {
  QApplication::beep();
  QDialog::reject();
}

bool runConfigureDialog(QWidget* parent, ConfigureContext context) {
  ConfigureDialog dlg(std::move(context), parent);
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace kelvara::config::ui
