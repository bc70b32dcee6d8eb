#pragma once

#include <string>

#include "wordstar/WordStarDocument.h"

namespace kelvara::wordstar {

// The document as RTF (7-bit, characters beyond ASCII as \uN): a fixed-pitch font of ten
// characters an inch on a Letter page with WordStar's default line of 65 characters, each
// section with its header and footer lines, paragraphs with their page breaks and centring,
// and runs of bold, italic, underline, strike-out, superscript and subscript.
std::string toRtf(const Document& document);

}  // namespace kelvara::wordstar
