#include "app/window/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <sstream>

#include "app/window/HintSwitch.h"
#include "app/window/Led.h"
#include "app/window/Tray.h"
#include "app/window/WindowDialogs.h"
#include "config/ConfigSections.h"
#include "config/IniFile.h"
#include "support/FakeDocumentEngine.h"
#include "support/TempDir.h"

namespace kelvara::window {
namespace {

using testing::FakeDocumentEngine;
using testing::TempDir;

// Answers every box as told and remembers what was asked, and on which thread.
class ScriptedDialogs : public WindowDialogs {
 public:
  std::vector<std::string> messages, errors, questions, opened;
  bool answer = true;
  QString openAnswer, saveAnswer;
  bool askedOffGuiThread = false;

  void message(QWidget*, const QString& text) override { record(messages, text); }
  void error(QWidget*, const QString& text, const QString& title) override {
    record(errors, title + ": " + text);
  }
  bool askYesNo(QWidget*, const QString& text, const QString& title) override {
    record(questions, title + ": " + text);
    return answer;
  }
  QString openFileName(QWidget*, const QString&, const QString&, const QString&, const QString&,
                       bool) override {
    return openAnswer;
  }
  QString saveFileName(QWidget*, const QString&, const QString&, const QString&,
                       const QString&) override {
    return saveAnswer;
  }
  bool openUrl(const QUrl& url) override {
    opened.push_back(url.toLocalFile().toStdString());
    return true;
  }

 private:
  void record(std::vector<std::string>& into, const QString& text) {
    if (QThread::currentThread() != qApp->thread()) {
      askedOffGuiThread = true;
    }
    into.push_back(text.toStdString());
  }
};

// Holds a conversion inside the office until the test lets it go.
class Gate {
 public:
  void hold() {
    std::unique_lock lock(m_);
    entered_ = true;
    cv_.wait(lock, [this] { return open_; });
  }
  bool entered() {
    std::lock_guard lock(m_);
    return entered_;
  }
  void open() {
    std::lock_guard lock(m_);
    open_ = true;
    cv_.notify_all();
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  bool entered_ = false;
  bool open_ = false;
};

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    in_ = dir_.dir("in/");
    out_ = dir_.dir("out/");
    dir_.file("in/a.doc", "one");
    dir_.file("in/b.doc", "two");
    config_ = dir_ / "Kelva.ini";
    config::IniFile ini(config_);
    ini.writeString(config::kConfigurationDataSection, "InpPath", in_);
    ini.writeString(config::kConfigurationDataSection, "OutPath", out_);
    ini.writeInteger(config::kOptionsSection, "Engines", 1);
    ini.writeInteger(config::kOptionsSection, "DocTimeout", 45);
    ini.writeInteger(config::kOptionsSection, "EngineRecycle", 7);
  }

  void TearDown() override {
    if (gate_) {
      gate_->open();
    }
    if (window_) {
      window_->exitCommand();
      QTRY_VERIFY_WITH_TIMEOUT(!window_->running(), 20000);
      window_.reset();
    }
  }

  WindowServices services() {
    WindowServices s;
    s.makeEngine = [this](int32_t, const config::Settings& settings) {
      engineSettings_ = settings;
      auto engine = std::make_unique<FakeDocumentEngine>();
      engine_ = engine.get();
      if (gate_) {
        engine->onOpen = [this](const std::string&) { gate_->hold(); };
      }
      return engine;
    };
    s.configPath = config_;
    s.dialogs = &dialogs_;
    s.trayAvailable = [this] { return trayAvailable_; };
    s.showHelp = [this](QWidget*, const std::string& topic) { helpTopics_.push_back(topic); };
    s.showConfigure = [this](QWidget* parent, config::ui::ConfigureContext context) {
      ++configureOpened_;
      return configure_ ? configure_(parent, std::move(context)) : false;
    };
    s.locale = platform::Locale{};
    return s;
  }

  MainWindow& start(std::vector<std::string> params = {}) {
    window_ = std::make_unique<MainWindow>(services(), std::move(params));
    QSignalSpy started(window_.get(), &MainWindow::startUpFinished);
    window_->startUp();
    EXPECT_TRUE(started.count() > 0 || started.wait(20000));
    return *window_;
  }

