#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <regex>

#include "run/BatchRun.h"
#include "support/FakeDocumentEngine.h"
#include "support/FakeMetadataPlatform.h"
#include "support/ProgramScript.h"
#include "support/RecordingView.h"
#include "support/ScratchDir.h"

namespace kelvara::run {
namespace {

using testing::FakeDocumentEngine;
using testing::readFile;
using testing::RecordingView;
using testing::ScratchDir;

// What a user compares between runs: every log, the index and the counters.
struct RunRecord {
  std::string conv, errors, warnings, skips, index;
  RunCounters counters;
};

// Runs over one tree with several engines, each scripted alike, so that which engine takes a
// document changes nothing but the timing.
class ConversionPoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.InpMask = "*.*";
    selection.saveFormat = 17;
    selection.OutExt = "pdf";
  }

  // Applies the same scripts to every engine of the run.
  void script(const std::string& name, const std::function<void(FakeDocumentEngine::Script&)>& f) {
    scripts.emplace_back(name, f);
  }

  RunRecord runWith(int engineCount, const std::string& outName) {
    std::vector<std::unique_ptr<FakeDocumentEngine>> engines;
    for (int i = 0; i < engineCount; ++i) {
      engines.push_back(std::make_unique<FakeDocumentEngine>());
      for (const auto& [name, f] : scripts) {
        f(engines.back()->scripts[name]);
      }
      if (onOpen) {
        engines.back()->onOpen = onOpen;
      }
    }
    settings.InpPath = tmp.path() + "in/";
    settings.OutPath = tmp.path() + outName + "/";
    BatchRun batch(settings, formats, *engines[0], view, locale, selection, control);
    batch.setMetadataPlatform(metadataPlatform);
    for (int i = 1; i < engineCount; ++i) {
      batch.addEngine(*engines[i]);
    }
    batch.setClock([] { return platform::DateTime{2026, 12, 8, 10, 11, 12}; });
    EXPECT_TRUE(batch.Run());
    const std::string log = settings.OutPath + "Log/";
    RunRecord r{readFile(log + "ConvLog.txt"),  readFile(log + "ErrorLog.txt"),
                readFile(log + "WarnsLog.txt"), readFile(log + "SkipsLog.txt"),
                readFile(log + "Index.html"),   batch.counters()};
    // The output folder differs between the runs compared; nothing else may.
    for (std::string* text : {&r.conv, &r.errors, &r.warnings, &r.skips, &r.index}) {
      *text = std::regex_replace(*text, std::regex(settings.OutPath), "OUT/");
    }
    return r;
  }

  void expectSame(const RunRecord& a, const RunRecord& b) {
    EXPECT_EQ(a.conv, b.conv);
    EXPECT_EQ(a.errors, b.errors);
    EXPECT_EQ(a.warnings, b.warnings);
    EXPECT_EQ(a.skips, b.skips);
    EXPECT_EQ(a.index, b.index);
    EXPECT_EQ(a.counters.FilesAnalyzed, b.counters.FilesAnalyzed);
    EXPECT_EQ(a.counters.FilesConverted, b.counters.FilesConverted);
    EXPECT_EQ(a.counters.FilesInError, b.counters.FilesInError);
    EXPECT_EQ(a.counters.FilesWithWarnings, b.counters.FilesWithWarnings);
    EXPECT_EQ(a.counters.DirCount, b.counters.DirCount);
  }

  // A slow a.doc before report.doc and report.rtf, which want one output name, run with two
  // engines and with one (the logs must agree); how long after a.doc report.rtf was opened.
  std::chrono::steady_clock::duration reportRtfStartAfterSlowDocument() {
    tmp.file("in/a.doc");
    tmp.file("in/report.doc");
    tmp.file("in/report.rtf");
    script("a.doc", [](FakeDocumentEngine::Script& s) { s.openMilliseconds = 1500; });
    std::mutex mutex;
    std::map<std::string, std::chrono::steady_clock::time_point> opened;
    onOpen = [&](const std::string& path) {
      std::lock_guard<std::mutex> lock(mutex);
      opened[std::filesystem::path(path).filename().string()] = std::chrono::steady_clock::now();
    };
    const RunRecord two = runWith(2, "two");
    onOpen = nullptr;
    expectSame(runWith(1, "one"), two);
    EXPECT_EQ(opened.size(), 3u);
    return opened["report.rtf"] - opened["a.doc"];
  }

  ScratchDir tmp;
  config::Settings settings;
  format::FormatParameterSet formats;
  RecordingView view;
  platform::Locale locale;
  word::FormatSelection selection;
  RunControl control;
  std::vector<std::pair<std::string, std::function<void(FakeDocumentEngine::Script&)>>> scripts;
  std::function<void(const std::string&)> onOpen;
  platform::MetadataPlatform* metadataPlatform = nullptr;
};

