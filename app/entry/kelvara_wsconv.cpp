// kelvara-wsconv: the external converter for WordStar files. It takes the command line the
// run builds from ProgCmdLine1..3 unchanged and writes the document as RTF where the run's
// "TEMPWPXX.*" search looks for it.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/AtomicFile.h"
#include "wordstar/ConverterCommandLine.h"
#include "wordstar/WordStarReader.h"

namespace {

using namespace kelvara;

// The exit status is a system error number, so that the run's error log, which shows the
// system's text for a converter's exit status, says what went wrong.
constexpr int kExitOk = 0;
constexpr int kExitBadInput = EINVAL;

void printUsage(std::FILE* out) {
  std::fputs(
      "Usage: kelvara-wsconv sfrm=WS7 in=<WordStar file> dfrm=MSWW7 out=<folder>/<name>\n"
      "\n"
      "Converts one WordStar document (3.x/4.x of CP/M and DOS, 5 to 7) to RTF. The output is\n"
      "written into out='s folder under out='s name cut as a DOS converter cuts it (eight\n"
      "characters, extension three, \"rtf\" when none): out=/data/TEMPWPXXTEMPWPXX writes\n"
      "/data/TEMPWPXX.rtf. The keys may come in one argument or several; a path may hold\n"
      "blanks. sfrm= must name WordStar (WS...) when given; dfrm= is accepted, the output is RTF.\n"
      "\n"
      "Exit status: 0 converted; otherwise a system error number: 2 input not found, 22 bad\n"
      "command line or not a readable WordStar file, or the error of reading or writing.\n",
      out);
}

int exitStatusFor(const std::error_code& ec) {
  const int value = ec.value();
  return value > 0 && value < 256 ? value : EIO;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    printUsage(stdout);
    return kExitOk;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    std::printf("kelvara-wsconv %s\n", KELVARA_VERSION);
    return kExitOk;
  }
  const auto parsed = wordstar::parseConverterCommandLine(arguments);
  if (!parsed.request) {
    std::fprintf(stderr, "kelvara-wsconv: %s\n", parsed.error.c_str());
    printUsage(stderr);
    return kExitBadInput;
  }
  const wordstar::ConverterRequest& request = *parsed.request;

  std::string readError;
  std::error_code readCode;
  const auto bytes = wordstar::readInputFile(request.input, &readError, &readCode);
  if (!bytes) {
    std::fprintf(stderr, "kelvara-wsconv: %s\n", readError.c_str());
    return exitStatusFor(readCode);
  }
  const auto converted = wordstar::wordStarToRtf(*bytes);
  if (!converted.rtf) {
    std::fprintf(stderr, "kelvara-wsconv: %s: %s\n", request.input.c_str(),
                 converted.error.c_str());
    return kExitBadInput;
  }
  const std::string target = wordstar::converterOutputPath(request.output);
  // Written under a hidden temporary name and renamed, so the search never finds half a file.
  if (const std::error_code ec = platform::replaceFileAtomically(target, *converted.rtf)) {
    std::fprintf(stderr, "kelvara-wsconv: cannot write %s: %s\n", target.c_str(),
                 ec.message().c_str());
    return exitStatusFor(ec);
  }
  return kExitOk;
}