  template <class T>
  T* child(const char* name) {
    T* widget = window_->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  QString text(const char* box) { return child<QLineEdit>(box)->text(); }
  bool enabled(const char* button) { return child<QWidget>(button)->isEnabled(); }

  void runToEnd() {
    QSignalSpy finished(window_.get(), &MainWindow::runFinished);
    QTest::mouseClick(child<QPushButton>("run"), Qt::LeftButton);
    ASSERT_TRUE(finished.count() > 0 || finished.wait(20000));
  }

  TempDir dir_;
  std::string in_, out_, config_;
  ScriptedDialogs dialogs_;
  FakeDocumentEngine* engine_ = nullptr;
  std::unique_ptr<Gate> gate_;
  bool trayAvailable_ = false;
  config::Settings engineSettings_;  // what the window made its last office with
  std::vector<std::string> helpTopics_;
  std::function<bool(QWidget*, config::ui::ConfigureContext)> configure_;
  int configureOpened_ = 0;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, StartUpFillsTheFormatListsAndLeavesTheWindowIdle) {
  MainWindow& w = start();
  EXPECT_GT(child<QComboBox>("inputFormats")->count(), 1);
  EXPECT_GT(child<QComboBox>("outputFormats")->count(), 1);
  EXPECT_EQ(child<QLabel>("version")->text(), "Fake engine 1.0");
  EXPECT_EQ(text("inputBox").toStdString(), in_);
  EXPECT_EQ(text("outputBox").toStdString(), out_);
  EXPECT_TRUE(enabled("run"));
  EXPECT_FALSE(enabled("stop"));
  EXPECT_FALSE(enabled("pause"));
  EXPECT_FALSE(enabled("edit"));  // no output file yet
  EXPECT_TRUE(enabled("select"));
  EXPECT_TRUE(text("state").isEmpty());
  EXPECT_TRUE(w.idle());
  EXPECT_TRUE(engine_->connected());
  // The office is made with Kelva.ini's limits.
  EXPECT_EQ(engineSettings_.DocTimeout, 45);
  EXPECT_EQ(engineSettings_.EngineRecycle, 7);
  EXPECT_EQ(w.tray()->hint(), "Kelvara 1.0.2.11\r\nStatus: Started");
}

TEST_F(MainWindowTest, RunStaysDisabledWithoutAUsableInputOrOutput) {
  config::IniFile(config_).writeString(config::kConfigurationDataSection, "OutPath", "");
  start();
  EXPECT_FALSE(enabled("run"));
  window_->runCommand();
  EXPECT_FALSE(window_->running());

  // Single-file mode with a wildcard name: both boxes empty, Run disabled.
  window_->settings().OutPath = out_;
  window_->settings().InpFileName = in_ + "*.doc";
  QTest::mouseClick(child<QCheckBox>("singleFile"), Qt::LeftButton);
  EXPECT_TRUE(text("inputBox").isEmpty());
  EXPECT_TRUE(text("outputBox").isEmpty());
  EXPECT_FALSE(enabled("run"));
  EXPECT_FALSE(enabled("standardMask"));
  EXPECT_EQ(config::IniFile(config_).readString(config::kOptionsSection, "SingleFile", ""), "1");
}

TEST_F(MainWindowTest, ARunConvertsEveryDocumentAndShowsTheCountersAndLogs) {
  start();
  runToEnd();
  EXPECT_EQ(text("completed"), "2");
  EXPECT_EQ(text("errors"), "0");
  EXPECT_EQ(text("total"), "2");
  EXPECT_EQ(text("state"), "Conversion terminated");
  EXPECT_TRUE(child<QPushButton>("viewMain")->isVisibleTo(window_.get()));
  EXPECT_TRUE(enabled("run"));
  EXPECT_FALSE(enabled("stop"));
  EXPECT_TRUE(enabled("edit"));  // the last output can be opened

  QTest::mouseClick(child<QPushButton>("viewMain"), Qt::LeftButton);
  ASSERT_EQ(dialogs_.opened.size(), 1u);
  EXPECT_NE(readFile(dialogs_.opened[0]).find("End of conversion"), std::string::npos);
  QTest::mouseClick(child<QPushButton>("openIndex"), Qt::LeftButton);
  ASSERT_EQ(dialogs_.opened.size(), 2u);
  EXPECT_EQ(dialogs_.opened[1], out_ + "Log/Index.html");
  EXPECT_FALSE(dialogs_.askedOffGuiThread);
}

TEST_F(MainWindowTest, WhileARunGoesOnTheWindowIsBusyAndPauseAndStopAnswer) {
  gate_ = std::make_unique<Gate>();
  start();
  QTest::mouseClick(child<QPushButton>("run"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(gate_->entered(), 20000);
  QTRY_VERIFY_WITH_TIMEOUT(enabled("stop"), 5000);
  // The window is live while the office works: its controls follow the busy state.
  EXPECT_FALSE(enabled("select"));
  EXPECT_FALSE(enabled("run"));
  EXPECT_FALSE(enabled("inputFormats"));
  EXPECT_FALSE(enabled("exit"));
  EXPECT_FALSE(enabled("configure"));
  EXPECT_FALSE(child<QPushButton>("viewMain")->isVisibleTo(window_.get()));

  QTest::mouseClick(child<QPushButton>("pause"), Qt::LeftButton);
  EXPECT_EQ(child<QPushButton>("pause")->text(), "Resume");
  EXPECT_FALSE(enabled("stop"));
  EXPECT_TRUE(enabled("configure"));
  // The options may be changed while paused; they apply to the documents that follow.
  QTest::mouseClick(child<QPushButton>("configure"), Qt::LeftButton);
  EXPECT_EQ(configureOpened_, 1);
  EXPECT_NE(window_->tray()->hint().indexOf("Status: Paused"), -1);
  QTest::mouseClick(child<QPushButton>("pause"), Qt::LeftButton);
  EXPECT_EQ(child<QPushButton>("pause")->text(), "Pause");
  EXPECT_TRUE(enabled("stop"));
  EXPECT_NE(window_->tray()->hint().indexOf("Status: Restarted"), -1);

  QSignalSpy finished(window_.get(), &MainWindow::runFinished);
  QTest::mouseClick(child<QPushButton>("stop"), Qt::LeftButton);
  gate_->open();
  ASSERT_TRUE(finished.wait(20000));
  // The document under way was finished and counted; no other was started.
  EXPECT_EQ(text("completed"), "1");
  EXPECT_EQ(text("state"), "Conversion terminated");
  EXPECT_TRUE(window_->idle());
}

TEST_F(MainWindowTest, TheRunsQuestionsAreAnsweredInTheWindowAndTheRunFollowsTheAnswer) {
  config::IniFile(config_).writeString(config::kConfigurationDataSection, "OutPath", in_);
  start();
  dialogs_.answer = false;
  runToEnd();
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_NE(dialogs_.questions[0].find("Input and Output directory are the same"),
            std::string::npos);
  EXPECT_FALSE(dialogs_.askedOffGuiThread);
  EXPECT_EQ(text("completed"), "");  // nothing ran
  EXPECT_FALSE(enabled("run"));      // until the selection changes

  // A new selection enables Run again, and Yes lets the run go on.
  window_->settings().OutPath = out_;
  QTest::mouseClick(child<QCheckBox>("singleFile"), Qt::LeftButton);
  QTest::mouseClick(child<QCheckBox>("singleFile"), Qt::LeftButton);
  EXPECT_TRUE(enabled("run"));
  dialogs_.answer = true;
  runToEnd();
  EXPECT_EQ(text("completed"), "2");
}

TEST_F(MainWindowTest, ClosingDuringARunFinishesTheDocumentAndWritesTheSummaryFirst) {
  gate_ = std::make_unique<Gate>();
  start();
  window_->show();
  QTest::mouseClick(child<QPushButton>("run"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(gate_->entered(), 20000);
  EXPECT_FALSE(window_->close());  // refused for now
  EXPECT_TRUE(window_->running());
  gate_->open();
  QTRY_VERIFY_WITH_TIMEOUT(!window_->running(), 20000);
  QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 5000);
  const std::string log = readFile(out_ + "Log/ConvLog.txt");
  EXPECT_NE(log.find("End of conversion"), std::string::npos);
  EXPECT_NE(log.find("Files converted: 1"), std::string::npos);
  EXPECT_FALSE(engine_->connected());  // the office was ended with the window
  window_.reset();
}

TEST_F(MainWindowTest, TheCommandLineRunsAtOnceAndClosesAtTheEnd) {
  const std::string other = dir_.dir("other/");
  dir_.file("other/c.rtf", "three");
  MainWindow& w = start({"/a", "/i:", other, "/o:", out_ + "fromline/", "/of:", "8"});
  QTRY_VERIFY_WITH_TIMEOUT(!w.running() && !w.isVisible(), 20000);
  EXPECT_EQ(text("completed"), "1");
  EXPECT_EQ(w.settings().InpPath, other);
  EXPECT_EQ(w.selection().outputIndex, 8);
  EXPECT_NE(readFile(out_ + "fromline/Log/ConvLog.txt").find("c.rtf"), std::string::npos);
  // The command line does not change what Kelva.ini holds.
  EXPECT_EQ(config::IniFile(config_).readString(config::kConfigurationDataSection, "InpPath", ""),
            in_);
  window_.reset();
}

TEST_F(MainWindowTest, AMissingInputOnTheCommandLineIsSaidAndNothingRuns) {
  start({"/a", "/i:", dir_ / "missing/", "/o:", out_});
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0], "Error: Path not found: " + dir_ / "missing/");
  EXPECT_FALSE(window_->running());
  EXPECT_TRUE(window_->idle());
  EXPECT_EQ(text("inputBox").toStdString(), in_);  // Kelva.ini's input instead
}

TEST_F(MainWindowTest, TypedPathsThatCannotBeUsedAreSaidAndEmptied) {
  start();
  QLineEdit* input = child<QLineEdit>("inputBox");
  input->setText(QString::fromStdString(dir_ / "nothing-here"));
  input->setModified(true);
  emit input->editingFinished();
  EXPECT_EQ(dialogs_.errors.back(), "Error: File not found");
  EXPECT_TRUE(input->text().isEmpty());

  QLineEdit* output = child<QLineEdit>("outputBox");
  output->setText("relative/folder");
  output->setModified(true);
  emit output->editingFinished();
  EXPECT_EQ(dialogs_.errors.back(), "Error: Drive not found");
  EXPECT_FALSE(enabled("run"));
}

TEST_F(MainWindowTest, SelectTakesTheInputAndTheOutputAndStoresThem) {
  start();
  const std::string other = dir_.dir("picked/");
  dir_.file("picked/x.doc");
  dialogs_.openAnswer = QString::fromStdString(other + "x.doc");
  dialogs_.saveAnswer = QString::fromStdString(out_ + "sub/x.docx");
  QTest::mouseClick(child<QPushButton>("select"), Qt::LeftButton);
  config::IniFile ini(config_);
  EXPECT_EQ(ini.readString(config::kConfigurationDataSection, "InpPath", ""), other);
  EXPECT_EQ(ini.readString(config::kConfigurationDataSection, "InpFileName", ""), other + "x.doc");
  EXPECT_EQ(ini.readString(config::kConfigurationDataSection, "OutPath", ""), out_ + "sub/");
  EXPECT_EQ(text("inputBox").toStdString(), other);
  EXPECT_EQ(text("outputBox").toStdString(), out_ + "sub/");
  EXPECT_TRUE(enabled("run"));

  // A cancelled output keeps the new input.
  dialogs_.openAnswer = QString::fromStdString(in_ + "a.doc");
  dialogs_.saveAnswer.clear();
  QTest::mouseClick(child<QPushButton>("select"), Qt::LeftButton);
  EXPECT_EQ(window_->settings().InpPath, in_);
  EXPECT_EQ(window_->settings().OutPath, out_ + "sub/");
}

TEST_F(MainWindowTest, TheMaskFollowsTheStandardMaskAndTheUsersOwn) {
  config::IniFile(config_).writeString(config::kConfigurationDataSection, "InpMask", "*.rtf");
  start();
  QLineEdit* mask = child<QLineEdit>("maskBox");
  EXPECT_FALSE(mask->isEnabled());  // the standard mask is on by default
  QTest::mouseClick(child<QCheckBox>("standardMask"), Qt::LeftButton);
  EXPECT_TRUE(mask->isEnabled());
  EXPECT_EQ(mask->text(), "*.rtf");
  mask->setText("*.doc;*.wri");
  emit mask->editingFinished();
  config::IniFile ini(config_);
  EXPECT_EQ(ini.readString(config::kConfigurationDataSection, "InpMask", ""), "*.doc;*.wri");
  EXPECT_EQ(ini.readString(config::kOptionsSection, "StandardInpMask", ""), "0");
  // Choosing a format stores its position.
  QComboBox* formats = child<QComboBox>("outputFormats");
  formats->setCurrentIndex(3);
  emit formats->activated(3);
  EXPECT_EQ(ini.readString(config::kConfigurationDataSection, "OutFormatIndex", ""), "3");
}

TEST_F(MainWindowTest, WithoutATrayTheWindowMinimisesInsteadOfHiding) {
  trayAvailable_ = false;
  config::IniFile(config_).writeBool(config::kConversionOptionsSection, "CloseToTray", true);
  MainWindow& w = start();
  w.show();
  EXPECT_FALSE(w.tray()->available());
  w.hideToTray();
  EXPECT_TRUE(w.isVisible());  // still reachable from the task bar
  // Close-to-tray cannot hide to a tray that is not there: closing closes.
  EXPECT_TRUE(w.close());
  window_.reset();
}

TEST_F(MainWindowTest, CloseToTrayHidesTheWindowAndExitEndsTheProgram) {
  trayAvailable_ = true;
  config::IniFile(config_).writeBool(config::kConversionOptionsSection, "CloseToTray", true);
  MainWindow& w = start();
  w.show();
  w.close();
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(engine_->connected());  // hidden, not ended
  w.showFromTray();
  EXPECT_TRUE(w.isVisible());
  w.exitCommand();
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(engine_->connected());
  window_.reset();
}

TEST_F(MainWindowTest, ThePopupMenuCarriesTheCommandsAndTheirKeys) {
  start();
  std::map<QString, QString> keys;
  for (QAction* action : window_->popupMenu()->actions()) {
    keys[action->text()] = action->shortcut().toString();
  }
  EXPECT_EQ(keys["Show &Window"], "Ctrl+W");
  EXPECT_EQ(keys["&Hide Window"], "Ctrl+H");
  EXPECT_EQ(keys["Stay On Top"], "Ctrl+S");
  EXPECT_EQ(keys["Run"], "F9");
  EXPECT_EQ(keys["Stop"], "F8");
  EXPECT_EQ(keys["Pause"], "F12");
  EXPECT_EQ(keys["Configure"], "F5");
  EXPECT_EQ(keys["Show Configuration"], "F6");
  EXPECT_EQ(keys["About"], "F11");
  EXPECT_EQ(keys.count("Select") + keys.count("Edit") + keys.count("Exit"), 3u);
  QTest::mouseClick(child<QPushButton>("help"), Qt::LeftButton);
  EXPECT_EQ(helpTopics_, std::vector<std::string>{"UserGuide.html"});
}

TEST_F(MainWindowTest, AnOfficeThatCannotBeReachedIsOfferedAgainAndNoEndsTheProgram) {
  class Unreachable : public FakeDocumentEngine {
   public:
    int attempts = 0;
    void connect() override {
      ++attempts;
      throw word::EngineError(word::EngineError::Kind::Unavailable,
                              "Connection to LibreOffice failed: no office");
    }
  };
  Unreachable* engine = nullptr;
  WindowServices s = services();
  s.makeEngine = [&engine](int32_t, const config::Settings&) {
    auto e = std::make_unique<Unreachable>();
    engine = e.get();
    return e;
  };
  dialogs_.answer = false;
  window_ = std::make_unique<MainWindow>(std::move(s), std::vector<std::string>{});
  window_->show();
  window_->startUp();
  QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 20000);
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0], "Error: Connection to LibreOffice failed: no office.\r\nRetry?");
  EXPECT_EQ(engine->attempts, 1);
  window_.reset();
}

}  // namespace
}  // namespace kelvara::window

