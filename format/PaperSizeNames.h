#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara::format {

// Number of paper size codes: 0 "10x14" to 41 "Custom".
inline constexpr int32_t kPaperSizeCount = 42;

// The paper size names in code order: a PaperSize code is the position in this list.
// clang-format off
inline constexpr std::array<std::string_view, kPaperSizeCount> kPaperSizeNames{
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

// The name of a paper size code as the lists show it ("A4", "Custom"); the number itself for a
// code outside the list.
std::string paperSizeName(int32_t code);

}  // namespace kelvara::format
