#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvara::word {

// One paragraph as the office lays it out: its text and how many characters of a fixed pitch
// fit on its first line and on the lines after.
struct CountedParagraph {
  std::u32string text;
  int firstLineWidth = 80;
  int lineWidth = 80;
  bool inBody = true;  // header and footer lines count words and characters, not lines
};

struct TextCounts {
  int64_t words = 0;
  int64_t lines = 0;
  int64_t characters = 0;  // without white space
};

// Counts as the office's document statistics do: words are runs between white space (the
// no-break space included), further split by the en and em dashes and by runs of two or more
// hyphens, where a run at the start of a blank-separated token is a word itself ("a--b" and
// "--a" are two words, "-", "|" and "---" one); characters are those that are not white
// space; lines are the lines of the layout, wrapped at blanks (a word longer than a line is
// cut), one for an empty paragraph.
TextCounts countParagraphs(const std::vector<CountedParagraph>& paragraphs);

bool isCountWhitespace(char32_t ch);

// Lines a paragraph takes when wrapped at the given widths (at least one character each).
int64_t wrappedLines(const std::u32string& text, int firstLineWidth, int lineWidth);

}  // namespace kelvara::word
