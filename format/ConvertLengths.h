#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "format/FormatParameterSet.h"

namespace kelvara::format {

// Converts, in place, every length of the set that the dialogs show in the display unit: the page
// sizes, margins and header and footer distances of both orientation records, the gutter and the
// paragraph indents. target 0, 1, 2 or 4 converts points into that unit; target 3 converts from
// measurementUnits back into points (nothing to do when that is points). Each result is rounded
// to the unit's step. Returns the message for the operator when nothing could be converted.
std::optional<std::string> ConvertLengths(FormatParameterSet& params, int target,
                                          int32_t measurementUnits);

}  // namespace kelvara::format
