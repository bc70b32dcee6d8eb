#pragma once

#include "support/ScratchDir.h"

namespace kelvara::testing {

using TempDir = ScratchDir;

}  // namespace kelvara::testing
