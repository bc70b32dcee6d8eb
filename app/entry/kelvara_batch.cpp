// kelvara-batch: one run from the console, for servers and cron.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/StartUp.h"
#include "app/console/ConsoleView.h"
#include "config/IniFile.h"
#include "config/SettingsLoader.h"
#include "format/ApplyFormatting.h"
#include "format/FormatParameterSet.h"
#include "platform/FileSystem.h"
#include "platform/Interrupts.h"
#include "platform/Locale.h"
#include "platform/MetadataPlatform.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "run/BatchRun.h"
#include "word/FormatTables.h"
#include "word/lo/LibreOfficeEngine.h"

namespace {

using namespace kelvara;

constexpr int kExitOk = 0;
constexpr int kExitDocumentsFailed = 1;
constexpr int kExitCannotStart = 2;

run::RunControl gControl;

// A second Ctrl+C ends the program at once; the offices of this run go with it, and no other's.
[[noreturn]] void abortRun(const std::string& stateDir) {
  std::fputs("\nAborted.\n", stderr);
  word::endOfficesOfThisProcess(stateDir);
  std::_Exit(130);
}

void printUsage(std::FILE* out) {
  std::fputs(
      "Usage: kelvara-batch /i: <input folder>/ [/o: <output folder>/] [/if: <n>] [/of: <m>]\n"
      "       kelvara-batch /s /i: <input file> [/o: <output folder>/] [/if: <n>] [/of: <m>]\n"
      "       kelvara-batch --list-formats\n"
      "\n"
      "Converts every document of a folder tree (or one file with /s) through LibreOffice.\n"
      "Switches start with \"/\" or \"-\"; a switch ending in \":\" takes the next argument.\n"
      "  /i: PATH   input folder (the folder part up to the last \"/\" is used) or, with /s,\n"
      "             the input file; the output folder defaults to it\n"
      "  /o: PATH   output folder (created when missing)\n"
      "  /if: N     position in the input format list (see --list-formats)\n"
      "  /of: N     position in the output format list (see --list-formats)\n"
      "  /s         single-file run\n"
      "  /v: N      accepted for compatibility; no effect with LibreOffice\n"
      "  -j N       offices converting at once, 1 to 8 (default: Engines in Kelva.ini,\n"
      "             else one per core); logs and index are those of a one-office run\n"
      "  --yes      answer Yes to the warnings a run may ask (output folder equal to or\n"
      "             inside the input folder, continuing without a log); default No\n"
      "  --list-formats  print the input and output format lists with their positions\n"
      "  --help, --version\n"
      "\n"
      "Every other option is read from Kelva.ini in $KELVARA_CONFIG_DIR, else\n"
      "$XDG_CONFIG_HOME/kelvara, else ~/.config/kelvara. Logs and Index.html go to\n"
      "<output folder>/Log/. Ctrl+C stops after the documents under way; a second aborts.\n"
      "Exit status: 0 no document failed, 1 some failed, 2 the run could not start.\n"
      "\n"
      "Installed beside kelvara-batch, for the external programs of Kelva.ini:\n"
      "  kelvara-wsconv  WordStar converter: ExternalConverterProgram=<its path> and\n"
      "                  ExtConv=1 (or choose the \"WordStar\" input format instead)\n"
      "  kelvara-wc      words-count program: WordsCountProgram=<its path> with\n"
      "                  WordsCountCheck, LinesCountCheck, CharsCountCheck\n",
      out);
}

void printFormats(const word::FormatLists& lists) {
  std::printf("Input formats:\n");
  for (size_t i = 0; i < lists.input.size(); ++i) {
    std::printf("%zu: %s\n", i, lists.input[i].label.c_str());
  }
  std::printf("Output formats:\n");
  for (size_t i = 0; i < lists.output.size(); ++i) {
    std::printf("%zu: %s\n", i, lists.output[i].label.c_str());
  }
}

void printSummary(const run::BatchRun& batch) {
  const run::RunCounters& c = batch.counters();
  std::printf(
      "Files analized: %d  converted: %d  in error: %d  skipped: %d  with warnings: %d  "
      "folders: %d\n",
      c.FilesAnalyzed, c.FilesConverted, c.FilesInError, c.FilesSkipped, c.FilesWithWarnings,
      c.DirCount);
  std::printf("Logs:  %s\n", batch.logs().logDir().c_str());
  for (run::LogKind kind :
       {run::LogKind::Main, run::LogKind::Error, run::LogKind::Warnings, run::LogKind::Skipped}) {
    if (!batch.logs().fileName(kind).empty()) {
      // The summary on the console stands in for a log that could not be written in full.
      const char* note = batch.logs().openFailed(kind)   ? "  (not written: it could not be opened)"
                         : batch.logs().incomplete(kind) ? "  (incomplete: writing it failed)"
                                                         : "";
      std::printf("       %s%s\n", batch.logs().fileName(kind).c_str(), note);
    }
  }
  std::printf("Index: %s\n", batch.indexPath().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::vector<std::string> params;
  bool assumeYes = false;
  bool listFormats = false;
  int32_t jobs = 0;  // 0: Engines from Kelva.ini
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-j" || arg == "--jobs" || (arg.rfind("-j", 0) == 0 && arg.size() > 2)) {
      const std::string value = arg.size() > 2 && arg[1] == 'j' ? arg.substr(2)
                                : i + 1 < argc                  ? argv[++i]
                                                                : "";
      if (!app::ParseEngineCount(value, jobs)) {
        std::fprintf(stderr, "kelvara-batch: -j takes a number of offices from 1 to %d\n",
                     config::kMaxEngines);
        return kExitCannotStart;
      }
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      printUsage(stdout);
      return kExitOk;
    }
    if (arg == "--version") {
      std::printf("kelvara-batch %s\n", KELVARA_VERSION);
      return kExitOk;
    }
    if (arg == "--yes") {
      assumeYes = true;
    } else if (arg == "--list-formats") {
      listFormats = true;
    } else {
      params.push_back(arg);
    }
  }
  if (params.empty() && !listFormats) {
    printUsage(stderr);
    return kExitCannotStart;
  }

