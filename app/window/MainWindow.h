#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "config/IniFile.h"
#include "config/Settings.h"
#include "config/ui/ConfigureDialog.h"
#include "format/FormatParameterSet.h"
#include "metadata/Indicators.h"
#include "platform/Locale.h"
#include "platform/MetadataPlatform.h"
#include "run/BatchRun.h"
#include "run/RunCounters.h"
#include "word/DocumentEngine.h"
#include "word/FormatTables.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace kelvara::window {

class EngineThread;
class Led;
class Tray;
class WindowDialogs;
class WindowRunView;

// What the window is given from outside: the offices, the configuration file, the boxes and
// the other windows it opens.
struct WindowServices {
  // Office k of the run (0 is the one kept for the program's life, the others form the pool),
  // with the settings' time limit and recycling.
  std::function<std::unique_ptr<word::DocumentEngine>(int32_t k, const config::Settings& settings)>
      makeEngine;
  // Ends offices a crashed run left behind, saying so through the callback. May be empty.
  std::function<void(const std::function<void(const std::string&)>&)> clearStaleEngines;
  std::string configPath;
  WindowDialogs* dialogs = nullptr;
  // Writes the outputs' dates, attributes and security; null: the outputs keep what the
  // conversion gave them.
  platform::MetadataPlatform* metadata = nullptr;
  // The help page of a topic ("UserGuide.html"); the about box; the parameters status view;
  // the configuration dialog (true when its OK stored the options). Each may be empty.
  std::function<void(QWidget* parent, const std::string& topic)> showHelp;
  std::function<void(QWidget* parent, const std::string& engineName, const std::string& diskPath)>
      showAbout;
  std::function<void(QWidget* parent, const format::FormatParameterSet& formats,
                     const config::Settings& settings)>
      showStatus;
  std::function<bool(QWidget* parent, config::ui::ConfigureContext context)> showConfigure;
  // Whether the desktop has a tray; tests pin it.
  std::function<bool()> trayAvailable;
  platform::Locale locale;
};

