#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara::word {

struct RtfParagraph {
  std::u32string text;
  long leftIndent = 0;  // twips, as the paragraph's \li, \fi and \ri give them
  long firstLineIndent = 0;
  long rightIndent = 0;
};

// The text of an RTF document as a reader shows it, for counting: body paragraphs, the lines
// of headers and footers, and the width of the page's text and of an average character.
struct RtfText {
  std::vector<RtfParagraph> body;
  std::vector<std::u32string> headings;  // headers and footers
  long textWidth = 8640;                 // twips
  long characterWidth = 120;

  // Characters that fit on a paragraph's first line and on its other lines (at least one).
  int firstLineWidth(const RtfParagraph& p) const;
  int lineWidth(const RtfParagraph& p) const;
};

// nullopt when the bytes are no RTF document ("{\rtf" missing). Groups left open end with the
// file. Text in destinations a reader never shows (font, colour and style tables, document
// information, pictures, field instructions, notes, bookmarks, optional "\*" groups) is left
// out; \par and \cell end paragraphs, \line breaks a line; \'hh is read in the document's
// code page (1252 or 437), \uN as Unicode, skipping its \ucN fallback characters.
std::optional<RtfText> rtfText(std::string_view rtf);

}  // namespace kelvara::word
