// kelvara-batch: one run from the console, for servers and cron.
#include <unistd.h>

#include <atomic>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/RunLauncher.h"
#include "app/StartUp.h"
#include "app/console/ConsoleView.h"
#include "config/IniFile.h"
#include "config/SettingsLoader.h"
#include "format/FormatParameterSet.h"
#include "platform/FileSystem.h"
#include "platform/Interrupts.h"
#include "platform/Locale.h"
#include "platform/MetadataPlatform.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "run/BatchRun.h"
#include "run/ShardMerge.h"
#include "run/ShardPartition.h"
#include "word/FormatTables.h"
#include "word/lo/LibreOfficeEngine.h"

namespace {

using namespace kelvara;

constexpr int kExitOk = 0;
constexpr int kExitDocumentsFailed = 1;
constexpr int kExitCannotStart = 2;
// A shard stopped by a signal (a preempted pod, Slurm's time limit): its scheduler should run
// it again rather than count it done.
constexpr int kExitShardStopped = 3;

run::RunControl gControl;
std::atomic<bool> gStopped{false};

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
      "  --shard K/N  convert only shard K of N (0 <= K < N) of the tree, for a cluster\n"
      "             scheduler; logs go to <output folder>/Log/shards/K-of-N/\n"
      "  --shard from-env  the shard of a Kubernetes Indexed Job (JOB_COMPLETION_INDEX,\n"
      "             KELVARA_SHARD_COUNT) or a Slurm job array (SLURM_ARRAY_TASK_ID,\n"
      "             SLURM_ARRAY_TASK_COUNT)\n"
      "  --merge OUTPUT  write the logs and Index.html of the shards in OUTPUT as one run\n"
      "             over the whole tree, and name the shards missing or incomplete\n"
      "  --yes      answer Yes to the warnings a run may ask (output folder equal to or\n"
      "             inside the input folder, continuing without a log); default No\n"
      "  --list-formats  print the input and output format lists with their positions\n"
      "  --help, --version\n"
      "\n"
      "Every other option is read from Kelva.ini in $KELVARA_CONFIG_DIR, else\n"
      "$XDG_CONFIG_HOME/kelvara, else ~/.config/kelvara. Logs and Index.html go to\n"
      "<output folder>/Log/. Ctrl+C stops after the documents under way; a second aborts.\n"
      "Exit status: 0 no document failed, 1 some failed, 2 the run could not start,\n"
      "3 a shard was stopped before its end (run it again).\n"
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

struct SummaryLog {
  std::string name;
  bool openFailed = false;
  bool incomplete = false;
};

void printSummary(const run::RunCounters& c, const std::string& logDir,
                  const std::vector<SummaryLog>& logs, const std::string& indexPath) {
  std::printf(
      "Files analized: %d  converted: %d  in error: %d  skipped: %d  with warnings: %d  "
      "folders: %d\n",
      c.FilesAnalyzed, c.FilesConverted, c.FilesInError, c.FilesSkipped, c.FilesWithWarnings,
      c.DirCount);
  std::printf("Logs:  %s\n", logDir.c_str());
  for (const SummaryLog& log : logs) {
    if (!log.name.empty()) {
      // The summary on the console stands in for a log that could not be written in full.
      const char* note = log.openFailed   ? "  (not written: it could not be opened)"
                         : log.incomplete ? "  (incomplete: writing it failed)"
                                          : "";
      std::printf("       %s%s\n", log.name.c_str(), note);
    }
  }
  std::printf("Index: %s\n", indexPath.c_str());
}

void printSummary(const run::BatchRun& batch) {
  std::vector<SummaryLog> logs;
  for (run::LogKind kind :
       {run::LogKind::Main, run::LogKind::Error, run::LogKind::Warnings, run::LogKind::Skipped}) {
    logs.push_back({batch.logs().fileName(kind), batch.logs().openFailed(kind),
                    batch.logs().incomplete(kind)});
  }
  printSummary(batch.counters(), batch.logs().logDir(), logs, batch.indexPath());
}

// --merge: the shards' records in <output>/Log/shards/ become the logs and the index of one run.
int mergeShards(const std::string& output, app::ConsoleView& view, const platform::Locale& locale) {
  std::string outPath = output;
  if (outPath.empty() || outPath.back() != '/') {
    outPath.push_back('/');
  }
  outPath = app::AbsoluteFolder(outPath);
  run::FoundShards found = run::FindShardRecords(outPath);
  if (!found.error.empty()) {
    view.showError(found.error, "Error");
    return kExitCannotStart;
  }
  const run::MergedRun merged = run::MergeShards(found.count, std::move(found.records));
  const run::MergeOutput written = run::WriteMergedRun(merged, outPath + "Log/", view, locale);
  view.finish();
  std::vector<SummaryLog> logs;
  for (size_t k = 0; k < written.logNames.size(); ++k) {
    logs.push_back({written.logNames[k], false, written.incomplete[k]});
  }
  printSummary(merged.counters, written.logDir, logs, written.indexPath);
  std::printf("Shards: %u, %s\n", merged.count,
              merged.whole() ? "all complete" : "some missing or incomplete");
  for (const std::string& note : written.notes) {
    std::printf("%s\n", note.c_str());
  }
  if (!written.indexWritten) {
    std::fprintf(stderr, "kelvara-batch: %s could not be written\n", written.indexPath.c_str());
  }
  return merged.counters.FilesInError > 0 ? kExitDocumentsFailed : kExitOk;
}

// The value of "--name value" or "--name=value"; advances i past a separate value.
std::optional<std::string> optionValue(const std::string& name, int argc, char** argv, int& i) {
  const std::string arg = argv[i];
  if (arg == name) {
    return i + 1 < argc ? std::optional<std::string>(argv[++i]) : std::string();
  }
  if (arg.rfind(name + "=", 0) == 0) {
    return arg.substr(name.size() + 1);
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::vector<std::string> params;
  bool assumeYes = false;
  bool listFormats = false;
  int32_t jobs = 0;  // 0: Engines from Kelva.ini
  std::optional<run::ShardSpec> shard;
  std::optional<std::string> mergeOutput;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (const std::optional<std::string> value = optionValue("--shard", argc, argv, i)) {
      const run::ShardChoice choice =
          *value == "from-env" ? run::ShardFromEnvironment([](const std::string& name) {
            const char* v = std::getenv(name.c_str());
            return v ? std::optional<std::string>(v) : std::nullopt;
          })
                               : run::ParseShard(*value);
      if (!choice.shard) {
        std::fprintf(stderr, "kelvara-batch: %s\n", choice.error.c_str());
        return kExitCannotStart;
      }
      shard = choice.shard;
      continue;
    }
    if (const std::optional<std::string> value = optionValue("--merge", argc, argv, i)) {
      if (value->empty()) {
        std::fprintf(stderr, "kelvara-batch: --merge takes the output folder of the shards\n");
        return kExitCannotStart;
      }
      mergeOutput = *value;
      continue;
    }
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
  if (mergeOutput) {
    app::ConsoleView mergeView(stderr, isatty(fileno(stderr)) != 0, assumeYes);
    return mergeShards(*mergeOutput, mergeView, platform::Locale::fromEnvironment());
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
        gStopped = true;
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
  if (shard && settings.SingleFile) {
    view.showError("--shard divides a folder tree; it does not go with /s", "Error");
    return kExitCannotStart;
  }

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

  const int32_t engineCount = jobs > 0 ? jobs : settings.Engines;
  app::RunRequest request;
  request.settings = &settings;
  request.formats = &formats;
  request.engine = engine.get();
  request.moreEngines = [&options](int32_t k) {
    word::LibreOfficeOptions more = options;
    more.progress = nullptr;  // they work on other threads; the view belongs to the run's
    more.instanceName =
        "kelvara-" + std::to_string(platform::currentProcessId()) + "-" + std::to_string(k);
    return word::makeLibreOfficeEngine(more);
  };
  request.engineCount = engineCount;
  request.view = &view;
  request.locale = locale;
  request.selection = selection;
  request.control = &gControl;
  request.shard = shard;
  int filesInError = 0;
  const bool started = app::LaunchRun(request, [&view, &filesInError](const run::BatchRun& batch) {
    view.finish();
    printSummary(batch);
    filesInError = batch.counters().FilesInError;
  });
  engine->quit();
  if (!started) {
    view.finish();
    return kExitCannotStart;
  }
  if (shard && gStopped) {
    return kExitShardStopped;
  }
  return filesInError > 0 ? kExitDocumentsFailed : kExitOk;
}
