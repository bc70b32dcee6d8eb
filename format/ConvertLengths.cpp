#include "format/ConvertLengths.h"

#include <functional>

#include "format/MeasurementUnits.h"

namespace kelvara::format {
namespace {

void forEachLength(FormatParameterSet& p, const std::function<void(double&)>& f) {
  for (PageSetupSet* s : {&p.Portrait, &p.Landscape}) {
    f(s->PageWidth);
    f(s->PageHeight);
    f(s->TopMargin);
    f(s->BottomMargin);
    f(s->LeftMargin);
    f(s->RightMargin);
    f(s->FooterDistance);
    f(s->HeaderDistance);
  }
  f(p.General.Gutter);
  f(p.Paragraph.ParagraphLeftIndent);
  f(p.Paragraph.ParagraphRightIndent);
  f(p.Paragraph.ParagraphFirstLineIndent);
}

}  // namespace

std::optional<std::string> ConvertLengths(FormatParameterSet& params, int target,
                                          int32_t measurementUnits) {
  if (target < 0 || target > kPicas) {
    return "Wrong measure conversion parameter " + std::to_string(target);
  }
  if (target == kPoints) {
    const MeasurementUnit* from = measurementUnit(measurementUnits);
    if (from == nullptr) {
      return "Wrong measure conversion parameter: " + std::to_string(target);
    }
    if (measurementUnits == kPoints) {
      return std::nullopt;
    }
    forEachLength(params, [from](double& v) {
      v = roundToStep(v * from->pointsPerUnit, from->roundingToPoints);
    });
    return std::nullopt;
  }
  const MeasurementUnit& to = *measurementUnit(target);
  forEachLength(params,
                [&to](double& v) { v = roundToStep(v / to.pointsPerUnit, to.roundingFromPoints); });
  return std::nullopt;
}

}  // namespace kelvara::format
