#include "word/PaperSizes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace kelvara::word {
namespace {

constexpr double inch(double value) {
  return value * 72.0;
}
constexpr double mm(double value) {
  return value * 72.0 / 25.4;
}

// Indexed by code; the sheets the word processor's page setup offers under those names. B4 and
// B5 are the Japanese sizes it shows; the envelopes are the ISO and US postal ones.
constexpr std::array<PaperDimensions, kCustomPaperSize> kSizes = {{
    {inch(10), inch(14)},        // 0 10x14
    {inch(11), inch(17)},        // 1 11x17
    {inch(8.5), inch(11)},       // 2 Letter
    {inch(8.5), inch(11)},       // 3 LetterSmall
    {inch(8.5), inch(14)},       // 4 Legal
    {inch(7.25), inch(10.5)},    // 5 Executive
    {mm(297), mm(420)},          // 6 A3
    {mm(210), mm(297)},          // 7 A4
    {mm(210), mm(297)},          // 8 A4Small
    {mm(148), mm(210)},          // 9 A5
    {mm(257), mm(364)},          // 10 B4
    {mm(182), mm(257)},          // 11 B5
    {inch(17), inch(22)},        // 12 CSheet
    {inch(22), inch(34)},        // 13 DSheet
    {inch(34), inch(44)},        // 14 ESheet
    {inch(8.5), inch(13)},       // 15 FanfoldLegalGerman
    {inch(8.5), inch(12)},       // 16 FanfoldStdGerman
    {inch(11), inch(14.875)},    // 17 FanfoldUS
    {inch(8.5), inch(13)},       // 18 Folio
    {inch(11), inch(17)},        // 19 Ledger
    {inch(8.5), inch(11)},       // 20 Note
    {mm(215), mm(275)},          // 21 Quarto
    {inch(5.5), inch(8.5)},      // 22 Statement
    {inch(11), inch(17)},        // 23 Tabloid
    {inch(3.875), inch(8.875)},  // 24 Envelope9
    {inch(4.125), inch(9.5)},    // 25 Envelope10
    {inch(4.5), inch(10.375)},   // 26 Envelope11
    {inch(4.75), inch(11)},      // 27 Envelope12
    {inch(5), inch(11.5)},       // 28 Envelope14
    {mm(250), mm(353)},          // 29 EnvelopeB4
    {mm(176), mm(250)},          // 30 EnvelopeB5
    {mm(125), mm(176)},          // 31 EnvelopeB6
    {mm(324), mm(458)},          // 32 EnvelopeC3
    {mm(229), mm(324)},          // 33 EnvelopeC4
    {mm(162), mm(229)},          // 34 EnvelopeC5
    {mm(114), mm(162)},          // 35 EnvelopeC6
    {mm(114), mm(229)},          // 36 EnvelopeC65
    {mm(110), mm(220)},          // 37 EnvelopeDL
    {mm(110), mm(230)},          // 38 EnvelopeItaly
    {inch(3.875), inch(7.5)},    // 39 EnvelopeMonarch
    {inch(3.625), inch(6.5)},    // 40 EnvelopePersonal
}};

}  // namespace

std::optional<PaperDimensions> paperDimensions(int32_t code) {
  if (code < 0 || code >= kCustomPaperSize) {
    return std::nullopt;
  }
  return kSizes[static_cast<size_t>(code)];
}

int32_t paperSizeCode(double width, double height, double tolerance) {
  const double shortSide = std::min(width, height);
  const double longSide = std::max(width, height);
  for (int32_t code = 0; code < kCustomPaperSize; ++code) {
    const PaperDimensions& size = kSizes[static_cast<size_t>(code)];
    if (std::abs(size.shortSide - shortSide) <= tolerance &&
        std::abs(size.longSide - longSide) <= tolerance) {
      return code;
    }
  }
  return kCustomPaperSize;
}

}  // namespace kelvara::word
