#pragma once

namespace kelvara::wordstar {

// The character the IBM PC's code page 437 shows for a byte, control bytes included (they are
// printable glyphs when a document asks for them by code).
char32_t cp437ToUnicode(unsigned char byte);

}  // namespace kelvara::wordstar
