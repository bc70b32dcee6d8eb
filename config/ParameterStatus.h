#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/Settings.h"
#include "format/FormatParameterSet.h"
#include "platform/Locale.h"

namespace kelvara::config {

// One entry of a check list of the status view: the parameter and whether it is applied.
struct StatusCheck {
  std::string text;
  bool checked = false;
};

// One row of the value grid.
struct StatusValue {
  std::string parameter;
  std::string value;
};

// Everything the parameters status view shows, as text, with the lengths in the display unit.
struct ParameterStatus {
  // Both orientation records are shown side by side (Diff.Vert/Horiz.Pag.Parms).
  bool twoRecords = false;
  std::string pageLabel;          // "Page", or "Portrait Page      Landscape Page"
  std::vector<StatusCheck> page;  // 17 items, or 27 with the Landscape record's ten after them
  std::vector<StatusCheck> paragraph;
  std::vector<StatusCheck> font;
  std::vector<StatusCheck> userData;
  std::vector<StatusCheck> revisions;
  bool revisionsShown = false;      // the engine has the revision options
  std::vector<StatusValue> values;  // the 47 rows of the grid
  // Why the lengths could not be converted into the display unit (then they are in points).
  std::optional<std::string> conversionMessage;
};

// The page list's ten geometry items, which both orientation records have.
inline constexpr size_t kGeometryItems = 10;

// Texts of the view for this parameter set. The set is not changed: the lengths are converted
// to settings.MeasurementUnits on a copy. wordVersion decides whether the revisions are shown.
ParameterStatus describeParameters(const format::FormatParameterSet& params,
                                   const Settings& settings, const std::string& wordVersion,
                                   const platform::Locale& locale);

}  // namespace kelvara::config
