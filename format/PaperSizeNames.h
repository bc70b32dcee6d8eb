#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kelvara::format {

// The paper size names in code order: a PaperSize code is the position in this list; the last,
// 41, is Custom.
inline constexpr std::array<std::string_view, 42> kPaperSizeNames{"10x14",
                                                                  "11x17",
                                                                  "Letter",
                                                                  "LetterSmall",
                                                                  "Legal",
                                                                  "Executive",
                                                                  "A3",
                                                                  "A4",
                                                                  "A4Small",
                                                                  "A5",
                                                                  "B4",
                                                                  "B5",
                                                                  "CSheet",
                                                                  "DSheet",
                                                                  "ESheet",
                                                                  "FanfoldLegalGerman",
                                                                  "FanfoldStdGerman",
                                                                  "FanfoldUS",
                                                                  "Folio",
                                                                  "Ledger",
                                                                  "Note",
                                                                  "Quarto",
                                                                  "Statement",
                                                                  "Tabloid",
                                                                  "Envelope9",
                                                                  "Envelope10",
                                                                  "Envelope11",
                                                                  "Envelope12",
                                                                  "Envelope14",
                                                                  "EnvelopeB4",
                                                                  "EnvelopeB5",
                                                                  "EnvelopeB6",
                                                                  "EnvelopeC3",
                                                                  "EnvelopeC4",
                                                                  "EnvelopeC5",
                                                                  "EnvelopeC6",
                                                                  "EnvelopeC65",
                                                                  "EnvelopeDL",
                                                                  "EnvelopeItaly",
                                                                  "EnvelopeMonarch",
                                                                  "EnvelopePersonal",
                                                                  "Custom"};

}  // namespace kelvara::format
