#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvara::wordstar {

// Character formatting a reader notices, as bits of Cell::attrs.
namespace attr {
constexpr uint16_t kBold = 1;
constexpr uint16_t kItalic = 2;
constexpr uint16_t kUnderline = 4;
constexpr uint16_t kStrikeOut = 8;
constexpr uint16_t kSuperscript = 16;
constexpr uint16_t kSubscript = 32;
}  // namespace attr

// Stands for the page number in a header or footer line ("#" there); private use, so no text
// of a document can mean it.
constexpr char32_t kPageNumber = 0xE000;

struct Cell {
  char32_t ch = U' ';
  uint16_t attrs = 0;
  bool operator==(const Cell&) const = default;
};

struct Paragraph {
  std::vector<Cell> cells;
  bool pageBreakBefore = false;
  bool centred = false;
  // Left indent and first-line offset, in characters: the margin WordStar kept with soft
  // spaces at the start of each printed line.
  int indent = 0;
  int firstLineOffset = 0;
};

// A run of pages under one header and footer. A header or footer set after text has started
// begins a new section, since it only applies to the pages that follow.
struct Section {
  std::vector<Paragraph> header;  // one paragraph per header line
  std::vector<Paragraph> footer;
  std::vector<Paragraph> body;
};

enum class Generation {
  Classic,   // 3.x and 4.x (CP/M and DOS): high bit on word ends, no file header
  Extended,  // 5 to 7: a 128-byte header and 0x1D sequences
};

struct Document {
  Generation generation = Generation::Classic;
  std::vector<Section> sections;
};

// The text of a paragraph, its page-number marks included.
std::u32string plainText(const Paragraph& paragraph);

// True when the document has no character in its bodies, headers or footers.
bool hasNoText(const Document& document);

}  // namespace kelvara::wordstar
