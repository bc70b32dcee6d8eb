#include "run/CountCheck.h"

#include <cstdio>

namespace kelvara::run {
namespace {

bool differs(bool switchOn, int32_t in, int32_t out, int32_t tolerancePercent) {
  const double p = tolerancePercent / 100.0;
  const double inD = in;
  const double outD = out;
  // The lower bound holds whatever the switch says; only the upper one follows it.
  return (switchOn && in > 0 && inD > (1 + p) * outD) || inD < (1 - p) * outD;
}

std::string field6(int32_t n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%6d", static_cast<int>(n));
  return buf;
}

}  // namespace

int32_t CountCheck(const word::InputCounts& input, const word::DocumentStatistics& output,
                   const config::Settings& settings) {
  int32_t a = 0;
  if (differs(settings.WordsCountCheck, input.words, output.words, settings.WordDiffWrn)) {
    a = input.words;
  }
  if (differs(settings.LinesCountCheck, input.lines, output.lines, settings.LineDiffWrn)) {
    a = input.lines;
  }
  if (differs(settings.CharsCountCheck, input.characters, output.characters,
              settings.CharDiffWrn)) {
    a = input.characters;
  }
  return a;
}

std::string CountWarningLine(const word::InputCounts& input,
                             const word::DocumentStatistics& output) {
  return " Warning - Input file words, lines, characters count: " + field6(input.words) +
         field6(input.lines) + field6(input.characters) + " / Ouput file: " + field6(output.words) +
         field6(output.lines) + field6(output.characters);
}

}  // namespace kelvara::run
