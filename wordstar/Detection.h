#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "wordstar/WordStarDocument.h"

namespace kelvara::wordstar {

// True when the bytes start like the header of a 5-7 file (0x1D, length 125 as a 16-bit word).
bool startsWithExtendedHeader(std::string_view bytes);

// Whether the bytes are a WordStar file beyond reasonable doubt: the 128-byte header of 5-7, or
// for 3.x/4.x the marks the editor leaves in running text (the high bit on the last letter of
// words, soft carriage returns) with no letters carrying it inside words, as code-page text
// would have. Plain ASCII, UTF-8 and ordinary 8-bit text never qualify.
struct Detection {
  bool wordStar = false;
  Generation generation = Generation::Classic;
};
Detection detectWordStar(std::string_view bytes);

// Why the bytes cannot be read as WordStar at all (empty, another known format, binary data);
// nullopt when they can. Text without any WordStar marks is readable: WordStar's own
// non-document files are plain text.
std::optional<std::string> notWordStarReason(std::string_view bytes);

}  // namespace kelvara::wordstar
