#include "app/window/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

#include "app/FreeDiskDisplay.h"
#include "app/InputSelection.h"
#include "app/RunLauncher.h"
#include "app/StartUp.h"
#include "app/window/EngineThread.h"
#include "app/window/HintSwitch.h"
#include "app/window/Led.h"
#include "app/window/Tray.h"
#include "app/window/WindowDialogs.h"
#include "app/window/WindowRunView.h"
#include "config/ConfigSections.h"
#include "config/ConfigureDialogRules.h"
#include "config/LoadNotice.h"
#include "config/SettingsLoader.h"
#include "metadata/Administrator.h"
#include "metadata/MetadataStep.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"

namespace kelvara::window {
namespace {

QString q(const std::string& text) {
  return QString::fromStdString(text);
}

std::string s(const QString& text) {
  return text.toStdString();
}

const app::PathProbe& probe() {
  static const app::PathProbe p{
      [](const std::string& path) { return platform::isDirectory(path); },
      [](const std::string& path) { return platform::isRegularFile(path); }};
  return p;
}

QLineEdit* statusBox(QWidget* parent, const QString& hint) {
  auto* box = new QLineEdit(parent);
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::NoFocus);
  box->setToolTip(hint);
  return box;
}

QLineEdit* counterBox(QWidget* parent) {
  auto* box = statusBox(parent, QString());
  box->setAlignment(Qt::AlignRight);
  box->setMinimumWidth(64);
  return box;
}

// The light colour of idle selection boxes and the tooltip colour of busy ones.
void paintBox(QWidget* box, bool highlighted) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, highlighted
                                       ? QApplication::palette().color(QPalette::ToolTipBase)
                                       : QColor(0xF4, 0xF0, 0xF0));
  box->setPalette(palette);
}

const char* const kTrayStarting = "\r\nStatus: Starting";

}  // namespace

MainWindow::MainWindow(WindowServices services, std::vector<std::string> params)
    : services_(std::move(services)),
      params_(std::move(params)),
      dialogs_(services_.dialogs),
      ini_(services_.configPath.empty() ? config::configFilePath() : services_.configPath) {
  if (!dialogs_) {
    ownDialogs_ = std::make_unique<SystemDialogs>();
    dialogs_ = ownDialogs_.get();
  }
  setWindowTitle("Kelvara");
  setObjectName("ConvForm");
  buildControls();
  buildMenu();
  connectControls();
  const bool trayAvailable = services_.trayAvailable ? services_.trayAvailable()
                                                     : QSystemTrayIcon::isSystemTrayAvailable();
  tray_ = std::make_unique<Tray>(trayAvailable, popup_, this);
  tray_->onActivated([this] { showFromTray(); });
  setTrayHint(std::string(run::kTrayTitle) + kTrayStarting);

  // Run, Stop, Pause, Edit, Configure and "Show Conf." wait for the start-up step.
  for (QPushButton* b :
       {runButton_, stopButton_, pauseButton_, editButton_, configureButton_, showConfButton_}) {
    b->setEnabled(false);
  }
  for (QAction* a :
       {runAction_, stopAction_, pauseAction_, editAction_, configureAction_, showConfAction_}) {
    a->setEnabled(false);
  }

  engineThread_ = std::make_unique<EngineThread>();
  runView_ = std::make_unique<WindowRunView>(*this);

  startUpTimer_.setSingleShot(true);
  startUpTimer_.setInterval(500);
  connect(&startUpTimer_, &QTimer::timeout, this, &MainWindow::startUp);
  startUpTimer_.start();
  connect(qApp, &QGuiApplication::commitDataRequest, this,
          [this](QSessionManager&) { sessionEnding_ = true; });
}

MainWindow::~MainWindow() {
  if (engineThread_) {
    engineThread_->post([this] {
      if (engine_) {
        engine_->quit();
      }
    });
    engineThread_->finish();
  }
}

// ---------------------------------------------------------------------------------------------
// Controls