  // Output to a closed pipe or a vanished terminal fails like any write instead of ending the
  // run before its logs are complete.
  platform::ignoreBrokenPipes();
  // Before any thread starts: Ctrl+C, SIGTERM, SIGQUIT or a hangup stops after the current
  // document; a second Ctrl+C (or SIGTERM, SIGQUIT) aborts.
  const std::string stateDir = platform::stateDir();
  platform::InterruptWatcher::start(
      [] {
        gControl.stopRequested = true;
        std::fputs("\nStopping after the documents under way (Ctrl+C again aborts)...\n", stderr);
      },
      [stateDir] { abortRun(stateDir); });

  app::ConsoleView view(stderr, isatty(fileno(stderr)) != 0, assumeYes);
  const app::PathProbe probe{[](const std::string& p) { return platform::isDirectory(p); },
                             [](const std::string& p) { return platform::isRegularFile(p); }};
  const app::CommandLine commandLine = app::ReadCommandLine(params, probe, true);
  if (commandLine.error) {
    view.showError(*commandLine.error, "Error");
    return kExitCannotStart;
  }

  const platform::Locale locale = platform::Locale::fromEnvironment();
  config::Settings settings;
  format::FormatParameterSet formats;
  app::PresetFromCommandLine(commandLine, settings);

  // The engine's revision support decides whether the revision options are read.
  const config::IniFile ini(config::configFilePath());
  for (const config::LoadNotice& notice : config::LoadAllSettings(
           ini, settings, formats, locale, word::kRevisionRulesVersion, platform::now())) {
    view.printLine("Warning: " + app::ConsoleText(notice.text));
  }
  app::CompleteSettings(commandLine, settings);

  view.setConversionState("Loading LibreOffice. Please wait...");
  word::LibreOfficeOptions options;
  options.stateDir = stateDir;
  options.docTimeoutSeconds = settings.DocTimeout;
  options.recycleAfterDocuments = settings.EngineRecycle;
  options.progress = [&view](const std::string& text) { view.setProgress(text); };
  word::clearStaleOffices(options.stateDir, options.progress);
  std::unique_ptr<word::DocumentEngine> engine = word::makeLibreOfficeEngine(options);
  try {
    engine->connect();
  } catch (const word::EngineError& e) {
    view.showError(e.what(), "Error");
    return kExitCannotStart;
  }

  const word::FormatLists lists =
      word::BuildFormatLists(engine->version(), engine->fileConverters());
  if (listFormats) {
    view.finish();
    printFormats(lists);
    engine->quit();
    return kExitOk;
  }

  word::FormatSelection selection;
  std::string problem = app::ChooseFormats(lists, commandLine, settings, selection);
  if (problem.empty() && settings.InpPath.empty()) {
    problem = "No input folder: give one with /i: or set InpPath in Kelva.ini";
  } else if (problem.empty() && !platform::isDirectory(settings.InpPath)) {
    problem = "Path not found: " + settings.InpPath;
  } else if (problem.empty() && settings.SingleFile &&
             !platform::isRegularFile(settings.InpFileName)) {
    problem = "File not found: " + settings.InpFileName;
  }
  if (!problem.empty()) {
    view.showError(problem, "Error");
    engine->quit();
    return kExitCannotStart;
  }
  view.setConversionState("");
  view.setProgress("");

  // The other offices of the pool start with their first document.
  const int32_t engineCount = jobs > 0 ? jobs : settings.Engines;
  std::vector<std::unique_ptr<word::DocumentEngine>> poolEngines;
  for (int32_t k = 1; k < engineCount; ++k) {
    word::LibreOfficeOptions more = options;
    more.progress = nullptr;  // they work on other threads; the view belongs to the run's
    more.instanceName =
        "kelvara-" + std::to_string(platform::currentProcessId()) + "-" + std::to_string(k);
    poolEngines.push_back(word::makeLibreOfficeEngine(more));
  }

  run::BatchRun batch(settings, formats, *engine, view, locale, selection, gControl);
  format::DocumentFormatter formatter(formats, word::kRevisionRulesVersion);
  batch.setFormattingStep(&formatter);
  batch.setMetadataPlatform(&platform::systemMetadata());
  for (const auto& more : poolEngines) {
    batch.addEngine(*more);
  }
  const bool started = batch.Run();
  for (const auto& more : poolEngines) {
    more->quit();
  }
  engine->quit();
  view.finish();
  if (!started) {
    return kExitCannotStart;
  }
  printSummary(batch);
  return batch.counters().FilesInError > 0 ? kExitDocumentsFailed : kExitOk;
}