// The program's main window: the input and output selection, the format lists and the mask, the
// run commands, the counters and status boxes of the current run, the lamps, the free-disk
// display, the popup menu and the tray icon. It only displays and forwards: the run itself
// happens in the core on the window's engine thread.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(WindowServices services, std::vector<std::string> params);
  ~MainWindow() override;

  // The start-up step, run once 500 ms after the window was created (at once in tests).
  void startUp();
  bool startedUp() const { return startedUp_; }
  bool idle() const { return idle_; }
  bool running() const { return running_; }

  // Commands of the buttons and the popup menu.
  void selectCommand();
  void runCommand();
  void pauseCommand();
  void stopCommand();
  void editCommand();
  void exitCommand();
  void configureCommand();
  void showConfigurationCommand();
  void aboutCommand();
  void helpCommand();
  void viewLog(run::LogKind kind);
  void openOutputFolder();
  void openIndex();
  void toggleFreeDisk();
  void setStayOnTop(bool on);
  void hideToTray();
  void showFromTray();
  // Brings the window to the front: a second copy of the program asked for it.
  void bringToFront();

  // What the run shows; called on the window's thread (WindowRunView takes care of that).
  void setConversionState(const std::string& text);
  void setConversionStateHint(const std::string& text);
  void setProgress(const std::string& text);
  void setPathBoxes(const std::string& input, const std::string& output);
  void setOutputPathBox(const std::string& output);
  void setPathHints(const std::string& input, const std::string& output);
  void setDocumentHint(const std::string& text);
  void setCounters(const run::RunCounters& counters);
  void setTotalEstimate(int files);
  void setTrayHint(const std::string& text);
  void setBusy(bool busy);
  void setRunEnabled(bool enabled);
  void refreshFreeDisk();
  void setIndicator(metadata::Indicator which, metadata::LedColor color, bool off);
  void showMessage(const std::string& text);
  void showError(const std::string& text, const std::string& title);
  bool askYesNo(const std::string& text, const std::string& title);

  // For tests and the tray.
  config::Settings& settings() { return settings_; }
  const word::FormatSelection& selection() const { return selection_; }
  QMenu* popupMenu() const { return popup_; }
  Tray* tray() const { return tray_.get(); }
 signals:
  // The run has ended (or did not start).
  void runFinished();
  // The office is connected and the lists are filled.
  void startUpFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildControls();
  void buildMenu();
  void connectControls();
  QAction* addCommand(const QString& text, const QKeySequence& key, void (MainWindow::*slot)());

  // Start-up, after the office is connected (or could not be).
  void connectEngine();
  void engineConnected(const std::vector<word::FileConverter>& converters);
  void finishStartUp();
  void loadConfiguration();
  // What the configuration dialog's OK applies at once.
  void applyConfiguration(bool singleFileBefore);
  void applyLamps();

  // The controls after a change of mode, input, output or format.
  void updateInputDisplay();
  void updateRunEnabled();
  void checkNtfsDrives();
  void applyIdleState();
  void inputFormatChosen(int index);
  void outputFormatChosen(int index);
  void storeMask();
  void recomputeMask();
  void singleFileToggled(bool on);
  void standardMaskToggled(bool on);
  void minimizeToTrayToggled(bool on);
  void inputTyped();
  void outputTyped();

  void runEnded(bool started, const std::array<std::string, 4>& logFiles, const std::string& logDir,
                const std::string& indexPath, const std::string& outputFileName);
  // Writes one key of the main window's own; a refused write is said once, and the window
  // goes on with the value in memory.
  void writeKey(const std::function<void(config::IniFile&)>& write);
  std::string storedMask() const;
  void openPath(const std::string& path);

  WindowServices services_;
  std::vector<std::string> params_;
  WindowDialogs* dialogs_;
  std::unique_ptr<WindowDialogs> ownDialogs_;
  config::IniFile ini_;
  config::Settings settings_;
  format::FormatParameterSet formats_;
  word::FormatLists lists_;
  word::FormatSelection selection_;
  app::CommandLine commandLine_;
  run::RunControl control_;
  std::unique_ptr<word::DocumentEngine> engine_;
  std::unique_ptr<EngineThread> engineThread_;
  std::unique_ptr<WindowRunView> runView_;
  std::unique_ptr<Tray> tray_;
  QTimer startUpTimer_;

  bool startUpBegun_ = false;
  bool startedUp_ = false;
  bool startUpFailed_ = false;
  bool autoExit_ = false;  // the command line's automatic run: the program ends after it
  bool sessionEnding_ = false;
  bool maskControlsEnabled_ = true;
  bool engineReady_ = false;
  bool idle_ = true;
  bool running_ = false;
  bool runEnabled_ = false;
  bool closeAfterRun_ = false;
  bool exiting_ = false;
  bool writeFailureShown_ = false;
  bool configuring_ = false;
  std::string OutputFileName_;
  std::array<std::string, 4> logFiles_;
  std::string logDir_;
  std::string indexPath_;
  std::string trayHint_;
  std::string engineName_;  // read once connected: the engine belongs to its thread afterwards

  // Controls.
  QLabel* inputLabel_ = nullptr;
  QLabel* outputLabel_ = nullptr;
  QLineEdit* inputBox_ = nullptr;
  QLineEdit* outputBox_ = nullptr;
  QComboBox* inputFormats_ = nullptr;
  QComboBox* outputFormats_ = nullptr;
  QLineEdit* maskBox_ = nullptr;
  QCheckBox* standardMask_ = nullptr;
  QCheckBox* singleFile_ = nullptr;
  QCheckBox* minimizeToTray_ = nullptr;
  QPushButton* selectButton_ = nullptr;
  QPushButton* runButton_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  QPushButton* pauseButton_ = nullptr;
  QPushButton* editButton_ = nullptr;
  QPushButton* configureButton_ = nullptr;
  QPushButton* showConfButton_ = nullptr;
  QPushButton* aboutButton_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  QPushButton* exitButton_ = nullptr;
  QLineEdit* foldersBox_ = nullptr;
  QLineEdit* completedBox_ = nullptr;
  QLineEdit* errorsBox_ = nullptr;
  QLineEdit* warningsBox_ = nullptr;
  QLineEdit* skippedBox_ = nullptr;
  QLineEdit* totalBox_ = nullptr;
  QLineEdit* relInputBox_ = nullptr;
  QLineEdit* relOutputBox_ = nullptr;
  QLineEdit* stateBox_ = nullptr;
  QLineEdit* progressBox_ = nullptr;
  QLabel* viewCaption_ = nullptr;
  std::array<QPushButton*, 4> viewButtons_{};
  QPushButton* openOutputButton_ = nullptr;
  QPushButton* openIndexButton_ = nullptr;
  std::array<Led*, 3> leds_{};
  std::array<QLabel*, 3> ledLabels_{};
  QPushButton* freeDiskButton_ = nullptr;
  std::array<QLabel*, 4> freeDiskLabels_{};
  QLabel* versionCaption_ = nullptr;
  QLabel* versionLabel_ = nullptr;

  QMenu* popup_ = nullptr;
  QAction* showWindowAction_ = nullptr;
  QAction* hideWindowAction_ = nullptr;
  QAction* stayOnTopAction_ = nullptr;
  QAction* selectAction_ = nullptr;
  QAction* runAction_ = nullptr;
  QAction* stopAction_ = nullptr;
  QAction* pauseAction_ = nullptr;
  QAction* editAction_ = nullptr;
  QAction* configureAction_ = nullptr;
  QAction* showConfAction_ = nullptr;
  QAction* aboutAction_ = nullptr;
  QAction* exitAction_ = nullptr;
};

}  // namespace kelvara::window