void MainWindow::buildControls() {
  auto* central = new QWidget(this);
  auto* outer = new QHBoxLayout(central);

  auto* left = new QVBoxLayout;
  outer->addLayout(left, 1);

  auto* selection = new QGridLayout;
  left->addLayout(selection);
  inputLabel_ = new QLabel("Input Path", central);
  outputLabel_ = new QLabel("Output Path", central);
  inputBox_ = new QLineEdit(central);
  inputBox_->setToolTip("Input path/file name");
  inputBox_->setMinimumWidth(420);
  outputBox_ = new QLineEdit(central);
  outputBox_->setToolTip("Output path/file name");
  inputFormats_ = new QComboBox(central);
  inputFormats_->setToolTip("Input Format Selection");
  outputFormats_ = new QComboBox(central);
  outputFormats_->setToolTip("Output Format Selection");
  for (QComboBox* list : {inputFormats_, outputFormats_}) {
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(30);
  }
  maskBox_ = new QLineEdit(central);
  maskBox_->setToolTip("Input File Mask");
  standardMask_ = new QCheckBox("Standard Inp Mask ", central);
  singleFile_ = new QCheckBox("Single File", central);
  singleFile_->setToolTip("Single file processing");
  selection->addWidget(inputLabel_, 0, 0);
  selection->addWidget(inputBox_, 0, 1, 1, 3);
  selection->addWidget(outputLabel_, 1, 0);
  selection->addWidget(outputBox_, 1, 1, 1, 3);
  selection->addWidget(new QLabel("Input Format", central), 2, 0);
  selection->addWidget(inputFormats_, 2, 1, 1, 3);
  selection->addWidget(new QLabel("Output Format", central), 3, 0);
  selection->addWidget(outputFormats_, 3, 1, 1, 3);
  selection->addWidget(new QLabel("Input Mask", central), 4, 0);
  selection->addWidget(maskBox_, 4, 1);
  selection->addWidget(standardMask_, 4, 2);
  selection->addWidget(singleFile_, 4, 3);
  selection->setColumnStretch(1, 1);

  auto* counters = new QGroupBox("Counters", central);
  auto* countersGrid = new QGridLayout(counters);
  foldersBox_ = counterBox(counters);
  completedBox_ = counterBox(counters);
  errorsBox_ = counterBox(counters);
  warningsBox_ = counterBox(counters);
  skippedBox_ = counterBox(counters);
  totalBox_ = counterBox(counters);
  const std::pair<const char*, QLineEdit*> counterCells[] = {
      {"Folders", foldersBox_},        {"Completed", completedBox_}, {"With errors", errorsBox_},
      {"With warnings", warningsBox_}, {"Skipped", skippedBox_},     {"Total", totalBox_}};
  for (int i = 0; i < 6; ++i) {
    countersGrid->addWidget(new QLabel(counterCells[i].first, counters), i / 3, (i % 3) * 2);
    countersGrid->addWidget(counterCells[i].second, i / 3, (i % 3) * 2 + 1);
  }
  left->addWidget(counters);

  auto* status = new QGroupBox("Status", central);
  auto* statusGrid = new QGridLayout(status);
  relInputBox_ = statusBox(status, "Input File");
  relOutputBox_ = statusBox(status, "Output File");
  stateBox_ = statusBox(status, "Conversion State");
  progressBox_ = statusBox(status, "Section Nr. display during conversion");
  statusGrid->addWidget(new QLabel("Input", status), 0, 0);
  statusGrid->addWidget(relInputBox_, 0, 1);
  statusGrid->addWidget(new QLabel("Output", status), 1, 0);
  statusGrid->addWidget(relOutputBox_, 1, 1);
  statusGrid->addWidget(new QLabel("State", status), 2, 0);
  statusGrid->addWidget(stateBox_, 2, 1);
  statusGrid->addWidget(new QLabel("Progress", status), 3, 0);
  statusGrid->addWidget(progressBox_, 3, 1);
  left->addWidget(status);

  auto* views = new QHBoxLayout;
  viewCaption_ = new QLabel("View Logfile:", central);
  views->addWidget(viewCaption_);
  const char* const viewCaptions[] = {"Main", "Errors", "Warnings", "Skips"};
  const char* const viewHints[] = {"The main log of the last run", "The error log of the last run",
                                   "The warnings log of the last run",
                                   "The skipped-files log of the last run"};
  for (size_t i = 0; i < viewButtons_.size(); ++i) {
    viewButtons_[i] = new QPushButton(viewCaptions[i], central);
    viewButtons_[i]->setToolTip(viewHints[i]);
    views->addWidget(viewButtons_[i]);
  }
  views->addSpacing(12);
  openOutputButton_ = new QPushButton("Open Output Folder", central);
  openIndexButton_ = new QPushButton("Open Index", central);
  openIndexButton_->setToolTip("The index of the documents of the last run");
  views->addWidget(openOutputButton_);
  views->addWidget(openIndexButton_);
  views->addStretch(1);
  left->addLayout(views);

  auto* bottom = new QHBoxLayout;
  const char* const ledCaptions[] = {"Date", "Attrib", "Perm"};
  for (size_t i = 0; i < leds_.size(); ++i) {
    ledLabels_[i] = new QLabel(ledCaptions[i], central);
    leds_[i] = new Led(central);
    bottom->addWidget(ledLabels_[i]);
    bottom->addWidget(leds_[i]);
    bottom->addSpacing(8);
  }
  freeDiskButton_ = new QPushButton("Free Disk", central);
  bottom->addWidget(freeDiskButton_);
  freeDiskLabels_[0] = new QLabel("Free:", central);
  freeDiskLabels_[1] = new QLabel(central);
  freeDiskLabels_[2] = new QLabel("Free share:", central);
  freeDiskLabels_[3] = new QLabel(central);
  for (QLabel* label : freeDiskLabels_) {
    bottom->addWidget(label);
  }
  bottom->addStretch(1);
  versionCaption_ = new QLabel("Engine:", central);
  versionLabel_ = new QLabel(central);
  versionCaption_->setVisible(false);
  versionLabel_->setVisible(false);
  bottom->addWidget(versionCaption_);
  bottom->addWidget(versionLabel_);
  left->addLayout(bottom);

  auto* buttons = new QVBoxLayout;
  outer->addLayout(buttons);
  selectButton_ = new QPushButton("Select", central);
  runButton_ = new QPushButton("Run", central);
  stopButton_ = new QPushButton("Stop", central);
  pauseButton_ = new QPushButton("Pause", central);
  editButton_ = new QPushButton("Edit", central);
  configureButton_ = new QPushButton("Configure", central);
  showConfButton_ = new QPushButton("Show Conf.", central);
  aboutButton_ = new QPushButton("About", central);
  helpButton_ = new QPushButton("Help", central);
  exitButton_ = new QPushButton("Exit", central);
  for (QPushButton* b : {selectButton_, runButton_, stopButton_, pauseButton_, editButton_,
                         configureButton_, showConfButton_, aboutButton_, helpButton_}) {
    buttons->addWidget(b);
  }
  minimizeToTray_ = new QCheckBox("&Minimize to tray", central);
  buttons->addStretch(1);
  buttons->addWidget(minimizeToTray_);
  buttons->addWidget(exitButton_);

  // Names for tests and for style sheets.
  const std::pair<QWidget*, const char*> names[] = {{inputBox_, "inputBox"},
                                                    {outputBox_, "outputBox"},
                                                    {inputFormats_, "inputFormats"},
                                                    {outputFormats_, "outputFormats"},
                                                    {maskBox_, "maskBox"},
                                                    {standardMask_, "standardMask"},
                                                    {singleFile_, "singleFile"},
                                                    {minimizeToTray_, "minimizeToTray"},
                                                    {selectButton_, "select"},
                                                    {runButton_, "run"},
                                                    {stopButton_, "stop"},
                                                    {pauseButton_, "pause"},
                                                    {editButton_, "edit"},
                                                    {configureButton_, "configure"},
                                                    {showConfButton_, "showConf"},
                                                    {aboutButton_, "about"},
                                                    {helpButton_, "help"},
                                                    {exitButton_, "exit"},
                                                    {foldersBox_, "folders"},
                                                    {completedBox_, "completed"},
                                                    {errorsBox_, "errors"},
                                                    {warningsBox_, "warnings"},
                                                    {skippedBox_, "skipped"},
                                                    {totalBox_, "total"},
                                                    {relInputBox_, "relInput"},
                                                    {relOutputBox_, "relOutput"},
                                                    {stateBox_, "state"},
                                                    {progressBox_, "progress"},
                                                    {viewButtons_[0], "viewMain"},
                                                    {viewButtons_[1], "viewErrors"},
                                                    {viewButtons_[2], "viewWarnings"},
                                                    {viewButtons_[3], "viewSkipped"},
                                                    {openOutputButton_, "openOutput"},
                                                    {openIndexButton_, "openIndex"},
                                                    {freeDiskButton_, "freeDisk"},
                                                    {freeDiskLabels_[1], "freeKb"},
                                                    {freeDiskLabels_[3], "freePercent"},
                                                    {versionLabel_, "version"},
                                                    {leds_[0], "dateLed"},
                                                    {leds_[1], "attribLed"},
                                                    {leds_[2], "permLed"}};
  for (const auto& [widget, name] : names) {
    widget->setObjectName(name);
  }

  // The window keeps its size while the run hides the buttons of the last run's files.
  for (QWidget* w :
       {static_cast<QWidget*>(viewCaption_), static_cast<QWidget*>(openOutputButton_),
        static_cast<QWidget*>(openIndexButton_), static_cast<QWidget*>(viewButtons_[0]),
        static_cast<QWidget*>(viewButtons_[1]), static_cast<QWidget*>(viewButtons_[2]),
        static_cast<QWidget*>(viewButtons_[3])}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }

  setCentralWidget(central);
  // A fixed-size window: its layout decides the size once.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  // Lines of the main window end on one line; the wide ones scroll rather than grow the window.
  for (QLineEdit* box : {relInputBox_, relOutputBox_, stateBox_, progressBox_}) {
    box->setMinimumWidth(420);
  }
}

