// kelvara: the desktop program.
#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QMessageBox>
#include <QUrl>
#include <atomic>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AboutFacts.h"
#include "app/about/AboutDialog.h"
#include "app/help/DiagnosticFacts.h"
#include "app/help/HelpFolder.h"
#include "app/help/HelpRouter.h"
#include "app/help/ProgramDiagnostics.h"
#include "app/instance/SingleInstance.h"
#include "app/window/MainWindow.h"
#include "config/ui/ConfigureDialog.h"
#include "config/ui/ShowStateDialog.h"
#include "platform/Interrupts.h"
#include "platform/Locale.h"
#include "platform/MetadataPlatform.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "word/lo/LibreOfficeEngine.h"

namespace {

using namespace kelvara;

// The window, for the signal watcher's thread.
std::atomic<window::MainWindow*> gWindow{nullptr};

window::WindowServices makeServices(const std::string& stateDir) {
  window::WindowServices services;
  services.makeEngine = [stateDir](int32_t k, const config::Settings& settings) {
    word::LibreOfficeOptions options;
    options.stateDir = stateDir;
    options.docTimeoutSeconds = settings.DocTimeout;
    options.recycleAfterDocuments = settings.EngineRecycle;
    if (k > 0) {
      options.instanceName =
          "kelvara-" + std::to_string(platform::currentProcessId()) + "-" + std::to_string(k);
    }
    return word::makeLibreOfficeEngine(options);
  };
  services.clearStaleEngines = [stateDir](const std::function<void(const std::string&)>& progress) {
    word::clearStaleOffices(stateDir, progress);
  };
  services.metadata = &platform::systemMetadata();
  services.locale = platform::Locale::fromEnvironment();
  return services;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::vector<std::string> params(argv + 1, argv + argc);
  for (const std::string& p : params) {
    if (p == "--help" || p == "-h") {
      std::printf(
          "Usage: kelvara [/a [/m] [/s] [/i: <input>] [/o: <output>] [/if: <n>] [/of: <m>]] "
          "[/v: <n>]\n"
          "Opens the Kelvara window. With /a it converts at once and closes at the end.\n"
          "See man kelvara, and kelvara-batch for runs without a window.\n");
      return 0;
    }
    if (p == "--version") {
      std::printf("kelvara %s\n", KELVARA_VERSION);
      return 0;
    }
  }

  // Before any thread starts: SIGTERM, SIGINT, SIGQUIT and a hangup close the window as Exit
  // does (the document under way is finished, the summary written, the office ended); a second
  // interrupt ends the program and its offices at once.
  const std::string stateDir = platform::stateDir();
  platform::InterruptWatcher::start(
      [] {
        if (window::MainWindow* w = gWindow.load()) {
          QMetaObject::invokeMethod(
              w, [w] { w->exitCommand(); }, Qt::QueuedConnection);
        } else {
          std::_Exit(0);  // no window yet, and so no office
        }
      },
      [stateDir] {
        word::endOfficesOfThisProcess(stateDir);
        std::_Exit(130);
      });

  QApplication app(argc, argv);
  QApplication::setApplicationName("Kelvara");
  QApplication::setApplicationVersion(KELVARA_VERSION);
  QApplication::setDesktopFileName("kelvara");
  QApplication::setWindowIcon(QIcon(":/icons/kelvara.png"));

  // One copy per user: a second one shows the first and ends.
  instance::SingleInstance single(platform::runtimeDir());
  if (single.anotherRuns()) {
    QStringList list;
    for (const std::string& p : params) {
      list << QString::fromStdString(p);
    }
    const bool shown = single.activateFirst(list);
    std::fputs("Program already running\n", stderr);
    if (!shown) {
      std::fputs("The running copy did not answer.\n", stderr);
    }
    return 0;
  }
  single.listen();

  // The diagnostic log and the help pages, before the window exists.
  const auto messageBox = [](const std::string& text) {
    QMessageBox::warning(nullptr, "Kelvara", QString::fromStdString(text));
  };
  std::vector<std::string> argvWords(argv, argv + argc);
  const app::DebugLog debugLog = app::OpenProgramDebugLog(argvWords, messageBox);
  const std::string helpFolder = app::HelpFolder(app::ExecutableDir());
  if (helpFolder.empty()) {
    messageBox("Help file not found\n" + app::ExpectedHelpFolder(app::ExecutableDir()));
  }
  app::HelpRouter help(
      helpFolder,
      [](const std::string& url) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
      },
      messageBox, &debugLog);

  window::WindowServices services = makeServices(stateDir);
  services.showHelp = [&help](QWidget*, const std::string& topic) { help.ShowHelpTopic(topic); };
  services.showAbout = [&help](QWidget* parent, const std::string& engineName,
                               const std::string& diskPath) {
    about::showAboutBox(parent, app::collectAboutFacts(engineName, diskPath),
                        [&help] { help.ShowHelpTopic(app::kTopicUserGuide); });
  };
  services.showStatus = [locale = services.locale](QWidget* parent,
                                                   const format::FormatParameterSet& formats,
                                                   const config::Settings& settings) {
    config::ui::showParametersStatus(parent, formats, settings, locale);
  };
  services.showConfigure = [](QWidget* parent, config::ui::ConfigureContext context) {
    return config::ui::runConfigureDialog(parent, std::move(context));
  };
  window::MainWindow window(std::move(services), params);
  QObject::connect(&single, &instance::SingleInstance::activationRequested, &window,
                   [&window](const QStringList&) { window.bringToFront(); });
  // The window starts minimised; the start-up step shows it unless "/m" says otherwise.
  gWindow = &window;
  window.showMinimized();
  const int status = QApplication::exec();
  gWindow = nullptr;
  word::endOfficesOfThisProcess(stateDir);
  return status;
}
