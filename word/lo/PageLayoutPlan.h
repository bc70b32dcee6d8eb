#pragma once

#include <cstdint>
#include <string>

#include "word/DocumentEngine.h"

// Word's page values mapped onto a LibreOffice page style, in plain C++ so that the mapping and
// its checks are tested without an office.

namespace kelvara::word::lo {

// A page style's lengths in 1/100 mm, in LibreOffice's model: with a header on, top is the
// distance from the page edge to the header, and headerHeight (the header with its gap to the
// body) lies between it and the body; the footer mirrors it at the bottom. Word measures the top
// margin from the edge to the body and the header distance from the edge to the header.
struct StyleGeometry {
  int32_t width = 0;
  int32_t height = 0;
  int32_t top = 0;
  int32_t bottom = 0;
  int32_t left = 0;
  int32_t right = 0;
  int32_t gutter = 0;
  bool headerOn = false;
  bool footerOn = false;
  int32_t headerHeight = 0;
  int32_t footerHeight = 0;
  bool landscapeFlag = false;  // the style's own orientation flag, which imports may leave unset

  bool operator==(const StyleGeometry&) const = default;
};

// The smallest header or footer the office lays out; the rest of Word's gap between margin and
// header distance becomes the header's spacing to the body, which a growing header eats first.
inline constexpr int32_t kMinHeaderFooterHeight = 100;
// Where Word puts a footer that is switched on without a distance of its own (0.5 in).
inline constexpr double kDefaultFooterDistancePoints = 36;

int32_t hundredthsOfMmFromPoints(double points);
double pointsFromHundredthsOfMm(int32_t hundredths);

// Throws EngineError(Failed) for a code or choice outside Word's lists (paper size, orientation,
// vertical alignment).
void checkPageChoices(const PageSetupValues& values);

// The geometry after Word's values (points) are applied: the paper size oriented as the page
// will stand (the size's long side across a landscape page), the body where Word's margins put
// it, header and footer at Word's distances when they are on. A distance for a header or footer
// that is off has nowhere to go and leaves the page as it is. Throws EngineError(Failed), naming
// the value, for a length the page cannot take.
StyleGeometry planPageSetup(const StyleGeometry& current, const PageSetupValues& values,
                            bool gutterOnTop);

// The geometry with the footer switched on at the distance (1/100 mm) from the page edge, or
// nearer when the bottom margin is smaller, so that the body keeps its place.
StyleGeometry withFooterOn(const StyleGeometry& current, int32_t footerDistance);

}  // namespace kelvara::word::lo