QAction* MainWindow::addCommand(const QString& text, const QKeySequence& key,
                                void (MainWindow::*slot)()) {
  QAction* action = popup_->addAction(text);
  if (!key.isEmpty()) {
    action->setShortcut(key);
    action->setShortcutContext(Qt::ApplicationShortcut);
    addAction(action);
  }
  connect(action, &QAction::triggered, this, slot);
  return action;
}

void MainWindow::buildMenu() {
  popup_ = new QMenu(this);
  showWindowAction_ = addCommand("Show &Window", QKeySequence("Ctrl+W"), &MainWindow::showFromTray);
  hideWindowAction_ = addCommand("&Hide Window", QKeySequence("Ctrl+H"), &MainWindow::hideToTray);
  stayOnTopAction_ = popup_->addAction("Stay On Top");
  stayOnTopAction_->setCheckable(true);
  stayOnTopAction_->setShortcut(QKeySequence("Ctrl+S"));
  stayOnTopAction_->setShortcutContext(Qt::ApplicationShortcut);
  addAction(stayOnTopAction_);
  connect(stayOnTopAction_, &QAction::toggled, this, &MainWindow::setStayOnTop);
  selectAction_ = addCommand("Select", QKeySequence(), &MainWindow::selectCommand);
  runAction_ = addCommand("Run", QKeySequence(Qt::Key_F9), &MainWindow::runCommand);
  stopAction_ = addCommand("Stop", QKeySequence(Qt::Key_F8), &MainWindow::stopCommand);
  pauseAction_ = addCommand("Pause", QKeySequence(Qt::Key_F12), &MainWindow::pauseCommand);
  editAction_ = addCommand("Edit", QKeySequence(), &MainWindow::editCommand);
  configureAction_ =
      addCommand("Configure", QKeySequence(Qt::Key_F5), &MainWindow::configureCommand);
  showConfAction_ = addCommand("Show Configuration", QKeySequence(Qt::Key_F6),
                               &MainWindow::showConfigurationCommand);
  aboutAction_ = addCommand("About", QKeySequence(Qt::Key_F11), &MainWindow::aboutCommand);
  exitAction_ = addCommand("Exit", QKeySequence(), &MainWindow::exitCommand);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popup_->popup(mapToGlobal(at)); });
}