TEST_F(ConversionPoolTest, DocumentsFinishingOutOfOrderAreLoggedAsOneEngineLogsThem) {
  // Early documents are slow, later ones fast: a pool finishes them in reverse.
  const char* names[] = {"a.doc",     "b.doc",   "c.doc",   "X/d.doc", "X/e.doc",
                         "X/Y/f.doc", "Z/g.doc", "Z/h.doc", "i.doc"};
  int delay = 40;
  for (const char* name : names) {
    tmp.file(std::string("in/") + name);
    const std::string base = std::filesystem::path(name).filename().string();
    script(base, [delay](FakeDocumentEngine::Script& s) { s.openMilliseconds = delay; });
    delay = delay > 5 ? delay - 5 : 0;
  }
  script("c.doc", [](FakeDocumentEngine::Script& s) { s.refuseOpen = true; });
  script("e.doc", [](FakeDocumentEngine::Script& s) { s.loadWarnings = {"Warning - repaired"}; });
  script("g.doc", [](FakeDocumentEngine::Script& s) { s.failSave = true; });

  const RunRecord one = runWith(1, "one");
  const RunRecord three = runWith(3, "three");
  expectSame(one, three);
  EXPECT_EQ(three.counters.FilesAnalyzed, 9);
  EXPECT_EQ(three.counters.FilesInError, 2);
  EXPECT_EQ(three.counters.FilesWithWarnings, 1);
  EXPECT_EQ(three.counters.DirCount, 4);
}

TEST_F(ConversionPoolTest, AnEngineLostInOneDocumentFailsOnlyThatDocument) {
  for (const char* name : {"a.doc", "b.doc", "c.doc", "d.doc"}) {
    tmp.file(std::string("in/") + name);
  }
  script("a.doc", [](FakeDocumentEngine::Script& s) { s.openMilliseconds = 30; });
  script("b.doc", [](FakeDocumentEngine::Script& s) { s.loseEngineOnSave = true; });
  const RunRecord one = runWith(1, "one");
  const RunRecord two = runWith(2, "two");
  expectSame(one, two);
  EXPECT_EQ(two.counters.FilesConverted, 3);
  EXPECT_EQ(two.counters.FilesInError, 1);
  EXPECT_NE(two.errors.find("Conversion b.doc -> b.pdf"), std::string::npos);
}

TEST_F(ConversionPoolTest, VersionNumbersAreThoseOfAOneEngineRunWhileNamesAreInFlight) {
  settings.AddVersNum = true;
  settings.LogFileRenames = true;
  // All want report.pdf; the first is the slowest, so it is still in flight when the others
  // are named.
  tmp.file("in/report.doc");
  tmp.file("in/report.rtf");
  tmp.file("in/report.txt");
  tmp.file("in/report(1).doc");  // wants the name the second report would get
  script("report.doc", [](FakeDocumentEngine::Script& s) { s.openMilliseconds = 60; });
  const RunRecord one = runWith(1, "one");
  const RunRecord two = runWith(2, "two");
  expectSame(one, two);
  for (const char* out : {"report.pdf", "report(1).pdf", "report(2).pdf", "report(3).pdf"}) {
    EXPECT_TRUE(std::filesystem::exists(tmp.path() + "two/" + out)) << out;
  }
  EXPECT_NE(two.conv.find("Output file renamed. New name: report(3).pdf"), std::string::npos);
}

TEST_F(ConversionPoolTest, TwoDocumentsWithOneOutputNameNeverWriteItAtOnce) {
  // Overwriting: the later document's output is the one that stays, as in a one-engine run,
  // even though the earlier one takes longer.
  tmp.file("in/report.doc");
  tmp.file("in/report.rtf");
  script("report.doc", [](FakeDocumentEngine::Script& s) { s.openMilliseconds = 60; });
  std::atomic<int> converting{0};
  std::atomic<int> mostAtOnce{0};
  onOpen = [&](const std::string&) {
    const int now = ++converting;
    mostAtOnce = std::max(mostAtOnce.load(), now);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    --converting;
  };
  runWith(2, "two");
  EXPECT_EQ(mostAtOnce.load(), 1);
  EXPECT_NE(readFile(tmp.path() + "two/report.pdf").find("report.rtf"), std::string::npos);
}

TEST_F(ConversionPoolTest, ADocumentWaitingForItsNameDoesNotWaitForASlowDocumentBeforeIt) {
  // report.rtf must wait until report.doc has been written, but not until the slow document
  // before both is done: the second engine goes on meanwhile.
  EXPECT_LT(reportRtfStartAfterSlowDocument(), std::chrono::milliseconds(1000));
}

