#include "config/Settings.h"

#include <algorithm>
#include <thread>

namespace kelvara::config {

int32_t DefaultEngines() {
  const auto cores = static_cast<int32_t>(std::thread::hardware_concurrency());
  return std::clamp(cores, 1, kMaxEngines);
}

}  // namespace kelvara::config