void MainWindow::connectControls() {
  connect(selectButton_, &QPushButton::clicked, this, &MainWindow::selectCommand);
  connect(runButton_, &QPushButton::clicked, this, &MainWindow::runCommand);
  connect(stopButton_, &QPushButton::clicked, this, &MainWindow::stopCommand);
  connect(pauseButton_, &QPushButton::clicked, this, &MainWindow::pauseCommand);
  connect(editButton_, &QPushButton::clicked, this, &MainWindow::editCommand);
  connect(configureButton_, &QPushButton::clicked, this, &MainWindow::configureCommand);
  connect(showConfButton_, &QPushButton::clicked, this, &MainWindow::showConfigurationCommand);
  connect(aboutButton_, &QPushButton::clicked, this, &MainWindow::aboutCommand);
  connect(helpButton_, &QPushButton::clicked, this, &MainWindow::helpCommand);
  connect(exitButton_, &QPushButton::clicked, this, &MainWindow::exitCommand);
  const run::LogKind kinds[] = {run::LogKind::Main, run::LogKind::Error, run::LogKind::Warnings,
                                run::LogKind::Skipped};
  for (size_t i = 0; i < viewButtons_.size(); ++i) {
    connect(viewButtons_[i], &QPushButton::clicked, this,
            [this, kind = kinds[i]] { viewLog(kind); });
  }
  connect(openOutputButton_, &QPushButton::clicked, this, &MainWindow::openOutputFolder);
  connect(openIndexButton_, &QPushButton::clicked, this, &MainWindow::openIndex);
  connect(freeDiskButton_, &QPushButton::clicked, this, &MainWindow::toggleFreeDisk);
  connect(inputFormats_, &QComboBox::activated, this, &MainWindow::inputFormatChosen);
  connect(outputFormats_, &QComboBox::activated, this, &MainWindow::outputFormatChosen);
  connect(singleFile_, &QCheckBox::clicked, this, &MainWindow::singleFileToggled);
  connect(standardMask_, &QCheckBox::clicked, this, &MainWindow::standardMaskToggled);
  connect(minimizeToTray_, &QCheckBox::clicked, this, &MainWindow::minimizeToTrayToggled);
  connect(maskBox_, &QLineEdit::editingFinished, this, &MainWindow::storeMask);
  connect(inputBox_, &QLineEdit::editingFinished, this, &MainWindow::inputTyped);
  connect(outputBox_, &QLineEdit::editingFinished, this, &MainWindow::outputTyped);
  maskBox_->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // A double click in the mask box recomputes the mask.
  if (watched == maskBox_ && event->type() == QEvent::MouseButtonDblClick) {
    recomputeMask();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Start-up

void MainWindow::startUp() {
  if (startUpBegun_) {
    return;  // the step runs once
  }
  startUpBegun_ = true;
  startUpTimer_.stop();
  setConversionState("Loading LibreOffice. Please wait...");
  commandLine_ = app::ReadCommandLine(params_, probe(), false);
  if (commandLine_.error) {
    dialogs_->error(this, q(*commandLine_.error), "Error");
  }
  app::PresetFromCommandLine(commandLine_, settings_);
  if (!commandLine_.currentOutputFileName.empty()) {
    OutputFileName_ = commandLine_.currentOutputFileName;
  }
  if (commandLine_.ShowAtStart) {
    showNormal();
  }
  loadConfiguration();
  // Made once Kelva.ini is read: its time limit and recycling apply to the office.
  engine_ = services_.makeEngine(0, settings_);
  connectEngine();
}

void MainWindow::loadConfiguration() {
  for (const config::LoadNotice& notice :
       config::LoadAllSettings(ini_, settings_, formats_, services_.locale,
                               word::kRevisionRulesVersion, platform::now())) {
    if (notice.title.empty() || notice.title == config::kApplicationTitle) {
      dialogs_->message(this, q(notice.text));
    } else {
      dialogs_->error(this, q(notice.text), q(notice.title));
    }
  }
  app::CompleteSettings(commandLine_, settings_);
  singleFile_->setChecked(settings_.SingleFile);
  standardMask_->setChecked(settings_.StandardInpMask);
  minimizeToTray_->setChecked(settings_.MinimizeToTray);
  showWindowAction_->setEnabled(settings_.MinimizeToTray);
  hideWindowAction_->setEnabled(settings_.MinimizeToTray);
  tray_->setShowHint(settings_.TrayShowHint);
  setApplicationHints(settings_.ShowHint);
  applyLamps();
}

void MainWindow::connectEngine() {
  engineThread_->post([this] {
    if (services_.clearStaleEngines) {
      services_.clearStaleEngines([this](const std::string& text) { runView_->setProgress(text); });
    }
    for (;;) {
      runView_->setProgress("Opening LibreOffice...");
      try {
        engine_->connect();
        std::vector<word::FileConverter> converters = engine_->fileConverters();
        QMetaObject::invokeMethod(
            this, [this, converters] { engineConnected(converters); }, Qt::QueuedConnection);
        return;
      } catch (const std::exception& e) {
        // The engine's text already names the office: "Connection to LibreOffice failed: ...".
        if (!runView_->askYesNo(std::string(e.what()) + ".\r\nRetry?", "Error")) {
          QMetaObject::invokeMethod(
              this,
              [this] {
                exiting_ = true;
                startUpFailed_ = true;
                close();
              },
              Qt::QueuedConnection);
          return;
        }
      }
    }
  });
}

void MainWindow::engineConnected(const std::vector<word::FileConverter>& converters) {
  lists_ = word::BuildFormatLists(engine_->version(), converters);
  inputFormats_->clear();
  for (const word::FormatEntry& entry : lists_.input) {
    inputFormats_->addItem(q(entry.label));
  }
  outputFormats_->clear();
  for (const word::FormatEntry& entry : lists_.output) {
    outputFormats_->addItem(q(entry.label));
  }
  versionCaption_->setVisible(true);
  engineName_ = engine_->productName();
  setTrayHint(std::string(run::kTrayTitle) + "\r\nStatus: Started");
  versionLabel_->setText(q(engineName_));
  versionLabel_->setVisible(true);
  const std::string problem = app::ChooseFormats(lists_, commandLine_, settings_, selection_);
  if (!problem.empty()) {
    dialogs_->error(this, q(problem), "Error");
    commandLine_.AutoRun = false;
    // The stored positions are out of the lists: start from the first entries.
    word::SelectFormats(lists_, 0, 0, selection_);
    settings_.InpFormatIndex = 0;
    settings_.OutFormatIndex = 0;
  }
  inputFormats_->setCurrentIndex(selection_.inputIndex);
  outputFormats_->setCurrentIndex(selection_.outputIndex);
  engineReady_ = true;
  finishStartUp();
}

void MainWindow::finishStartUp() {
  if (!settings_.TrayIconAlwaysOn) {
    tray_->setVisible(false);
  } else {
    tray_->setVisible(true);
  }
  updateInputDisplay();
  refreshFreeDisk();
  setConversionState("");
  setProgress("");
  startedUp_ = true;
  applyIdleState();
  emit startUpFinished();
  if (commandLine_.AutoRun) {
    autoExit_ = true;
    runCommand();
    if (!running_) {
      exitCommand();
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The input and output selection

std::string MainWindow::storedMask() const {
  return ini_.readString(config::kConfigurationDataSection, "InpMask", "*.*");
}

void MainWindow::writeKey(const std::function<void(config::IniFile&)>& write) {
  try {
    write(ini_);
  } catch (const config::IniWriteError& e) {
    if (!writeFailureShown_) {
      writeFailureShown_ = true;
      dialogs_->error(
          this, q(std::string(e.what()) + ": the change applies until the program ends"), "Error");
    }
  }
}

void MainWindow::updateInputDisplay() {
  const app::InputDisplay display =
      app::UpdateInputDisplay(settings_, selection_, storedMask(), probe());
  inputLabel_->setText(q(display.inputLabel));
  outputLabel_->setText(q(display.outputLabel));
  inputBox_->setText(q(display.inputBox));
  outputBox_->setText(q(display.outputBox));
  maskBox_->setText(q(settings_.InpMask));
  maskControlsEnabled_ = display.maskControlsEnabled;
  runEnabled_ = display.runAllowed;
  checkNtfsDrives();
  applyIdleState();
}

void MainWindow::updateRunEnabled() {
  runEnabled_ = app::RunAllowed(settings_, probe());
  applyIdleState();
}

void MainWindow::checkNtfsDrives() {
  if (!services_.metadata) {
    return;
  }
  metadata::MetadataReport report;
  report.message = [this](const std::string& text) { dialogs_->message(this, q(text)); };
  report.indicator = [this](metadata::Indicator which, metadata::LedColor color, bool off) {
    setIndicator(which, color, off);
  };
  metadata::MetadataStep step(settings_, *services_.metadata, services_.locale, report);
  step.CheckNtfsDrives();
  // The security lamp means nothing where the outputs cannot keep security.
  const size_t perm = static_cast<size_t>(metadata::Indicator::Perm);
  const bool show = settings_.OutPath.empty() || step.targetIsNtfs();
  leds_[perm]->setVisible(show);
  ledLabels_[perm]->setVisible(show);
}

void MainWindow::selectCommand() {
  if (!idle_ || !startedUp_) {
    return;
  }
  const app::DialogFilter inFilter = app::InputDialogFilter(settings_, selection_);
  const QString chosen =
      dialogs_->openFileName(this, "Select input file/folder", q(settings_.InpPath),
                             q(inFilter.filter), q(inFilter.proposedName), settings_.SingleFile);
  if (chosen.isEmpty()) {
    return;
  }
  const bool maskChanged = app::TakeInputChoice(settings_, s(chosen));
  writeKey([this, maskChanged](config::IniFile& ini) {
    ini.writeString(config::kConfigurationDataSection, "InpPath", settings_.InpPath);
    ini.writeString(config::kConfigurationDataSection, "InpFileName", settings_.InpFileName);
    if (maskChanged) {
      ini.writeString(config::kConfigurationDataSection, "InpMask", settings_.InpMask);
    }
  });
  updateRunEnabled();
  checkNtfsDrives();
  for (QLineEdit* box : {completedBox_, errorsBox_, warningsBox_, totalBox_, foldersBox_}) {
    box->setText("0");
  }
  setConversionState("");

  const app::DialogFilter outFilter = app::OutputDialogFilter(selection_);
  const QString output =
      dialogs_->saveFileName(this, "Select output file/folder", q(settings_.OutPath),
                             q(outFilter.filter), q(outFilter.proposedName));
  if (output.isEmpty()) {
    // The new input stays chosen.
    updateInputDisplay();
    return;
  }
  settings_.OutPath = app::FolderPart(s(output));
  writeKey([this](config::IniFile& ini) {
    ini.writeString(config::kConfigurationDataSection, "OutPath", settings_.OutPath);
  });
  if (settings_.SingleFile) {
    OutputFileName_ = s(output);
  }
  updateRunEnabled();
  updateInputDisplay();
  refreshFreeDisk();
}

void MainWindow::inputTyped() {
  if (!inputBox_->isModified() || !idle_) {
    return;
  }
  inputBox_->setModified(false);
  const std::string problem = app::TakeTypedInput(settings_, s(inputBox_->text()), probe());
  if (!problem.empty()) {
    dialogs_->error(this, q(problem), "Error");
    inputBox_->clear();
    updateRunEnabled();
    return;
  }
  writeKey([this](config::IniFile& ini) {
    ini.writeString(config::kConfigurationDataSection, "InpPath", settings_.InpPath);
    ini.writeString(config::kConfigurationDataSection, "InpFileName", settings_.InpFileName);
  });
  updateInputDisplay();
}

void MainWindow::outputTyped() {
  if (!outputBox_->isModified() || !idle_) {
    return;
  }
  outputBox_->setModified(false);
  const std::string problem = app::TakeTypedOutput(settings_, s(outputBox_->text()));
  if (!problem.empty()) {
    dialogs_->error(this, q(problem), "Error");
    outputBox_->clear();
    settings_.OutPath.clear();
    updateRunEnabled();
    return;
  }
  writeKey([this](config::IniFile& ini) {
    ini.writeString(config::kConfigurationDataSection, "OutPath", settings_.OutPath);
  });
  updateInputDisplay();
  refreshFreeDisk();
}

void MainWindow::inputFormatChosen(int index) {
  if (index < 0 || !word::SelectFormats(lists_, index, selection_.outputIndex, selection_)) {
    return;
  }
  settings_.InpFormatIndex = index;
  writeKey([index](config::IniFile& ini) {
    ini.writeInteger(config::kConfigurationDataSection, "InpFormatIndex", index);
  });
  if (settings_.StandardInpMask && !settings_.SingleFile) {
    settings_.InpMask = word::StandardMask(selection_.inputExtensions);
    maskBox_->setText(q(settings_.InpMask));
  }
}

void MainWindow::outputFormatChosen(int index) {
  if (index < 0 || !word::SelectFormats(lists_, selection_.inputIndex, index, selection_)) {
    return;
  }
  settings_.OutFormatIndex = index;
  writeKey([index](config::IniFile& ini) {
    ini.writeInteger(config::kConfigurationDataSection, "OutFormatIndex", index);
  });
  updateInputDisplay();
}

void MainWindow::singleFileToggled(bool on) {
  settings_.SingleFile = on;
  updateInputDisplay();
  writeKey(
      [on](config::IniFile& ini) { ini.writeBool(config::kOptionsSection, "SingleFile", on); });
}

void MainWindow::standardMaskToggled(bool on) {
  settings_.StandardInpMask = on;
  writeKey([on](config::IniFile& ini) {
    ini.writeBool(config::kOptionsSection, "StandardInpMask", on);
  });
  recomputeMask();
}

void MainWindow::recomputeMask() {
  settings_.InpMask = app::MaskFor(settings_, selection_, storedMask());
  maskBox_->setText(q(settings_.InpMask));
  applyIdleState();
}

void MainWindow::storeMask() {
  if (!idle_ || settings_.SingleFile || settings_.StandardInpMask) {
    return;
  }
  settings_.InpMask = s(maskBox_->text());
  writeKey([this](config::IniFile& ini) {
    ini.writeString(config::kConfigurationDataSection, "InpMask", settings_.InpMask);
  });
}

void MainWindow::minimizeToTrayToggled(bool on) {
  settings_.MinimizeToTray = on;
  writeKey(
      [on](config::IniFile& ini) { ini.writeBool(config::kOptionsSection, "MinimizeToTray", on); });
  showWindowAction_->setEnabled(on);
  hideWindowAction_->setEnabled(on);
}

// ---------------------------------------------------------------------------------------------
// Busy and idle

void MainWindow::setBusy(bool busy) {
  idle_ = !busy;
  applyIdleState();
}

void MainWindow::setRunEnabled(bool enabled) {
  runEnabled_ = enabled;
  applyIdleState();
}

void MainWindow::applyIdleState() {
  // A run that has not yet put the window in its busy state (it may be asking a question) already
  // owns the selection.
  const bool idle = idle_ && startedUp_ && !running_;
  const bool paused = control_.paused;
  for (QWidget* w : {static_cast<QWidget*>(inputBox_), static_cast<QWidget*>(outputBox_),
                     static_cast<QWidget*>(inputFormats_), static_cast<QWidget*>(outputFormats_),
                     static_cast<QWidget*>(selectButton_), static_cast<QWidget*>(singleFile_),
                     static_cast<QWidget*>(minimizeToTray_), static_cast<QWidget*>(showConfButton_),
                     static_cast<QWidget*>(exitButton_)}) {
    w->setEnabled(idle);
  }
  // Exit needs no office: it is there from the start.
  exitButton_->setEnabled(idle_);
  exitAction_->setEnabled(idle_);
  for (QAction* a : {selectAction_, showConfAction_}) {
    a->setEnabled(idle);
  }
  standardMask_->setEnabled(idle && maskControlsEnabled_);
  maskBox_->setEnabled(idle && maskControlsEnabled_ && !settings_.StandardInpMask);
  configureButton_->setEnabled(idle || (!idle_ && paused));
  configureAction_->setEnabled(configureButton_->isEnabled());
  stopButton_->setEnabled(!idle_ && !paused);
  stopAction_->setEnabled(stopButton_->isEnabled());
  pauseButton_->setEnabled(!idle_);
  pauseAction_->setEnabled(!idle_);
  const bool run = idle && engineReady_ && !running_ && runEnabled_;
  runButton_->setEnabled(run);
  runAction_->setEnabled(run);
  editButton_->setEnabled(idle && !OutputFileName_.empty());
  editAction_->setEnabled(editButton_->isEnabled());
  for (QPushButton* b : viewButtons_) {
    b->setVisible(idle_);
  }
  viewCaption_->setVisible(idle_);
  openOutputButton_->setVisible(idle_);
  openIndexButton_->setVisible(idle_);
  for (QWidget* box :
       {static_cast<QWidget*>(inputBox_), static_cast<QWidget*>(outputBox_),
        static_cast<QWidget*>(inputFormats_), static_cast<QWidget*>(outputFormats_)}) {
    paintBox(box, !idle_);
  }
  paintBox(maskBox_, !idle_ || settings_.StandardInpMask);
}

// ---------------------------------------------------------------------------------------------
// Run, Pause, Stop

void MainWindow::runCommand() {
  if (!startedUp_ || !engineReady_ || running_ || !idle_ || !runEnabled_) {
    return;
  }
  running_ = true;
  control_.paused = false;
  control_.stopRequested = false;
  applyIdleState();
  const int32_t engineCount = std::max<int32_t>(1, settings_.Engines);
  engineThread_->post([this, engineCount, selection = selection_] {
    app::RunRequest request;
    request.settings = &settings_;
    request.formats = &formats_;
    request.engine = engine_.get();
    request.moreEngines = [this](int32_t k) { return services_.makeEngine(k, settings_); };
    request.engineCount = engineCount;
    request.view = runView_.get();
    request.locale = services_.locale;
    request.selection = selection;
    request.control = &control_;
    std::array<std::string, 4> logFiles;
    std::string logDir;
    std::string indexPath;
    std::string outputFileName;
    bool started = false;
    try {
      started = app::LaunchRun(request, [&](const run::BatchRun& batch) {
        const run::LogKind kinds[] = {run::LogKind::Main, run::LogKind::Error,
                                      run::LogKind::Warnings, run::LogKind::Skipped};
        for (size_t i = 0; i < logFiles.size(); ++i) {
          logFiles[i] = batch.logs().fileName(kinds[i]);
        }
        logDir = batch.logs().logDir();
        indexPath = batch.indexPath();
        outputFileName = batch.OutputFileName();
      });
    } catch (const std::exception& e) {
      // Nothing of the run may take the window down; say what stopped it.
      runView_->showError(e.what(), "Error");
    }
    QMetaObject::invokeMethod(
        this,
        [this, started, logFiles, logDir, indexPath, outputFileName] {
          runEnded(started, logFiles, logDir, indexPath, outputFileName);
        },
        Qt::QueuedConnection);
  });
}

void MainWindow::runEnded(bool started, const std::array<std::string, 4>& logFiles,
                          const std::string& logDir, const std::string& indexPath,
                          const std::string& outputFileName) {
  running_ = false;
  control_.paused = false;
  pauseButton_->setText("Pause");
  pauseAction_->setText("Pause");
  if (started) {
    logFiles_ = logFiles;
    logDir_ = logDir;
    indexPath_ = indexPath;
    if (!outputFileName.empty()) {
      OutputFileName_ = outputFileName;
    }
    idle_ = true;
    updateRunEnabled();
  }
  applyIdleState();
  refreshFreeDisk();
  emit runFinished();
  if (closeAfterRun_) {
    close();
  } else if (autoExit_) {
    exitCommand();
  }
}

void MainWindow::pauseCommand() {
  if (idle_) {
    return;
  }
  control_.paused = !control_.paused;
  const bool paused = control_.paused;
  setTrayHint(std::string(run::kTrayTitle) +
              (paused ? "\r\nStatus: Paused" : "\r\nStatus: Restarted"));
  pauseButton_->setText(paused ? "Resume" : "Pause");
  pauseAction_->setText(pauseButton_->text());
  applyIdleState();
}

void MainWindow::stopCommand() {
  if (idle_ && !running_) {
    return;
  }
  control_.stopRequested = true;
  // The caption is bold while the request is taken; the run answers at its next checkpoint.
  QFont font = stopButton_->font();
  font.setBold(true);
  stopButton_->setFont(font);
  QApplication::processEvents();
  font.setBold(false);
  stopButton_->setFont(font);
}

// ---------------------------------------------------------------------------------------------
// Small commands

void MainWindow::editCommand() {
  std::string document = OutputFileName_;
  if (!settings_.SingleFile) {
    const QString chosen = dialogs_->openFileName(
        this, "Edit", q(settings_.OutPath), "All Files (*)",
        q(OutputFileName_.empty() ? std::string("*.Doc") : OutputFileName_), true);
    if (chosen.isEmpty()) {
      return;
    }
    document = s(chosen);
  }
  if (document.empty()) {
    return;
  }
  // The office runs without windows; the document opens in the desktop's own editor.
  openPath(document);
}

void MainWindow::openPath(const std::string& path) {
  if (!dialogs_->openUrl(QUrl::fromLocalFile(q(path)))) {
    dialogs_->error(this, q("No application could open " + path), "Error");
  }
}

void MainWindow::viewLog(run::LogKind kind) {
  const std::string& name = logFiles_[static_cast<size_t>(kind)];
  if (name.empty()) {
    dialogs_->message(this, "No log of this kind was written by a run of this session");
    return;
  }
  openPath(name);
}

void MainWindow::openOutputFolder() {
  if (settings_.OutPath.empty()) {
    return;
  }
  openPath(settings_.OutPath);
}

void MainWindow::openIndex() {
  const std::string index = indexPath_.empty() && !settings_.OutPath.empty()
                                ? settings_.OutPath + "Log/Index.html"
                                : indexPath_;
  if (index.empty() || !platform::isRegularFile(index)) {
    dialogs_->message(this, q("No index yet: " + (index.empty() ? std::string("-") : index)));
    return;
  }
  openPath(index);
}

void MainWindow::configureCommand() {
  if (!configureButton_->isEnabled() || !services_.showConfigure || configuring_) {
    return;
  }
  configuring_ = true;
  config::ui::ConfigureContext context;
  context.settings = &settings_;
  context.formats = &formats_;
  context.ini = &ini_;
  context.wordVersion = word::kRevisionRulesVersion;
  context.locale = services_.locale;
  if (services_.metadata) {
    metadata::MetadataStep step(settings_, *services_.metadata, services_.locale, {});
    context.securityAvailable =
        step.IsNtfsPath(settings_.InpPath) && step.IsNtfsPath(settings_.OutPath);
    context.administrator = metadata::IsUserAdministrator(*services_.metadata);
  }
  for (const QString& family : QFontDatabase::families()) {
    context.fontNames.push_back(s(family));
  }
  context.help = [this](const std::string& topic) {
    if (services_.showHelp) {
      services_.showHelp(this, topic);
    }
  };
  context.host.minimizeToTray = [this] { return minimizeToTray_->isChecked(); };
  context.host.checkMinimizeToTray = [this] {
    minimizeToTray_->setChecked(true);
    minimizeToTrayToggled(true);
  };
  // A paused run may be finishing a stage that reads the settings: they change only while it
  // waits at its next checkpoint.
  context.host.changeSettings = [this](const std::function<void()>& change) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    runView_->whileRunParked([this] { return running_; }, change);
    QApplication::restoreOverrideCursor();
  };
  const bool singleFileBefore = settings_.SingleFile;
  context.host.applied = [this, singleFileBefore](const config::Settings&) {
    applyConfiguration(singleFileBefore);
  };
  services_.showConfigure(this, std::move(context));
  configuring_ = false;
}

void MainWindow::applyConfiguration(bool singleFileBefore) {
  singleFile_->setChecked(settings_.SingleFile);
  setApplicationHints(settings_.ShowHint);
  tray_->setShowHint(settings_.TrayShowHint);
  tray_->setMouseEnabled(settings_.TrayIconEnabled);
  tray_->setLeftPopup(settings_.TrayLeftPopup);
  tray_->setPopupMenu(settings_.TrayPopupMenu);
  // A window hidden to the tray (the dialog may be opened from the tray's menu) keeps its icon:
  // without it the window could not be brought back.
  tray_->setVisible(settings_.TrayIconAlwaysOn || !isVisible());
  if (settings_.SingleFile != singleFileBefore) {
    updateInputDisplay();
  } else {
    updateRunEnabled();
  }
  applyLamps();
}

void MainWindow::applyLamps() {
  const config::LampStates lamps = config::LampsFromSettings(settings_);
  setIndicator(metadata::Indicator::Date, metadata::LedColor::Green, !lamps.date);
  setIndicator(metadata::Indicator::Attrib, metadata::LedColor::Green, !lamps.attrib);
  setIndicator(metadata::Indicator::Perm, metadata::LedColor::Green, !lamps.perm);
}

void MainWindow::showConfigurationCommand() {
  if (services_.showStatus) {
    services_.showStatus(this, formats_, settings_);
  }
}

void MainWindow::aboutCommand() {
  if (services_.showAbout) {
    services_.showAbout(this, engineName_,
                        settings_.OutPath.empty() ? settings_.InpPath : settings_.OutPath);
  }
}

void MainWindow::helpCommand() {
  if (services_.showHelp) {
    services_.showHelp(this, "UserGuide.html");
  }
}

void MainWindow::toggleFreeDisk() {
  const bool show = !freeDiskLabels_[0]->isVisible();
  for (QLabel* label : freeDiskLabels_) {
    label->setVisible(show);
  }
}

void MainWindow::refreshFreeDisk() {
  const app::FreeDiskTexts texts = app::FreeDiskFor(settings_.OutPath, settings_.InpPath);
  freeDiskLabels_[1]->setText(q(texts.freeKb));
  freeDiskLabels_[3]->setText(q(texts.freePercent));
}

void MainWindow::setStayOnTop(bool on) {
  if (stayOnTopAction_->isChecked() != on) {
    stayOnTopAction_->setChecked(on);
  }
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (visible) {
    show();
  }
  if (on) {
    raise();
    activateWindow();
  } else {
    lower();
  }
}

void MainWindow::hideToTray() {
  if (!tray_->available()) {
    // Without a tray a hidden window could not be brought back.
    showMinimized();
    return;
  }
  tray_->setVisible(true);
  hide();
}

void MainWindow::showFromTray() {
  showNormal();
  raise();
  activateWindow();
  if (!settings_.TrayIconAlwaysOn) {
    tray_->setVisible(false);
  }
}

void MainWindow::bringToFront() {
  showFromTray();
}

// ---------------------------------------------------------------------------------------------
// What the run shows

void MainWindow::setConversionState(const std::string& text) {
  stateBox_->setText(q(text));
  stateBox_->setCursorPosition(0);
}

void MainWindow::setConversionStateHint(const std::string& text) {
  stateBox_->setToolTip(q(text));
}

void MainWindow::setProgress(const std::string& text) {
  progressBox_->setText(q(text));
  progressBox_->setCursorPosition(0);
}

void MainWindow::setPathBoxes(const std::string& input, const std::string& output) {
  relInputBox_->setText(q(input));
  relOutputBox_->setText(q(output));
}

void MainWindow::setOutputPathBox(const std::string& output) {
  relOutputBox_->setText(q(output));
}

void MainWindow::setPathHints(const std::string& input, const std::string& output) {
  relInputBox_->setToolTip(q(input));
  relOutputBox_->setToolTip(q(output));
}

void MainWindow::setDocumentHint(const std::string& text) {
  centralWidget()->setToolTip(q(text));
}

void MainWindow::setCounters(const run::RunCounters& c) {
  foldersBox_->setText(QString::number(c.DirCount));
  completedBox_->setText(QString::number(c.FilesConverted));
  errorsBox_->setText(QString::number(c.FilesInError));
  warningsBox_->setText(QString::number(c.FilesWithWarnings));
  skippedBox_->setText(QString::number(c.FilesSkipped));
  totalBox_->setText(QString::number(c.FilesAnalyzed));
}

void MainWindow::setTotalEstimate(int files) {
  totalBox_->setToolTip(QString("Files to analyse: %1").arg(files));
}

void MainWindow::setTrayHint(const std::string& text) {
  trayHint_ = text;
  tray_->setHint(q(text));
}

void MainWindow::setIndicator(metadata::Indicator which, metadata::LedColor color, bool off) {
  Led* led = leds_[static_cast<size_t>(which)];
  led->setLedColor(static_cast<Led::Color>(color));
  led->setLedOn(!off);
}

void MainWindow::showMessage(const std::string& text) {
  dialogs_->message(this, q(text));
}

void MainWindow::showError(const std::string& text, const std::string& title) {
  dialogs_->error(this, q(text), q(title));
}

bool MainWindow::askYesNo(const std::string& text, const std::string& title) {
  return dialogs_->askYesNo(this, q(text), q(title));
}

// ---------------------------------------------------------------------------------------------
// Closing

void MainWindow::exitCommand() {
  if (!idle_ && !running_) {
    return;
  }
  exiting_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (settings_.CloseToTray && !exiting_ && !sessionEnding_ && tray_->available()) {
    event->ignore();
    hideToTray();
    return;
  }
  if (running_) {
    // The document under way is finished and the summary written before the window goes.
    control_.paused = false;
    control_.stopRequested = true;
    closeAfterRun_ = true;
    setConversionState("Stopping after the document under way...");
    event->ignore();
    return;
  }
  tray_->setVisible(false);
  event->accept();
  // The office is ended with the program; the engine thread finishes its jobs first.
  engineThread_->post([this] {
    if (engine_) {
      engine_->quit();
    }
  });
  engineThread_->finish();
}

void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange && isMinimized() && settings_.MinimizeToTray &&
      tray_->available() && startedUp_) {
    QTimer::singleShot(0, this, &MainWindow::hideToTray);
  }
  QMainWindow::changeEvent(event);
}

}  // namespace kelvara::window
