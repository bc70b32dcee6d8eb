#pragma once

#include <optional>

namespace kelvara::wordstar {

// The letter a printer makes of an accent struck over a letter ("e" and "'" give "é"), in
// either order; nullopt when the two make no letter.
std::optional<char32_t> composeOverprint(char32_t first, char32_t second);

}  // namespace kelvara::wordstar
