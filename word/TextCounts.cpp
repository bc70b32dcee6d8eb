#include "word/TextCounts.h"

#include <algorithm>

namespace kelvara::word {
namespace {

// A tab reaches the next stop; the office's default stops lie about five characters apart.
constexpr int64_t kTabStop = 5;

}  // namespace

bool isCountWhitespace(char32_t ch) {
  switch (ch) {
    case U' ':
    case U'\t':
    case U'\n':
    case U'\r':
    case U'\v':
    case U'\f':
    case U'\u00A0':
    case U'\u1680':
    case U'\u2028':
    case U'\u2029':
    case U'\u202F':
    case U'\u205F':
    case U'\u3000':
      return true;
    default:
      return ch >= U'\u2000' && ch <= U'\u200A';
  }
}

int64_t wrappedLines(const std::u32string& text, int firstLineWidth, int lineWidth) {
  const int64_t first = std::max(1, firstLineWidth);
  const int64_t rest = std::max(1, lineWidth);
  int64_t lines = 1;
  int64_t width = first;
  int64_t column = 0;  // characters on the current line
  size_t i = 0;
  auto newLine = [&] {
    ++lines;
    width = rest;
    column = 0;
  };
  while (i < text.size()) {
    if (text[i] == U' ') {
      ++column;  // blanks hang at the end of a line and never wrap it
      ++i;
      continue;
    }
    if (text[i] == U'\n') {
      newLine();  // a line break inside the paragraph
      ++i;
      continue;
    }
    if (text[i] == U'\t') {
      column = (column / kTabStop + 1) * kTabStop;
      if (column > width) {
        newLine();
      }
      ++i;
      continue;
    }
    size_t end = i;
    while (end < text.size() && text[end] != U' ' && text[end] != U'\t' && text[end] != U'\n') {
      ++end;
    }
    int64_t length = static_cast<int64_t>(end - i);
    if (column > 0 && column + length > width) {
      newLine();
    }
    while (length > width - column) {  // a word longer than the line is cut
      length -= width - column;
      newLine();
    }
    column += length;
    i = end;
  }
  return lines;
}

namespace {

// Words of one blank-separated token: the en and em dashes and runs of two or more hyphens
// separate the words inside it, except that a run at its start is a word of its own ("---",
// "--a" is two words).
int64_t wordsOfToken(const std::u32string& text, size_t begin, size_t end) {
  auto inHyphenRun = [&](size_t i) {
    return text[i] == U'-' &&
           ((i > begin && text[i - 1] == U'-') || (i + 1 < end && text[i + 1] == U'-'));
  };
  int64_t words = 0;
  size_t i = begin;
  if (inHyphenRun(i)) {
    ++words;
    while (i < end && text[i] == U'-') {
      ++i;
    }
  }
  bool inWord = false;
  for (; i < end; ++i) {
    const bool separator = text[i] == U'\u2013' || text[i] == U'\u2014' || inHyphenRun(i);
    if (!separator && !inWord) {
      ++words;
    }
    inWord = !separator;
  }
  return words;
}

}  // namespace

TextCounts countParagraphs(const std::vector<CountedParagraph>& paragraphs) {
  TextCounts counts;
  for (const CountedParagraph& p : paragraphs) {
    const std::u32string& text = p.text;
    size_t i = 0;
    while (i < text.size()) {
      if (isCountWhitespace(text[i])) {
        ++i;
        continue;
      }
      size_t end = i;
      while (end < text.size() && !isCountWhitespace(text[end])) {
        ++end;
      }
      counts.words += wordsOfToken(text, i, end);
      counts.characters += static_cast<int64_t>(end - i);
      i = end;
    }
    if (p.inBody) {
      counts.lines += wrappedLines(p.text, p.firstLineWidth, p.lineWidth);
    }
  }
  return counts;
}

}  // namespace kelvara::word
