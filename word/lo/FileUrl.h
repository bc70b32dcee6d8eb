#pragma once

#include <string>

namespace kelvara::word::lo {

// "file://" URL of a path: made absolute, every byte outside the unreserved set and "/"
// percent-encoded (UTF-8 names stay byte-exact).
std::string fileUrlFromPath(const std::string& path);

}  // namespace kelvara::word::lo