TEST_F(ConversionPoolTest, AnOutputIsNotReplacedByALaterDocumentOfItsNameBeforeItsMetadata) {
  // report.doc's commit waits for the slow a.doc; report.rtf, converted meanwhile, must not
  // write report.pdf until report.doc's metadata is on it, as in a one-engine run.
  tmp.file("in/a.doc");
  tmp.file("in/report.doc");
  tmp.file("in/report.rtf");
  script("a.doc", [](FakeDocumentEngine::Script& s) { s.openMilliseconds = 300; });
  testing::FakeMetadataPlatform fake;
  fake.lenient = true;
  std::string writers;  // for each metadata write to report.pdf, whose output it found there
  fake.onChange = [&](const std::string& path) {
    if (path.ends_with("/two/report.pdf")) {
      writers += readFile(path).find("report.doc") != std::string::npos ? "d" : "r";
    }
  };
  metadataPlatform = &fake;
  const RunRecord two = runWith(2, "two");
  ASSERT_NE(writers.find('d'), std::string::npos);
  ASSERT_NE(writers.find('r'), std::string::npos);
  // report.doc's writes all found its own output, and came before report.rtf's.
  EXPECT_TRUE(std::is_sorted(writers.begin(), writers.end())) << writers;
  EXPECT_EQ(writers.find('r'), writers.find_last_of('d') + 1) << writers;
  expectSame(runWith(1, "one"), two);
}

TEST_F(ConversionPoolTest, AProcessThatPermissionsDoNotBindDoesNotWaitForMetadataToReplace) {
  // Nothing the earlier commit writes can keep such a process out, and the later document's
  // commit writes all of its output's metadata again: the logs stay those of one engine while
  // report.rtf is converted before the slow a.doc is committed.
  testing::FakeMetadataPlatform fake;
  fake.lenient = true;
  fake.bypassEffective = true;
  metadataPlatform = &fake;
  EXPECT_LT(reportRtfStartAfterSlowDocument(), std::chrono::milliseconds(1000));
  EXPECT_NE(readFile(tmp.path() + "two/report.pdf").find("report.rtf"), std::string::npos);
}

TEST_F(ConversionPoolTest, SkipsProgramLinesAndWordStarWarningsAreLoggedAsOneEngineLogsThem) {
  // Early documents are slow: a pool finishes them last.
  const char* names[] = {"a.ws", "b.ws", "tiny.ws", "X/c.ws", "X/d.ws", "e.ws"};
  int delay = 40;
  for (const char* name : names) {
    const std::string base = std::filesystem::path(name).filename().string();
    const bool tiny = base == "tiny.ws";
    tmp.file(std::string("in/") + name, tiny ? "x" : std::string("\x1D\x03\x00\x41\x1D\x42", 6));
    script("_%" + base.substr(0, base.size() - 2) + "pdf",
           [delay](FakeDocumentEngine::Script& s) { s.openMilliseconds = delay; });
    delay -= 8;
  }
  settings.IncludeFilesAtLeastesAttr = true;
  settings.FileMinSize = 2;
  settings.Preprocess = true;
  selection.inputFormatName = "WordStar ";
  settings.WordsCountProgram = testing::programScript(
      tmp, "bin/count", "printf '\\n\\n\\nWords:   9999 Lines:     10 Chars:    250\\n'");
  settings.ExtConv = true;
  settings.ExternalConverterProgram = testing::programScript(
      tmp, "bin/conv",
      "for a in \"$@\"; do case \"$a\" in in=*) in=\"${a#in=}\";; out=*) out=\"${a#out=}\";; "
      "esac; done\ncase \"$in\" in *d.ws) exit 3;; esac\n"
      "cp \"$in\" \"$(dirname \"$out\")/TEMPWPXX.DOC\"");

  const RunRecord one = runWith(1, "one");
  const RunRecord two = runWith(2, "two");
  expectSame(one, two);
  EXPECT_EQ(two.counters.FilesSkipped, 1);
  EXPECT_EQ(two.counters.FilesInError, 1);
  EXPECT_EQ(two.counters.FilesWithWarnings, 5);
  EXPECT_NE(two.skips.find("tiny.ws Skipped due filter settings. Size - Found: 1"),
            std::string::npos);
}

TEST_F(ConversionPoolTest, StopLetsTheDocumentsInFlightFinishAndCountsEachOnce) {
  for (int i = 0; i < 12; ++i) {
    tmp.file("in/d" + std::to_string(10 + i) + ".doc");
  }
  std::atomic<int> opened{0};
  onOpen = [&](const std::string&) {
    if (++opened == 3) {
      control.stopRequested = true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  };
  const RunRecord two = runWith(2, "two");
  const RunCounters& c = two.counters;
  EXPECT_LT(c.FilesAnalyzed, 12);
  EXPECT_GE(c.FilesAnalyzed, 3);
  EXPECT_EQ(c.FilesAnalyzed, c.FilesConverted + c.FilesInError + c.FilesSkipped);
  EXPECT_EQ(c.FilesConverted, opened.load());
  // Every output written is logged, and the summary is there once.
  size_t outputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(tmp.path() + "two/")) {
    outputs += entry.path().extension() == ".pdf" ? 1 : 0;
  }
  EXPECT_EQ(outputs, static_cast<size_t>(c.FilesConverted));
  EXPECT_NE(two.conv.find("Files analized: " + std::to_string(c.FilesAnalyzed)), std::string::npos);
  EXPECT_EQ(two.conv.find("End of conversion"), two.conv.rfind("End of conversion"));
}

}  // namespace
}  // namespace kelvara::run