namespace kelvara::window {
namespace {

bool lit(MainWindow& w, const char* lamp) {
  const auto* led = dynamic_cast<const Led*>(w.findChild<QWidget*>(lamp));
  EXPECT_NE(led, nullptr) << lamp;
  return led != nullptr && led->LedOn();
}

TEST_F(MainWindowTest, ConfigureOkAppliesTheOptionsToTheWindowAtOnce) {
  trayAvailable_ = true;
  config::IniFile(config_).writeBool(config::kOptionsSection, "MinimizeToTray", false);
  MainWindow& w = start();
  w.show();
  EXPECT_TRUE(lit(w, "dateLed"));
  EXPECT_FALSE(lit(w, "attribLed"));
  EXPECT_TRUE(lit(w, "permLed"));
  EXPECT_FALSE(w.tray()->visible());

  std::string wordVersion;
  configure_ = [&](QWidget* parent, config::ui::ConfigureContext context) {
    wordVersion = context.wordVersion;
    EXPECT_EQ(context.settings, &w.settings());
    EXPECT_EQ(context.ini->path(), config_);
    context.prompts.errorQuestion = [](QWidget*, const QString&, const QString&) { return true; };
    // What the Conversion Options tab would have shown and stored.
    context.settings->SingleFile = true;
    context.settings->DateMode = 1;
    context.settings->CopyFilesAttr = false;
    config::ui::ConfigureDialog dlg(std::move(context), parent);
    dlg.show();
    dlg.findChild<QCheckBox*>("ShowHintsCkB")->click();
    dlg.findChild<QCheckBox*>("TrayAlwaysOnCkB")->click();
    dlg.findChild<QCheckBox*>("TrayEnabledCkB")->click();
    dlg.findChild<QCheckBox*>("CloseToTrayCkB")->click();  // Yes: minimising to the tray goes on
    dlg.findChild<QAbstractButton*>("OkBtn")->click();
    return dlg.result() == QDialog::Accepted;
  };
  QTest::mouseClick(child<QPushButton>("configure"), Qt::LeftButton);
  EXPECT_EQ(wordVersion, "11.0");

  EXPECT_TRUE(child<QCheckBox>("minimizeToTray")->isChecked());
  EXPECT_EQ(config::IniFile(config_).read(config::kOptionsSection, "MinimizeToTray"), "1");
  EXPECT_TRUE(child<QCheckBox>("singleFile")->isChecked());
  EXPECT_TRUE(text("inputBox").isEmpty());  // the stored name "*.*" is no single file
  EXPECT_FALSE(applicationHints());
  EXPECT_TRUE(w.tray()->visible());
  EXPECT_FALSE(w.tray()->mouseEnabled());
  EXPECT_EQ(w.tray()->contextMenu(), nullptr);
  EXPECT_FALSE(lit(w, "dateLed"));
  EXPECT_TRUE(lit(w, "attribLed"));
  EXPECT_TRUE(lit(w, "permLed"));
  // Single-file mode without a chosen file: nothing to run.
  EXPECT_FALSE(enabled("run"));
  setApplicationHints(true);
}

TEST_F(MainWindowTest, ConfigureWhilePausedChangesTheSettingsOnlyOnceTheRunWaits) {
  gate_ = std::make_unique<Gate>();
  start();
  QTest::mouseClick(child<QPushButton>("run"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(gate_->entered(), 20000);
  QTest::mouseClick(child<QPushButton>("pause"), Qt::LeftButton);
  ASSERT_TRUE(enabled("configure"));

  // The run is inside a document: opening waits, with the window live, until it has finished
  // that document and waits at its checkpoint.
  QTimer::singleShot(200, [this] { gate_->open(); });
  bool accepted = false;
  configure_ = [&](QWidget* parent, config::ui::ConfigureContext context) {
    config::ui::ConfigureDialog dlg(std::move(context), parent);
    EXPECT_TRUE(window_->settings().NoVersionNum);
    dlg.show();
    dlg.findChild<QLineEdit*>("UserNameEdit")->setText("Changed while paused");
    dlg.findChild<QAbstractButton*>("OkBtn")->click();
    accepted = dlg.result() == QDialog::Accepted;
    return accepted;
  };
  QTest::mouseClick(child<QPushButton>("configure"), Qt::LeftButton);
  EXPECT_TRUE(accepted);
  EXPECT_EQ(window_->settings().UserName, "Changed while paused");

  QSignalSpy finished(window_.get(), &MainWindow::runFinished);
  QTest::mouseClick(child<QPushButton>("pause"), Qt::LeftButton);  // resume
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_EQ(text("completed"), "2");
}

}  // namespace
}  // namespace kelvara::window
