#include "format/PaperSizeNames.h"

#include <array>

namespace kelvara::format {
namespace {

// clang-format off
constexpr std::array<const char*, kPaperSizeCount> kNames = {
    "10x14",       "11x17",            "Letter",           "LetterSmall",  "Legal",
    "Executive",   "A3",               "A4",               "A4Small",      "A5",
    "B4",          "B5",               "CSheet",           "DSheet",       "ESheet",
    "FanfoldLegalGerman", "FanfoldStdGerman", "FanfoldUS", "Folio",        "Ledger",
    "Note",        "Quarto",           "Statement",        "Tabloid",      "Envelope9",
    "Envelope10",  "Envelope11",       "Envelope12",       "Envelope14",   "EnvelopeB4",
    "EnvelopeB5",  "EnvelopeB6",       "EnvelopeC3",       "EnvelopeC4",   "EnvelopeC5",
    "EnvelopeC6",  "EnvelopeC65",      "EnvelopeDL",       "EnvelopeItaly", "EnvelopeMonarch",
    "EnvelopePersonal", "Custom"};
// clang-format on

}  // namespace

std::string paperSizeName(int32_t code) {
  if (code < 0 || code >= kPaperSizeCount) {
    return std::to_string(code);
  }
  return kNames[static_cast<size_t>(code)];
}

}  // namespace kelvara::format
