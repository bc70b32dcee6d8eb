#include "wordstar/WordStarDocument.h"

namespace kelvara::wordstar {

std::u32string plainText(const Paragraph& paragraph) {
  std::u32string text;
  text.reserve(paragraph.cells.size());
  for (const Cell& c : paragraph.cells) {
    text.push_back(c.ch);
  }
  return text;
}

bool hasNoText(const Document& document) {
  auto empty = [](const std::vector<Paragraph>& paragraphs) {
    for (const Paragraph& p : paragraphs) {
      if (!p.cells.empty()) {
        return false;
      }
    }
    return true;
  };
  for (const Section& s : document.sections) {
    if (!empty(s.body) || !empty(s.header) || !empty(s.footer)) {
      return false;
    }
  }
  return true;
}

}  // namespace kelvara::wordstar
