#pragma once

#include <cstdint>
#include <string>

namespace kelvara::metadata {

// Six characters for an attribute word, a letter where the bit is set and "-" where not, in the
// order directory "D", read-only "R", system "S", archive "A", all six low bits "*", hidden "H":
// a read-only archived file reads "-R-A--".
std::string AttributeText(uint32_t value);

}  // namespace kelvara::metadata
