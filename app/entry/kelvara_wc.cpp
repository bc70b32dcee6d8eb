// kelvara-wc: the words-count program Kelva.ini can name. It counts the words, lines and
// characters of one input file the way the engine counts them after opening it, and prints
// them on the fourth line of its output, where the run's count step reads them.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/AtomicFile.h"
#include "word/WordsCountFile.h"

namespace {

using namespace kelvara;

// The exit status is a system error number, so that the run's error log, which shows the
// system's text for the program's exit status, says what went wrong.
constexpr int kExitOk = 0;
constexpr int kExitBadInput = EINVAL;
constexpr int kExitNotFound = ENOENT;

void printUsage(std::FILE* out) {
  std::fputs(
      "Usage: kelvara-wc <file> [> <count file>]\n"
      "\n"
      "Counts the words, lines and characters (without blanks) of a WordStar, RTF or text\n"
      "file as the conversion's engine counts them, and prints four lines; the fourth reads\n"
      "\"Words: nnnnnn  Lines: nnnnnn  Chars: nnnnnn\", each count in six characters. A count\n"
      "of a million or more does not fit: it is left out with its label (the run then takes\n"
      "it as absent) and named on stderr. \" > <count file>\" given as arguments (no shell)\n"
      "writes the four lines to that file.\n"
      "\n"
      "Exit status: 0 counted; 2 the file does not exist; 22 bad command line or a format\n"
      "it cannot read (a system error number, so the run's error log shows its text).\n",
      out);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    printUsage(stdout);
    return kExitOk;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    std::printf("kelvara-wc %s\n", KELVARA_VERSION);
    return kExitOk;
  }
  if (arguments.empty()) {
    std::fputs("kelvara-wc: no input file\n", stderr);
    printUsage(stderr);
    return kExitBadInput;
  }
  const word::CountCommand command = word::parseCountArguments(arguments);
  const std::string& path = command.input;
  const word::FileCount count = word::countFile(path);
  if (!count.counts) {
    std::fprintf(stderr, "kelvara-wc: %s: %s\n", path.c_str(), count.error.c_str());
    return count.error.rfind("File not found", 0) == 0 ? kExitNotFound : kExitBadInput;
  }
  std::vector<std::string> leftOut;
  const std::string report = word::countReport(path, count, &leftOut);
  for (const auto& item : leftOut) {
    std::fprintf(stderr,
                 "kelvara-wc: %s: the count of %s does not fit the six-character field; left "
                 "out\n",
                 path.c_str(), item.c_str());
  }
  if (command.outputFile) {
    if (const std::error_code ec = platform::replaceFileAtomically(*command.outputFile, report)) {
      std::fprintf(stderr, "kelvara-wc: cannot write %s: %s\n", command.outputFile->c_str(),
                   ec.message().c_str());
      return ec.value() > 0 && ec.value() < 256 ? ec.value() : EIO;
    }
    return kExitOk;
  }
  std::fputs(report.c_str(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "kelvara-wc: cannot write the counts\n");
    return EIO;
  }
  return kExitOk;
}
