#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "wordstar/WordStarDocument.h"

namespace kelvara::wordstar {

// A WordStar file read into paragraphs of formatted characters, or why it cannot be.
struct DecodeResult {
  std::optional<Document> document;
  std::string error;  // set when document is empty
};

// Reads the bytes of a WordStar file (3.x/4.x of CP/M and DOS, or 5 to 7):
// - Paragraphs end at hard carriage returns; soft carriage returns (the editor's word wrap)
//   join their lines, and soft spaces (justification, margins) are dropped.
// - 3.x/4.x: the high bit marks the last letter of a word and is cleared; 5-7: a byte with the
//   high bit is a letter of code page 437. Both: 0x1B, a byte, 0x1C is that byte's character
//   of code page 437.
// - Print controls toggle bold (and double strike), underline, italic, strike-out,
//   superscript and subscript; they are reset at each hard return. The overprint code
//   combines an accent with its letter; a carriage return without a line feed prints the next
//   line over the current one (underscores underline, accents combine).
// - Dot commands: page breaks, headers and footers ("#" is the page number), centring on and
//   off; the others are dropped.
// - 5-7: the header and every 0x1D sequence are skipped by their length; one that runs past
//   the end of the file or does not close with 0x1D is an error, as are an empty file, another
//   known format and a file without any text.
// Reading stops at the end-of-file mark (0x1A) outside sequences.
DecodeResult decodeWordStar(std::string_view bytes);

}  // namespace kelvara::wordstar
