#include "word/lo/PageLayoutPlan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "word/PaperSizes.h"

namespace kelvara::word::lo {
namespace {

// Page margins are held in twips in 16 bits by the office, which silently wraps larger ones.
constexpr int32_t kLargestMargin = 115593;  // 65535 twips
constexpr int32_t kLargestPage = 600000;    // 6 m
// Margins that leave less than this for the text are a mistake, not a layout.
constexpr int32_t kSmallestBody = 1000;

std::string points(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string out = text;
  while (out.back() == '0') {
    out.pop_back();
  }
  if (out.back() == '.') {
    out.pop_back();
  }
  return out + " pt";
}

std::string points(int32_t hundredths) {
  return points(pointsFromHundredthsOfMm(hundredths));
}

[[noreturn]] void refuse(const std::string& message) {
  throw EngineError(EngineError::Kind::Failed, message);
}

int32_t length(const char* name, double value, int32_t largest, const char* largestText) {
  if (!std::isfinite(value)) {
    refuse(std::string(name) + " is not a number");
  }
  if (value < 0) {
    refuse(std::string(name) + " " + points(value) + " is negative");
  }
  if (value > pointsFromHundredthsOfMm(largest)) {
    refuse(std::string(name) + " " + points(value) + " is larger than " + largestText);
  }
  return hundredthsOfMmFromPoints(value);
}

int32_t margin(const char* name, double value) {
  return length(name, value, kLargestMargin, "a margin can be (1155 mm)");
}

int32_t pageSide(const char* name, double value) {
  const int32_t side = length(name, value, kLargestPage, "a page can be (6 m)");
  if (side <= 0) {
    refuse(std::string(name) + " " + points(value) + " is no page size");
  }
  return side;
}

}  // namespace

int32_t hundredthsOfMmFromPoints(double points) {
  return static_cast<int32_t>(std::lround(points * 2540.0 / 72.0));
}

double pointsFromHundredthsOfMm(int32_t hundredths) {
  return hundredths * 72.0 / 2540.0;
}

void checkPageChoices(const PageSetupValues& values) {
  if (values.paperSize && (*values.paperSize < 0 || *values.paperSize > kCustomPaperSize)) {
    refuse("Paper size " + std::to_string(*values.paperSize) + " is no paper size code (0 to 41)");
  }
  if (values.orientation && *values.orientation != 0 && *values.orientation != 1) {
    refuse("Orientation " + std::to_string(*values.orientation) +
           " is neither portrait (0) nor landscape (1)");
  }
  if (values.verticalAlignment &&
      (*values.verticalAlignment < 0 || *values.verticalAlignment > 3)) {
    refuse("Vertical alignment " + std::to_string(*values.verticalAlignment) +
           " is no alignment (0 to 3)");
  }
}

StyleGeometry planPageSetup(const StyleGeometry& before, const PageSetupValues& values,
                            bool gutterOnTop) {
  checkPageChoices(values);
  // A footer switched on for page numbers starts at Word's default distance, the body where it
  // was; the values below then place both.
  const StyleGeometry current =
      values.footerOn.value_or(false)
          ? withFooterOn(before, hundredthsOfMmFromPoints(kDefaultFooterDistancePoints))
          : before;
  StyleGeometry next = current;

  const bool landscape =
      values.orientation ? *values.orientation == 1 : current.width > current.height;
  if (values.paperSize) {
    if (const auto paper = paperDimensions(*values.paperSize)) {
      const int32_t shortSide = hundredthsOfMmFromPoints(paper->shortSide);
      const int32_t longSide = hundredthsOfMmFromPoints(paper->longSide);
      next.width = landscape ? longSide : shortSide;
      next.height = landscape ? shortSide : longSide;
    }
  }
  if (values.pageWidth) {
    next.width = pageSide("Page width", *values.pageWidth);
  }
  if (values.pageHeight) {
    next.height = pageSide("Page height", *values.pageHeight);
  }
  if (values.orientation && (landscape ? next.width < next.height : next.width > next.height)) {
    std::swap(next.width, next.height);
  }

  // Word's margins reach from the edge to the body; with a header on, the office's top margin
  // reaches only to the header, and the header's height makes up the rest.
  const int32_t topToBody = current.top + (current.headerOn ? current.headerHeight : 0);
  const int32_t bottomToBody = current.bottom + (current.footerOn ? current.footerHeight : 0);
  const int32_t wordTop = values.topMargin ? margin("Top margin", *values.topMargin) : topToBody;
  const int32_t wordBottom =
      values.bottomMargin ? margin("Bottom margin", *values.bottomMargin) : bottomToBody;
  const std::optional<int32_t> headerDistance =
      values.headerDistance
          ? std::optional<int32_t>(margin("Header distance", *values.headerDistance))
          : std::nullopt;
  const std::optional<int32_t> footerDistance =
      values.footerDistance
          ? std::optional<int32_t>(margin("Footer distance", *values.footerDistance))
          : std::nullopt;
  if (current.headerOn) {
    next.top = headerDistance.value_or(current.top);
    next.headerHeight = std::max(wordTop - next.top, kMinHeaderFooterHeight);
  } else {
    next.top = wordTop;
  }
  if (current.footerOn) {
    next.bottom = footerDistance.value_or(current.bottom);
    next.footerHeight = std::max(wordBottom - next.bottom, kMinHeaderFooterHeight);
  } else {
    next.bottom = wordBottom;
  }
  if (values.leftMargin) {
    next.left = margin("Left margin", *values.leftMargin);
  }
  if (values.rightMargin) {
    next.right = margin("Right margin", *values.rightMargin);
  }
  if (values.gutter) {
    next.gutter = margin("Gutter", *values.gutter);
  }

  for (const auto& [name, distance] : {std::pair{"Header distance", values.headerDistance},
                                       std::pair{"Footer distance", values.footerDistance}}) {
    if (distance && hundredthsOfMmFromPoints(*distance) >= next.height) {
      refuse(std::string(name) + " " + points(*distance) + " does not fit on a page " +
             points(next.height) + " high");
    }
  }

  if (next == before) {
    return next;  // a page the document already had is not ours to judge
  }
  const int32_t topGutter = gutterOnTop ? next.gutter : 0;
  const int32_t sideGutter = gutterOnTop ? 0 : next.gutter;
  const int32_t above = next.top + (next.headerOn ? next.headerHeight : 0);
  const int32_t below = next.bottom + (next.footerOn ? next.footerHeight : 0);
  // Messages name the values as they were given, not as the office rounds them.
  auto shown = [](const std::optional<double>& given, int32_t held) {
    return given ? points(*given) : points(held);
  };
  auto withGutter = [&](int32_t gutter) {
    return gutter > 0 ? " with a gutter of " + shown(values.gutter, gutter) : std::string();
  };
  if (static_cast<int64_t>(above) + below + topGutter + kSmallestBody > next.height) {
    refuse("Top margin " + shown(values.topMargin, wordTop) + " and bottom margin " +
           shown(values.bottomMargin, wordBottom) + withGutter(topGutter) +
           " leave less than 1 cm for the text on a page " + shown(values.pageHeight, next.height) +
           " high");
  }
  if (static_cast<int64_t>(next.left) + next.right + sideGutter + kSmallestBody > next.width) {
    refuse("Left margin " + shown(values.leftMargin, next.left) + " and right margin " +
           shown(values.rightMargin, next.right) + withGutter(sideGutter) +
           " leave less than 1 cm for the text on a page " + shown(values.pageWidth, next.width) +
           " wide");
  }
  return next;
}

StyleGeometry withFooterOn(const StyleGeometry& current, int32_t footerDistance) {
  if (current.footerOn) {
    return current;
  }
  StyleGeometry next = current;
  next.footerOn = true;
  next.bottom = std::clamp(footerDistance, 0, std::max(current.bottom - kMinHeaderFooterHeight, 0));
  next.footerHeight = std::max(current.bottom - next.bottom, kMinHeaderFooterHeight);
  return next;
}

}  // namespace kelvara::word::lo
